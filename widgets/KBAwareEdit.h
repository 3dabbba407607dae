#pragma once

#include "platform/CodePage.h"
#include "platform/KbLayout.h"
#include "widgets/KBAwareKeys.h"

#include <QLineEdit>
#include <QPointer>
#include <cstdint>
#include <functional>

// A single-line edit with a keyboard layout of its own, activated whenever the edit receives the
// focus. A layout chosen from its context menu, or with the desktop's switcher while the edit has
// the focus, is kept and announced with WM_KBLAYOUTCHANGED.
class QMenu;

class TKBAwareEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TKBAwareEdit(QWidget *parent = nullptr);

    const KbLayout &GetKbLayout() const { return FKbLayout; }
    // Keeps the layout and activates it at once, with or without the focus. A layout that does
    // not compile changes nothing.
    void SetKbLayout(const KbLayout &layout);
    void SetKbLayout(intptr_t layoutHandle);
    // The user asked for another layout: keep it, activate it and tell the layout receiver, also
    // when it equals the old one. Refused when the layout does not compile.
    void requestKbLayout(const KbLayout &layout);
    // The standard edit menu with the keyboard-layout submenu; the caller owns it.
    QMenu *CreateContextMenu();

    // False: a grid editor, which takes Tab itself and does nothing with Tab, Enter, Up and Down
    // after its key hooks saw them. True: behaves like a plain edit in a dialog.
    bool AcceptAllKeys = false;
    // The code page of the field's text; typed characters it cannot hold are refused.
    int CodePage = CodePage::Default;
    // Receives WM_KBLAYOUTCHANGED; the parent widget when none is set.
    QPointer<QObject> LayoutReceiver;

    // Runs before the edit handles a key press; true means the key was handled and the edit does
    // nothing further with it.
    std::function<bool(QKeyEvent &event)> OnKeyDown;
    // Sees the typed character (Tab as 9, Enter as 13) before the edit inserts it; setting it to
    // 0 drops it.
    std::function<void(QChar &key)> OnKeyPress;

    // Input methods are off while the control translates its keys itself.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // After the edit received the focus, under its own layout.
    void entered();

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void Activate();

    KbLayout FKbLayout;
    TKBAwareKeys Keys;
};
