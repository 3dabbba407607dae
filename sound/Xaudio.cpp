#include "sound/Xaudio.h"

#include "platform/Mp3Decoder.h"
#include "sound/PcmBackend.h"
#include "sound/WavFile.h"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The player writes a thirtieth of a second at a time and looks at its queue in between, so a
// Stop is obeyed within that.
constexpr int SlicesPerSecond = 30;
constexpr int SampleBits = 16;

std::atomic<uint32_t> ApiVersionOverride{0};

struct TXaCommand
{
    uint8_t Code = 0;
    uint32_t First = 0;
    uint32_t Second = 0;
    std::string Text;
};

} // namespace

struct TXaPlayer
{
    explicit TXaPlayer(QObject *target)
        : Target(target)
    { }

    void Run();
    // False once the player has exited.
    bool Obey(const TXaCommand &command);
    void PlaySlice();
    void Post(const XA_Message &message, std::string device = {}, std::string reason = {});
    void Ack(uint8_t command);
    void Nack(uint8_t command, int error);
    void SetState(int state);
    void OpenInput(const std::string &fileName);
    void CloseInput();
    bool OpenOutput();
    void CloseOutput();
    void Enqueue(TXaCommand command);

    QPointer<QObject> Target;
    std::atomic<int> Priority{XA_PLAYER_DEFAULT_PRIORITY};
    std::mutex Mutex;
    std::condition_variable Wake;
    std::deque<TXaCommand> Queue;
    bool Quit = false;
    std::thread Worker;

    // The worker's own; Output is replaced only under OutputMutex, so that player_delete can
    // interrupt a write that waits for the device.
    std::mutex OutputMutex;
    std::unique_ptr<IPcmStream> Output;
    TPcmFormat OutputFormat;
    TMp3Decoder Decoder;
    int State = XA_PLAYER_STATE_STOPPED;
    std::vector<int16_t> Frames;
};

void TXaPlayer::Enqueue(TXaCommand command)
{
    {
        std::lock_guard lock(Mutex);
        Queue.push_back(std::move(command));
    }
    Wake.notify_one();
}

// The receiver outlives the player: its owner deletes the player before itself.
void TXaPlayer::Post(const XA_Message &message, std::string device, std::string reason)
{
    if (QObject *target = Target.data())
        QCoreApplication::postEvent(
                target, new TXaNotifyEvent(message, std::move(device), std::move(reason)));
}

void TXaPlayer::Ack(uint8_t command)
{
    XA_Message message;
    message.code = XA_MSG_NOTIFY_ACK;
    message.command = command;
    Post(message);
}

void TXaPlayer::Nack(uint8_t command, int error)
{
    XA_Message message;
    message.code = XA_MSG_NOTIFY_NACK;
    message.command = command;
    message.error = static_cast<int16_t>(error);
    Post(message);
}

void TXaPlayer::SetState(int state)
{
    State = state;
    XA_Message message;
    message.code = XA_MSG_NOTIFY_PLAYER_STATE;
    message.state = state;
    Post(message);
}

void TXaPlayer::Run()
{
    for (;;) {
        std::optional<TXaCommand> command;
        {
            std::unique_lock lock(Mutex);
            if (State != XA_PLAYER_STATE_PLAYING)
                Wake.wait(lock, [this] { return Quit || !Queue.empty(); });
            if (Quit)
                break;
            if (!Queue.empty()) {
                command = std::move(Queue.front());
                Queue.pop_front();
            }
        }
        if (!command)
            PlaySlice();
        else if (!Obey(*command))
            break;
    }
    Decoder.Close();
    CloseOutput();
}

// Only a file that opens and whose first frame decodes is an input: anything else is refused
// here, and a machine without a sound device still plays (into the null sink). The decoder looks
// for frames inside any WAV file and can take PCM samples for them: only a WAV that holds MP3
// counts.
void TXaPlayer::OpenInput(const std::string &fileName)
{
    CloseInput();
    TWaveInfo wave;
    int error = 0;
    const bool pcm = ParseWav(fileName, wave) && wave.Format.FormatTag != WaveFormatMpegLayer3;
    if (!pcm && Decoder.Open(fileName, error))
        Ack(XA_MSG_COMMAND_INPUT_OPEN);
    else
        Nack(XA_MSG_COMMAND_INPUT_OPEN, XA_ERROR_OPEN_FAILED);
}

void TXaPlayer::CloseInput()
{
    const bool wasOpen = Decoder.IsOpen();
    Decoder.Close();
    if (wasOpen && (State == XA_PLAYER_STATE_PLAYING || State == XA_PLAYER_STATE_PAUSED)) {
        if (Output)
            Output->Drop();
        SetState(XA_PLAYER_STATE_STOPPED);
    } else {
        State = XA_PLAYER_STATE_STOPPED;
    }
}

