#include "widgets/KBAwareEdit.h"

#include "core/PrivateMessages.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "widgets/KbLayoutHandle.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMenu>
#include <memory>

namespace {

// Keys a grid editor leaves to its key hook only.
bool IsGridKey(int key)
{
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return
            || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace

TKBAwareEdit::TKBAwareEdit(QWidget *parent)
    : QLineEdit(parent)
    , FKbLayout(KbLayouts::StartupLayout())
{
    FollowDesktopLayoutSwitches();
}

void TKBAwareEdit::SetKbLayout(const KbLayout &layout)
{
    if (!KbKeymap::Of(layout))
        return;
    FKbLayout = layout;
    Activate();
}

void TKBAwareEdit::SetKbLayout(intptr_t layoutHandle)
{
    SetKbLayout(KbLayoutOfHandle(layoutHandle));
}

void TKBAwareEdit::requestKbLayout(const KbLayout &layout)
{
    if (!KbKeymap::Of(layout))
        return;
    FKbLayout = layout;
    Activate();
    QObject *receiver = LayoutReceiver ? LayoutReceiver.data() : parentWidget();
    SendPrivateMessage(receiver, WM_KBLAYOUTCHANGED, reinterpret_cast<intptr_t>(this),
                       KbLayoutHandle(layout));
}

void TKBAwareEdit::Activate()
{
    KbLayouts::ActivateKeyboardLayout(FKbLayout);
    Keys.Reset();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

QMenu *TKBAwareEdit::CreateContextMenu()
{
    QMenu *menu = createStandardContextMenu();
    menu->addSeparator();
    AddKbLayoutMenu(*menu, this, FKbLayout,
                    [this](const KbLayout &layout) { requestKbLayout(layout); });
    return menu;
}

bool TKBAwareEdit::event(QEvent *event)
{
    return Keys.Event(*event, !AcceptAllKeys, [this](QKeyEvent &key) { keyPressEvent(&key); })
            || QLineEdit::event(event);
}

void TKBAwareEdit::focusInEvent(QFocusEvent *event)
{
    Activate();
    QLineEdit::focusInEvent(event);
    emit entered();
}

void TKBAwareEdit::keyPressEvent(QKeyEvent *event)
{
    TKBAwareKeys::TRules rules;
    rules.Swallows = [this](const QKeyEvent &key, QChar) {
        return !AcceptAllKeys && IsGridKey(key.key());
    };
    rules.CodePage = CodePage;
    Keys.KeyPress(*this, *event, rules, {OnKeyDown, OnKeyPress},
                  [this](QKeyEvent &key) { QLineEdit::keyPressEvent(&key); });
}

void TKBAwareEdit::keyReleaseEvent(QKeyEvent *event)
{
    if (Keys.KeyRelease(*event, CodePage))
        requestKbLayout(NextOfferedLayout(FKbLayout));
    QLineEdit::keyReleaseEvent(event);
}

void TKBAwareEdit::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu(CreateContextMenu());
    menu->exec(event->globalPos());
}

QVariant TKBAwareEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled && TKbTyping::Translating())
        return false;
    return QLineEdit::inputMethodQuery(query);
}
