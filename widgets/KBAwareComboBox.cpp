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
    Keys.Reset();
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
    return Keys.Event(*event, true, [this](QKeyEvent &key) { keyPressEvent(&key); })
            || QComboBox::event(event);
}

void TKBAwareComboBox::focusInEvent(QFocusEvent *event)
{
    Activate();
    QComboBox::focusInEvent(event);
    emit entered();
}

void TKBAwareComboBox::keyPressEvent(QKeyEvent *event)
{
    TKBAwareKeys::TRules rules;
    // Tab, and Enter while the list is closed, do nothing further in the combo.
    rules.Swallows = [this](const QKeyEvent &, QChar typed) {
        return typed == QChar(9) || (typed == QChar(13) && !IsDroppedDown());
    };
    rules.CodePage = CodePage;
    rules.ChecksTyped = isEditable();
    Keys.KeyPress(*this, *event, rules, {OnKeyDown, OnKeyPress},
                  [this](QKeyEvent &key) { QComboBox::keyPressEvent(&key); });
}

void TKBAwareComboBox::keyReleaseEvent(QKeyEvent *event)
{
    if (Keys.KeyRelease(*event, CodePage))
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
