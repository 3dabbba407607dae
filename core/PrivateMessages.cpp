#include "core/PrivateMessages.h"

#include <QCoreApplication>

TMessageEvent::TMessageEvent(int message, intptr_t wParam, intptr_t lParam)
    : QEvent(static_cast<QEvent::Type>(message))
    , WParam(wParam)
    , LParam(lParam)
{ }

void SendPrivateMessage(QObject *receiver, int message, intptr_t wParam, intptr_t lParam)
{
    if (!receiver)
        return;
    TMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
}
