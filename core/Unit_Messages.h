#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <cstdint>

// The trainer's private window messages. Each keeps its number as a custom event type and is
// delivered synchronously to a receiver that the sender names explicitly.
constexpr int WM_APP = 0x8000;
constexpr int WM_KBLAYOUTCHANGED = WM_APP + 400;
constexpr int WM_PARTSREADY = WM_APP + 407;
constexpr int WM_GRIDBUSY = WM_APP + 408;
constexpr int WM_WORDCOUNTCHANGED = WM_APP + 409;
// wParam: the finished action, 0 open, 1 save, 2 import, 3 export.
constexpr int WM_FILESTHREADDONE = WM_APP + 410;

class TMessageEvent : public QEvent
{
public:
    TMessageEvent(int message, intptr_t wParam, intptr_t lParam)
        : QEvent(static_cast<QEvent::Type>(message))
        , WParam(wParam)
        , LParam(lParam)
    { }

    int Message() const { return static_cast<int>(type()); }

    const intptr_t WParam;
    const intptr_t LParam;
};

// Delivers the message before returning; nothing happens without a receiver.
inline void SendMessage(QObject *receiver, int message, intptr_t wParam = 0, intptr_t lParam = 0)
{
    if (!receiver)
        return;
    TMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
}
