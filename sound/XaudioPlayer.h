#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The asynchronous MP3 player as its users drive it: every command posts a control message and
// returns the player's answer; the player's acknowledgements, pongs and state changes come back
// later, on the GUI thread, through the notification events. Playing one file:
//   InputOpen -> Ack 7 -> InputSeek(0, 1), Play -> Ack 3 -> player state 0 or 3 -> OutputDrain,
//   Ping(1) -> Pong 1 -> InputClose -> Ack 8 -> OutputClose -> Ack 17.
class IXaudioPlayer
{
public:
    // Command codes as the acknowledgements name them.
    enum TCommand : uint8_t {
        cmdPing = 2,
        cmdPlay = 3,
        cmdStop = 5,
        cmdInputSeek = 6,
        cmdInputOpen = 7,
        cmdInputClose = 8,
        cmdOutputClose = 17,
        cmdOutputDrain = 22,
    };
    // Player states that end a playback.
    static constexpr int StateStopped = 0;
    static constexpr int StateEndOfStream = 3;

    virtual ~IXaudioPlayer() = default;

    virtual int Ping(uint32_t tag) = 0;
    virtual int Play() = 0;
    virtual int Stop() = 0;
    virtual int InputSeek(int offset, int range) = 0;
    virtual int InputOpen(const std::string &fileName) = 0;
    virtual int InputClose() = 0;
    virtual int OutputClose() = 0;
    virtual int OutputDrain() = 0;

    std::function<void(uint8_t command)> OnNotifyAck;
    std::function<void(uint32_t tag)> OnNotifyPong;
    std::function<void(int state)> OnNotifyPlayerState;
};
