#include "widgets/KBAwareComboBox.h"

#include "core/PrivateMessages.h"
#include "platform/KbKeymap.h"
#include "platform/KeyboardLayouts.h"
#include "widgets/KbLayoutHandle.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <memory>
#include <optional>

TKBAwareComboBox::TKBAwareComboBox(QWidget *parent)
    : QComboBox(parent)
    , FKbLayout(KbLayouts::StartupLayout())
{
    FollowDesktopLayoutSwitches();
}

bool TKBAwareComboBox::IsDroppedDown() const
{
    return view() && view()->isVisible();
}

void TKBAwareComboBox::requestKbLayout(const KbLayout &layout)
{
    if (!KbKeymap::Of(layout))
        return;
    FKbLayout = layout;
    Activate();
    QObject *receiver = LayoutReceiver ? LayoutReceiver.data() : parentWidget();
    SendPrivateMessage(receiver, WM_KBLAYOUTCHANGED, reinterpret_cast<intptr_t>(this),
                       KbLayoutHandle(layout));
}

void TKBAwareComboBox::Activate()
{
    KbLayouts::ActivateKeyboardLayout(FKbLayout);
    Typing.Reset();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

QMenu *TKBAwareComboBox::CreateContextMenu()
{
    QMenu *menu = lineEdit() ? lineEdit()->createStandardContextMenu() : new QMenu;
    menu->addSeparator();
    AddKbLayoutMenu(*menu, this, FKbLayout,
                    [this](const KbLayout &layout) { requestKbLayout(layout); });
    return menu;
}

bool TKBAwareComboBox::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        if (Typing.TypesText(*static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
    }
    return QComboBox::event(event);
}

void TKBAwareComboBox::focusInEvent(QFocusEvent *event)
{
    Activate();
    QComboBox::focusInEvent(event);
    emit entered();
}

void TKBAwareComboBox::keyPressEvent(QKeyEvent *event)
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
    const bool zeroed = OnKeyDown && OnKeyDown(key);
    if (closed() || typed.Kind == TKbTyping::TKind::Composing)
        return;
    QChar c = TypedChar(key);
    if (!c.isNull() && OnKeyPress) {
        const QChar before = c;
        OnKeyPress(c);
        if (c.isNull() || closed())
            return;
        if (c != before && !zeroed)
            RetypeKeyEvent(translated, key, QString(c));
    }
    // Tab, and Enter while the list is closed, do nothing further in the combo.
    if (zeroed || c == QChar(9) || (c == QChar(13) && !IsDroppedDown()))
        return;
    QKeyEvent &final = translated ? *translated : *event;
    if (isEditable() && !final.text().isEmpty() && !AcceptTyped(final.text(), CodePage))
        return;
    final.setAccepted(false);
    QComboBox::keyPressEvent(&final);
    event->setAccepted(final.isAccepted());
}

void TKBAwareComboBox::keyReleaseEvent(QKeyEvent *event)
{
    Typing.Translate(*event, CodePage);
    if (Typing.CycleRequested(*event))
        requestKbLayout(NextOfferedLayout(FKbLayout));
    QComboBox::keyReleaseEvent(event);
}

void TKBAwareComboBox::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu(CreateContextMenu());
    menu->exec(event->globalPos());
}

QVariant TKBAwareComboBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled && TKbTyping::Translating())
        return false;
    return QComboBox::inputMethodQuery(query);
}
