#include "sound/Unit_Sound.h"

#include "sound/PcmBackend.h"
#include "sound/SoundFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

std::atomic<bool> WaveDeviceOpen{false};
std::atomic<bool> WavePlaying{false};
std::atomic<bool> WaveRecording{false};
std::atomic<bool> Mp3InputOpen{false};
std::atomic<bool> Mp3Playing{false};

namespace {

// What a new, empty device starts with before a recording sets its format.
constexpr TWaveFormat NewDeviceFormat{WaveFormatPcm, 1, 11025, 11025, 1, 8, 0};
// Frames move in slices of a fiftieth of a second, so a stop waits no longer than that.
constexpr int SlicesPerSecond = 50;
// How long a capture that has nothing to give waits before it asks again.
constexpr std::chrono::milliseconds IdleCapture{10};

// The open device: a file's samples or a recording, and the thread that plays or records them.
struct TWaveSession
{
    TWaveFormat Format;
    std::string Samples;
    std::unique_ptr<IPcmStream> Stream;
    std::thread Worker;
    std::atomic<bool> Stop{false};
    bool Playback = false;
    uint32_t Serial = 0;
};

std::unique_ptr<TWaveSession> Session;
uint32_t LastSerial = 0;
TSoundDeviceFailure LastFailure;

void NoteDeviceFailure()
{
    LastFailure = {PcmBackend().DeviceName(), PcmBackend().LastError()};
}

void NoteDeviceInUse()
{
    LastFailure = {PcmBackend().DeviceName(), "another sound still plays or records"};
}

TPcmFormat PcmFormatOf(const TWaveFormat &format)
{
    return {format.BitsPerSample, format.Channels, static_cast<int>(format.SamplesPerSec)};
}

bool Playable(const TWaveFormat &format)
{
    return format.FormatTag == WaveFormatPcm
            && (format.BitsPerSample == 8 || format.BitsPerSample == 16) && format.Channels >= 1
            && format.Channels <= 2 && format.SamplesPerSec > 0;
}

bool ReadSamples(const std::string &fileName, TWaveFormat &format, std::string &samples)
{
    QFile file(FileNameOf(fileName));
    TWaveInfo info;
    if (!file.open(QIODevice::ReadOnly) || !ParseWav(file, info) || !file.seek(info.DataOffset))
        return false;
    const QByteArray data = file.read(info.DataLength);
    if (data.size() != info.DataLength)
        return false;
    format = info.Format;
    samples = data.toStdString();
    return true;
}

void Play(TWaveSession &session, QPointer<QObject> window)
{
    const int frameBytes = PcmFormatOf(session.Format).FrameBytes();
    const long slice
            = std::max<long>(1, static_cast<long>(session.Format.SamplesPerSec) / SlicesPerSecond);
    const long frames = static_cast<long>(session.Samples.size() / frameBytes);
    for (long done = 0; done < frames && !session.Stop;) {
        const long written = session.Stream->Write(session.Samples.data() + done * frameBytes,
                                                   std::min(slice, frames - done));
        if (written <= 0)
            break;
        done += written;
    }
    if (!session.Stop)
        session.Stream->Drain();
    if (!session.Stop && window)
        QCoreApplication::postEvent(window, new TWaveNotifyEvent(session.Serial));
}

void Record(TWaveSession &session)
{
    const int frameBytes = PcmFormatOf(session.Format).FrameBytes();
    const long slice = static_cast<long>(session.Format.SamplesPerSec) / SlicesPerSecond;
    std::vector<char> buffer(static_cast<size_t>(slice * frameBytes));
    while (!session.Stop) {
        const long read = session.Stream->Read(buffer.data(), slice);
        if (read < 0)
            break;
        if (read == 0) {
            std::this_thread::sleep_for(IdleCapture);
            continue;
        }
        session.Samples.append(buffer.data(), static_cast<size_t>(read * frameBytes));
    }
}

// Ends the session's thread; the stream's waits return at once.
void StopWorker(TWaveSession &session)
{
    session.Stop = true;
    if (session.Stream)
        session.Stream->Interrupt();
    if (session.Worker.joinable())
        session.Worker.join();
}

} // namespace

TWaveNotifyEvent::TWaveNotifyEvent(uint32_t serial)
    : QEvent(EventType())
    , Serial(serial)
{ }

QEvent::Type TWaveNotifyEvent::EventType()
{
    static const auto type = static_cast<Type>(registerEventType());
    return type;
}

bool OpenWave(const std::string &fileName)
{
    if (WaveDeviceOpen)
        return false;
    auto session = std::make_unique<TWaveSession>();
    if (fileName.empty())
        session->Format = NewDeviceFormat;
    else if (!ReadSamples(fileName, session->Format, session->Samples))
        return false;
    Session = std::move(session);
    WaveDeviceOpen = true;
    return true;
}

void CloseWave()
{
    if (Session)
        StopWorker(*Session);
    Session.reset();
    WaveDeviceOpen = false;
}

bool PlayWave(const std::string &fileName, QObject *window)
{
    LastFailure = {};
    if (WaveDeviceOpen) {
        NoteDeviceInUse();
        return false;
    }
    WavePlaying = false;
    if (!OpenWave(fileName))
        return false;
    TWaveSession &session = *Session;
    if (Playable(session.Format)) {
        session.Stream = PcmBackend().OpenPlayback(PcmFormatOf(session.Format));
        if (!session.Stream)
            NoteDeviceFailure();
    }
    if (!session.Stream) {
        CloseWave();
        return false;
    }
    session.Playback = true;
    session.Serial = ++LastSerial;
    session.Worker = std::thread(Play, std::ref(session), QPointer<QObject>(window));
    WavePlaying = true;
    return true;
}

void FinishPlayback(uint32_t serial)
{
    if (!WavePlaying || !Session || !Session->Playback || Session->Serial != serial)
        return;
    WavePlaying = false;
    CloseWave();
}

void StopPlayback()
{
    WavePlaying = false;
    if (Session && Session->Playback)
        CloseWave();
}

bool StartRecording()
{
    LastFailure = {};
    if (WaveDeviceOpen || !OpenWave({})) {
        NoteDeviceInUse();
        return false;
    }
    TWaveSession &session = *Session;
    session.Format = RecordingFormat;
    session.Stream = PcmBackend().OpenCapture(PcmFormatOf(session.Format));
    if (!session.Stream) {
        NoteDeviceFailure();
        CloseWave();
        return false;
    }
    session.Worker = std::thread(Record, std::ref(session));
    WaveRecording = true;
    return true;
}

void StopRecording(const std::string &fileName)
{
    if (!WaveRecording || !Session || Session->Playback)
        return;
    StopWorker(*Session);
    const std::string &samples = Session->Samples;
    WriteCanonicalWav(fileName, Session->Format, samples.data(),
                      static_cast<uint32_t>(samples.size()));
    WaveRecording = false;
    CloseWave();
}

void AbortRecording()
{
    if (!WaveRecording || !Session || Session->Playback)
        return;
    WaveRecording = false;
    CloseWave();
}

TSoundDeviceFailure LastWaveDeviceFailure()
{
    return LastFailure;
}

bool GetWaveFormat(const std::string &fileName, TWaveFormat &format)
{
    TWaveInfo info;
    if (WaveDeviceOpen || !ParseWav(fileName, info))
        return false;
    format = info.Format;
    return true;
}

bool CanOpenWave(const std::string &fileName)
{
    TWaveInfo info;
    return !WaveDeviceOpen && ParseWav(fileName, info);
}
