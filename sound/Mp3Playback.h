#pragma once

#include <cstdint>
#include <functional>
#include <string>

class IXaudioPlayer;

// Drives the MP3 player through the playback of one file and keeps the shared flags Mp3InputOpen
// and Mp3Playing as it goes:
//   InputOpen -> Ack 7: InputSeek(0, 1), Play -> Ack 3 -> state stopped or end of stream:
//   OutputDrain, Ping(1) -> Pong 1: InputClose -> Ack 8: OutputClose -> Ack 17.
// Its user (the grid, the exercise window) fills in the steps where it has something to do; an
// empty step does nothing more than the sequence itself. Everything runs on the GUI thread.
class TMp3Playback
{
public:
    // What follows the input's opening.
    enum class TOpened : uint8_t {
        // The file plays.
        Play,
        // The input counts as open and is closed again unheard.
        Close,
        // The file was only tried: it is closed again without being counted as open.
        Tried,
    };

    // Ack 7; the answer says what follows. Empty: the file plays.
    std::function<TOpened()> InputOpened;
    // Ack 3, after Mp3Playing was set.
    std::function<void()> Playing;
    // Pong 1: the drained output has played out. Mp3Playing is cleared and the input closed
    // after it.
    std::function<void()> PlayedOut;
    // Ack 8; true (or empty) closes the output.
    std::function<bool()> InputClosed;
    // Ack 17, after Mp3InputOpen was cleared.
    std::function<void()> OutputClosed;
    // Nack of a command.
    std::function<void(uint8_t command)> Refused;
    // The output device did not open (the sound plays on unheard).
    std::function<void(const std::string &device, const std::string &reason)> DeviceFailed;

    TMp3Playback() = default;
    TMp3Playback(const TMp3Playback &) = delete;
    TMp3Playback &operator=(const TMp3Playback &) = delete;
    ~TMp3Playback();

    // Binds the player's notifications to the sequence; nullptr unbinds the one bound before.
    void SetPlayer(IXaudioPlayer *player);
    IXaudioPlayer *Player() const { return XAPlayer; }

    // Asks the player to open the file; false without a player.
    bool Open(const std::string &fileName);
    // Stops a playback early: Stop while playing, InputClose while an input is open. The
    // acknowledgements then finish the sequence.
    void Stop();
    // For a user that goes away in the middle: stops and closes everything, clears both flags at
    // once and unbinds, since no acknowledgement will reach the user any more.
    void Abandon();

private:
    void Ack(uint8_t command);
    void Pong(uint32_t tag);
    void PlayerState(int state);

    IXaudioPlayer *XAPlayer = nullptr;
};
