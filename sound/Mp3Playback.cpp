#include "sound/Mp3Playback.h"

#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"

namespace {

// The tag of the ping that tells a drained output has played out.
constexpr uint32_t PlayedOutTag = 1;

} // namespace

TMp3Playback::~TMp3Playback()
{
    SetPlayer(nullptr);
}

void TMp3Playback::SetPlayer(IXaudioPlayer *player)
{
    if (XAPlayer) {
        XAPlayer->OnNotifyAck = nullptr;
        XAPlayer->OnNotifyNack = nullptr;
        XAPlayer->OnNotifyPong = nullptr;
        XAPlayer->OnNotifyPlayerState = nullptr;
        XAPlayer->OnNotifyError = nullptr;
    }
    XAPlayer = player;
    if (!XAPlayer)
        return;
    XAPlayer->OnNotifyAck = [this](uint8_t command) { Ack(command); };
    XAPlayer->OnNotifyNack = [this](uint8_t command, int16_t) {
        if (Refused)
            Refused(command);
    };
    XAPlayer->OnNotifyPong = [this](uint32_t tag) { Pong(tag); };
    XAPlayer->OnNotifyPlayerState = [this](int state) { PlayerState(state); };
    XAPlayer->OnNotifyError = [this](const std::string &device, const std::string &reason) {
        if (DeviceFailed)
            DeviceFailed(device, reason);
    };
}

bool TMp3Playback::Open(const std::string &fileName)
{
    if (!XAPlayer)
        return false;
    XAPlayer->InputOpen(fileName);
    return true;
}

void TMp3Playback::Stop()
{
    if (!XAPlayer)
        return;
    if (Mp3Playing)
        XAPlayer->Stop();
    if (Mp3InputOpen)
        XAPlayer->InputClose();
}

void TMp3Playback::Abandon()
{
    if (!XAPlayer)
        return;
    if (Mp3Playing || Mp3InputOpen) {
        Stop();
        XAPlayer->OutputClose();
        Mp3Playing = false;
        Mp3InputOpen = false;
    }
    SetPlayer(nullptr);
}

void TMp3Playback::Ack(uint8_t command)
{
    switch (command) {
    case IXaudioPlayer::cmdInputOpen: {
        const TOpened next = InputOpened ? InputOpened() : TOpened::Play;
        if (next != TOpened::Tried)
            Mp3InputOpen = true;
        if (next != TOpened::Play) {
            XAPlayer->InputClose();
            break;
        }
        XAPlayer->InputSeek(0, 1);
        XAPlayer->Play();
        break;
    }
    case IXaudioPlayer::cmdPlay:
        Mp3Playing = true;
        if (Playing)
            Playing();
        break;
    case IXaudioPlayer::cmdInputClose:
        if (!InputClosed || InputClosed())
            XAPlayer->OutputClose();
        break;
    case IXaudioPlayer::cmdOutputClose:
        Mp3InputOpen = false;
        if (OutputClosed)
            OutputClosed();
        break;
    default:
        break;
    }
}

void TMp3Playback::Pong(uint32_t tag)
{
    if (tag != PlayedOutTag)
        return;
    if (PlayedOut)
        PlayedOut();
    Mp3Playing = false;
    XAPlayer->InputClose();
}

void TMp3Playback::PlayerState(int state)
{
    if (state != IXaudioPlayer::StateStopped && state != IXaudioPlayer::StateEndOfStream)
        return;
    XAPlayer->OutputDrain();
    XAPlayer->Ping(PlayedOutTag);
}
