#include "sound/XaudioPlayer.h"

#include "core/Unit_Warnings.h"

#include <QString>

namespace {

// The component's two fixed failure texts, in English as the library gives them.
QString MismatchText(uint32_t version)
{
    const uint32_t major = (version >> 16) & 0xFF;
    const uint32_t minor = (version >> 8) & 0xFF;
    return QStringLiteral("Xaudio DLL API Mismatch\rExpected %1,%2\rGot %3,%4")
            .arg(XA_API_MAJOR)
            .arg(XA_API_MINOR)
            .arg(major)
            .arg(minor);
}

constexpr int AsyncInterface = 2;

} // namespace

TXaudioPlayer::TXaudioPlayer(QObject *owner)
    : QObject(owner)
{
    const uint32_t version = xaudio_get_api_version(AsyncInterface);
    if (((version >> 16) & 0xFF) != XA_API_MAJOR || ((version >> 8) & 0xFF) != XA_API_MINOR)
        ShowError(TShownText(MismatchText(version)));
    if (player_new(&Player, this) != XA_SUCCESS)
        ShowError(TShownText(QStringLiteral("Cannot Start Xaudio Player")));
}

// The player's thread ends before the object does, so no notice is posted to a dead receiver;
// those still pending are dropped with the object.
TXaudioPlayer::~TXaudioPlayer()
{
    player_delete(Player);
}

std::function<void(const XA_Message &)> &TXaudioPlayer::OnNotify(uint8_t code)
{
    const size_t index = code >= XA_MSG_NOTIFY_READY && code <= XA_MSG_NOTIFY_LAST
            ? static_cast<size_t>(code - XA_MSG_NOTIFY_READY)
            : static_cast<size_t>(XA_MSG_NOTIFY_UNUSED - XA_MSG_NOTIFY_READY);
    return Events[index];
}

int TXaudioPlayer::GetPriority() const
{
    return player_get_priority(Player);
}

void TXaudioPlayer::SetPriority(int priority)
{
    player_set_priority(Player, priority);
}

std::string TXaudioPlayer::ErrorString(int code)
{
    return xaudio_error_string(code);
}

int TXaudioPlayer::Ping(uint32_t tag)
{
    return control_message_send_I(Player, XA_MSG_COMMAND_PING, tag);
}

int TXaudioPlayer::Play()
{
    return control_message_send_N(Player, XA_MSG_COMMAND_PLAY);
}

int TXaudioPlayer::Stop()
{
    return control_message_send_N(Player, XA_MSG_COMMAND_STOP);
}

int TXaudioPlayer::InputSeek(int offset, int range)
{
    return control_message_send_II(Player, XA_MSG_COMMAND_INPUT_SEEK, static_cast<uint32_t>(offset),
                                   static_cast<uint32_t>(range));
}

int TXaudioPlayer::InputOpen(const std::string &fileName)
{
    return control_message_send_S(Player, XA_MSG_COMMAND_INPUT_OPEN, fileName.c_str());
}

int TXaudioPlayer::InputClose()
{
    return control_message_send_N(Player, XA_MSG_COMMAND_INPUT_CLOSE);
}

int TXaudioPlayer::OutputClose()
{
    return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_CLOSE);
}

int TXaudioPlayer::OutputDrain()
{
    return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_DRAIN);
}

bool TXaudioPlayer::event(QEvent *event)
{
    if (event->type() != TXaNotifyEvent::EventType())
        return QObject::event(event);
    const auto *notice = static_cast<TXaNotifyEvent *>(event);
    Notify(notice->Message, notice->Device, notice->Reason);
    return true;
}

void TXaudioPlayer::Notify(XA_Message message, const std::string &device, const std::string &reason)
{
    if (OnNotifyMessage)
        OnNotifyMessage(message);
    switch (message.code) {
    case XA_MSG_NOTIFY_ACK:
        if (OnNotifyAck)
            OnNotifyAck(message.command);
        break;
    case XA_MSG_NOTIFY_NACK:
        if (OnNotifyNack)
            OnNotifyNack(message.command, message.error);
        break;
    case XA_MSG_NOTIFY_PONG:
        if (OnNotifyPong)
            OnNotifyPong(message.tag);
        break;
    case XA_MSG_NOTIFY_PLAYER_STATE:
        if (OnNotifyPlayerState)
            OnNotifyPlayerState(message.state);
        break;
    case XA_MSG_NOTIFY_UNUSED:
        break;
    case XA_MSG_NOTIFY_ERROR:
        if (OnNotifyError)
            OnNotifyError(device, reason);
        if (const auto &handler = OnNotify(message.code))
            handler(message);
        break;
    default:
        if (message.code >= XA_MSG_NOTIFY_READY && message.code <= XA_MSG_NOTIFY_LAST) {
            if (const auto &handler = OnNotify(message.code))
                handler(message);
        }
        break;
    }
}