bool TXaPlayer::OpenOutput()
{
    const TPcmFormat format{SampleBits, Decoder.Channels(), Decoder.Rate()};
    if (Output && OutputFormat.Channels == format.Channels && OutputFormat.Rate == format.Rate)
        return true;
    std::unique_ptr<IPcmStream> stream = PcmBackend().OpenPlayback(format);
    if (!stream) {
        XA_Message failure;
        failure.code = XA_MSG_NOTIFY_ERROR;
        failure.error = XA_ERROR_NO_OUTPUT;
        Post(failure, PcmBackend().DeviceName(), PcmBackend().LastError());
        stream = PcmBackend().OpenNullSink(format);
    }
    std::lock_guard lock(OutputMutex);
    Output = std::move(stream);
    OutputFormat = format;
    return Output != nullptr;
}

void TXaPlayer::CloseOutput()
{
    std::lock_guard lock(OutputMutex);
    Output.reset();
}

void TXaPlayer::PlaySlice()
{
    const long count = std::max(1, Decoder.Rate() / SlicesPerSecond);
    Frames.resize(static_cast<size_t>(count * std::max(1, Decoder.Channels())));
    const long got = Decoder.IsOpen() ? Decoder.Read(Frames.data(), count) : 0;
    // A stream that stops decoding half-way ends there, like one that is played out.
    if (got <= 0 || !Output) {
        SetState(XA_PLAYER_STATE_EOS);
        return;
    }
    if (Output->Write(Frames.data(), got) < 0) {
        // The device went away: the rest plays into the null sink, so the playback still ends.
        std::unique_ptr<IPcmStream> sink = PcmBackend().OpenNullSink(OutputFormat);
        std::lock_guard lock(OutputMutex);
        Output = std::move(sink);
        if (!Output)
            SetState(XA_PLAYER_STATE_EOS);
    }
}

bool TXaPlayer::Obey(const TXaCommand &command)
{
    switch (command.Code) {
    case XA_MSG_COMMAND_EXIT: {
        Ack(XA_MSG_COMMAND_EXIT);
        XA_Message exited;
        exited.code = XA_MSG_NOTIFY_EXITED;
        Post(exited);
        return false;
    }
    case XA_MSG_COMMAND_PING: {
        XA_Message pong;
        pong.code = XA_MSG_NOTIFY_PONG;
        pong.tag = command.First;
        Post(pong);
        break;
    }
    case XA_MSG_COMMAND_PLAY:
        if (!Decoder.IsOpen()) {
            Nack(XA_MSG_COMMAND_PLAY, XA_ERROR_NO_INPUT);
        } else if (!OpenOutput()) {
            Nack(XA_MSG_COMMAND_PLAY, XA_ERROR_NO_OUTPUT);
        } else {
            Ack(XA_MSG_COMMAND_PLAY);
            if (State != XA_PLAYER_STATE_PLAYING)
                SetState(XA_PLAYER_STATE_PLAYING);
        }
        break;
    case XA_MSG_COMMAND_PAUSE:
        Ack(XA_MSG_COMMAND_PAUSE);
        if (State == XA_PLAYER_STATE_PLAYING)
            SetState(XA_PLAYER_STATE_PAUSED);
        break;
    case XA_MSG_COMMAND_STOP:
        Ack(XA_MSG_COMMAND_STOP);
        if (State == XA_PLAYER_STATE_PLAYING || State == XA_PLAYER_STATE_PAUSED) {
            if (Output)
                Output->Drop();
            SetState(XA_PLAYER_STATE_STOPPED);
        }
        break;
    case XA_MSG_COMMAND_INPUT_SEEK: {
        const int64_t length = Decoder.Length();
        const int64_t frame
                = command.Second > 0 && length > 0 ? length * command.First / command.Second : 0;
        if (Decoder.IsOpen() && Decoder.Seek(frame))
            Ack(XA_MSG_COMMAND_INPUT_SEEK);
        else
            Nack(XA_MSG_COMMAND_INPUT_SEEK, XA_ERROR_NO_INPUT);
        break;
    }
    case XA_MSG_COMMAND_INPUT_OPEN:
        OpenInput(command.Text);
        break;
    case XA_MSG_COMMAND_INPUT_CLOSE:
        if (!Decoder.IsOpen()) {
            Nack(XA_MSG_COMMAND_INPUT_CLOSE, XA_ERROR_NO_INPUT);
        } else {
            Ack(XA_MSG_COMMAND_INPUT_CLOSE);
            CloseInput();
        }
        break;
    case XA_MSG_COMMAND_OUTPUT_CLOSE:
        CloseOutput();
        Ack(XA_MSG_COMMAND_OUTPUT_CLOSE);
        break;
    case XA_MSG_COMMAND_OUTPUT_DRAIN:
        if (Output) {
            Output->Drain();
            // What was drained has played: the pace starts again with the next write.
            Output->Drop();
        }
        Ack(XA_MSG_COMMAND_OUTPUT_DRAIN);
        break;
    default:
        Nack(command.Code, XA_ERROR_NOT_SUPPORTED);
        break;
    }
    return true;
}

