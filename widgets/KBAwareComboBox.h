#pragma once

#include "platform/CodePage.h"
#include "platform/KbLayout.h"
#include "widgets/KBAwareKeys.h"

#include <QComboBox>
#include <QPointer>
#include <functional>

class QMenu;

// The combo-box twin of the keyboard-aware edit: it keeps a layout of its own, activates it on
// receiving the focus, and always takes Tab itself.
class TKBAwareComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TKBAwareComboBox(QWidget *parent = nullptr);

    const KbLayout &GetKbLayout() const { return FKbLayout; }
    // The user asked for another layout: keep it, activate it and tell the layout receiver, also
    // when it equals the old one. Refused when the layout does not compile.
    void requestKbLayout(const KbLayout &layout);
    // The edit menu of an editable combo (else an empty one) with the keyboard-layout submenu;
    // the caller owns it.
    QMenu *CreateContextMenu();

    bool IsDroppedDown() const;

    int CodePage = CodePage::Default;
    QPointer<QObject> LayoutReceiver;
    std::function<bool(QKeyEvent &event)> OnKeyDown;
    std::function<void(QChar &key)> OnKeyPress;

    // Input methods are off while the control translates its keys itself.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
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
