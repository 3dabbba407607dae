#include "platform/ButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>

bool TEnterPressesButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button || !button->isEnabled())
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    // The keypad's Enter carries the keypad flag; a real modifier keeps the key for shortcuts.
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    button->click();
    return true;
}
