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
#include <optional>

namespace {

bool IsTabKey(const QKeyEvent &event)
{
    return (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab)
            && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

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
    Typing.Reset();
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
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!AcceptAllKeys && IsTabKey(*key)) {
            keyPressEvent(key);
            return true;
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        // Typed characters must not start menu mnemonics when the desktop's AltGr is an Alt.
        if (Typing.TypesText(*static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TKBAwareEdit::focusInEvent(QFocusEvent *event)
{
    Activate();
    QLineEdit::focusInEvent(event);
    emit entered();
}

void TKBAwareEdit::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    Typing.CycleRequested(*event);
    const TKbTyping::TResult typed = Typing.Translate(*event, CodePage);
    std::optional<QKeyEvent> translated;
    if (typed.Kind == TKbTyping::TKind::Translated)
        RetypeKeyEvent(translated, *event, typed.Text);
    QKeyEvent &key = translated ? *translated : *event;
    const bool wasVisible = isVisible();
    const bool hadFocus = hasFocus();
    // The hook may move to another cell: this control is then closed and types nothing.
    const auto closed = [&] { return (wasVisible && !isVisible()) || (hadFocus && !hasFocus()); };
    bool zeroed = OnKeyDown && OnKeyDown(key);
    if (closed() || typed.Kind == TKbTyping::TKind::Composing)
        return;
    if (!AcceptAllKeys && IsGridKey(key.key()))
        zeroed = true;
    QChar c = TypedChar(key);
    if (!c.isNull() && OnKeyPress) {
        const QChar before = c;
        OnKeyPress(c);
        if (c.isNull() || closed())
            return;
        if (c != before && !zeroed)
            RetypeKeyEvent(translated, key, QString(c));
    }
    if (zeroed)
        return;
    QKeyEvent &final = translated ? *translated : *event;
    if (!final.text().isEmpty() && !AcceptTyped(final.text(), CodePage))
        return;
    final.setAccepted(false);
    QLineEdit::keyPressEvent(&final);
    event->setAccepted(final.isAccepted());
}

void TKBAwareEdit::keyReleaseEvent(QKeyEvent *event)
{
    Typing.Translate(*event, CodePage);
    if (Typing.CycleRequested(*event))
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
