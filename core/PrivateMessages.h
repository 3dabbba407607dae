#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

// The program's private window messages keep their numbers as event types. Each is sent at once
// to a receiver named by the sender, and handled before the send returns.
constexpr int WM_APP = 0x8000;
constexpr int WM_KBLAYOUTCHANGED = WM_APP + 400;
constexpr int WM_GRIDBUSY = WM_APP + 408;
constexpr int WM_WORDCOUNTCHANGED = WM_APP + 409;
constexpr int WM_FILESTHREADDONE = WM_APP + 410;

class TMessageEvent : public QEvent
{
public:
    TMessageEvent(int message, intptr_t wParam, intptr_t lParam);

    int Message() const { return static_cast<int>(type()); }

    const intptr_t WParam;
    const intptr_t LParam;
};

// Delivers the message synchronously; nothing happens when receiver is null.
void SendPrivateMessage(QObject *receiver, int message, intptr_t wParam, intptr_t lParam);