TXaNotifyEvent::TXaNotifyEvent(const XA_Message &message, std::string device, std::string reason)
    : QEvent(EventType())
    , Message(message)
    , Device(std::move(device))
    , Reason(std::move(reason))
{ }

QEvent::Type TXaNotifyEvent::EventType()
{
    static const auto type = static_cast<Type>(registerEventType());
    return type;
}

uint32_t xaudio_get_api_version(int)
{
    const uint32_t version = ApiVersionOverride;
    return version ? version : (uint32_t{XA_API_MAJOR} << 16) | (uint32_t{XA_API_MINOR} << 8);
}

void SetXaudioApiVersion(uint32_t version)
{
    ApiVersionOverride = version;
}

const char *xaudio_error_string(int code)
{
    switch (code) {
    case XA_SUCCESS:
        return "success";
    case XA_ERROR_INVALID_PARAMETERS:
        return "invalid parameters";
    case XA_ERROR_NOT_SUPPORTED:
        return "not supported";
    case XA_ERROR_NO_INPUT:
        return "no input open";
    case XA_ERROR_OPEN_FAILED:
        return "the input cannot be opened as MP3";
    case XA_ERROR_DECODE_FAILED:
        return "the input does not decode";
    case XA_ERROR_NO_OUTPUT:
        return "no output opens";
    default:
        return "failure";
    }
}

int player_new(XA_Player **player, QObject *target)
{
    if (!player)
        return XA_ERROR_INVALID_PARAMETERS;
    *player = nullptr;
    if (!target)
        return XA_ERROR_INVALID_PARAMETERS;
    auto made = std::make_unique<TXaPlayer>(target);
    made->Worker = std::thread(&TXaPlayer::Run, made.get());
    *player = made.release();
    return XA_SUCCESS;
}

int player_delete(XA_Player *player)
{
    if (!player)
        return XA_ERROR_INVALID_PARAMETERS;
    {
        std::lock_guard lock(player->Mutex);
        player->Quit = true;
    }
    player->Wake.notify_one();
    {
        std::lock_guard lock(player->OutputMutex);
        if (player->Output)
            player->Output->Interrupt();
    }
    player->Worker.join();
    delete player;
    return XA_SUCCESS;
}

int player_get_priority(XA_Player *player)
{
    return player ? player->Priority.load() : XA_ERROR_INVALID_PARAMETERS;
}

int player_set_priority(XA_Player *player, int priority)
{
    if (!player)
        return XA_ERROR_INVALID_PARAMETERS;
    player->Priority = priority;
    return XA_SUCCESS;
}

namespace {

int Send(XA_Player *player, TXaCommand command)
{
    if (!player)
        return XA_ERROR_INVALID_PARAMETERS;
    player->Enqueue(std::move(command));
    return XA_SUCCESS;
}

std::string TextOf(const char *text)
{
    return text ? text : "";
}

} // namespace

int control_message_send_N(XA_Player *player, uint8_t command)
{
    return Send(player, {command, 0, 0, {}});
}

int control_message_send_I(XA_Player *player, uint8_t command, uint32_t value)
{
    return Send(player, {command, value, 0, {}});
}

int control_message_send_II(XA_Player *player, uint8_t command, uint32_t first, uint32_t second)
{
    return Send(player, {command, first, second, {}});
}

int control_message_send_III(XA_Player *player, uint8_t command, uint32_t first, uint32_t second,
                             uint32_t)
{
    return Send(player, {command, first, second, {}});
}

int control_message_send_S(XA_Player *player, uint8_t command, const char *text)
{
    return Send(player, {command, 0, 0, TextOf(text)});
}

int control_message_send_SI(XA_Player *player, uint8_t command, const char *text, uint32_t value)
{
    return Send(player, {command, value, 0, TextOf(text)});
}

int control_message_send_SS(XA_Player *player, uint8_t command, const char *first, const char *)
{
    return Send(player, {command, 0, 0, TextOf(first)});
}

int control_message_send_P(XA_Player *player, uint8_t command, const void *)
{
    return Send(player, {command, 0, 0, {}});
}

int control_message_send_IPI(XA_Player *player, uint8_t command, uint32_t type, const void *,
                             uint32_t size)
{
    return Send(player, {command, type, size, {}});
}
