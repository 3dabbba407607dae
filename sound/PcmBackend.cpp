#include "sound/PcmBackend.h"

#include "platform/AlsaPcm.h"
#include "sound/SoundFiles.h"
#include "sound/WavFile.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Playback keeps about a tenth of a second queued: a stop is heard at once. Capture may lag a
// fifth of a second behind before the device loses frames.
constexpr int PlaybackLatencyUs = 100000;
constexpr int CaptureLatencyUs = 200000;
// Frames are handed on in chunks of a fiftieth of a second, so a stop or an interrupt is never
// kept waiting longer than that.
constexpr int PiecesPerSecond = 50;
constexpr int LeadsPerSecond = 10;
constexpr double RealTime = 1.0;

bool Supported(const TPcmFormat &format)
{
    return (format.Bits == 8 || format.Bits == 16) && format.Channels >= 1 && format.Channels <= 2
            && format.Rate > 0;
}

long ChunkOf(const TPcmFormat &format)
{
    return std::max(1, format.Rate / PiecesPerSecond);
}

class TAlsaStream : public IPcmStream
{
public:
    TAlsaStream(std::unique_ptr<TAlsaPcm> pcm, const TPcmFormat &format)
        : Pcm(std::move(pcm))
        , Pacer(format.Rate, RealTime)
        , FrameBytes(format.FrameBytes())
        , Chunk(Pcm->PeriodFrames() > 0 ? Pcm->PeriodFrames() : ChunkOf(format))
        , Lead(Pcm->BufferFrames() > 0 ? Pcm->BufferFrames() : format.Rate / LeadsPerSecond)
    { }

    long Write(const void *frames, long count) override
    {
        const auto *bytes = static_cast<const char *>(frames);
        long written = 0;
        while (written < count) {
            const long chunk = std::min(Chunk, count - written);
            if (!Pacer.Admit(chunk, Lead))
                break;
            const long done = Pcm->Write(bytes + written * FrameBytes, chunk);
            if (done < 0)
                return done;
            written += done;
        }
        return written;
    }

    long Read(void *frames, long count) override
    {
        // ALSA's "null" capture never touches the buffer: what it gives must be silence.
        std::memset(frames, 0, static_cast<size_t>(count * FrameBytes));
        if (!Pacer.Admit(count, Chunk))
            return 0;
        return Pcm->Read(frames, count);
    }

    void Drop() override
    {
        Pcm->Drop();
        Pacer.Restart();
    }

    void Drain() override
    {
        Pcm->Drain();
        Pacer.WaitPlayedOut();
    }

    void Interrupt() override { Pacer.Interrupt(); }

private:
    std::unique_ptr<TAlsaPcm> Pcm;
    TPcmPacer Pacer;
    const int FrameBytes;
    const long Chunk;
    const long Lead;
};

// Takes frames at the pace of the sound and forgets them, or appends them to a file.
class TNullSink : public IPcmStream
{
public:
    TNullSink(const TPcmFormat &format, double slowdown, const std::string &sinkFile = {})
        : Pacer(format.Rate, slowdown)
        , FrameBytes(format.FrameBytes())
        , Chunk(ChunkOf(format))
        , Lead(std::max(1, format.Rate / LeadsPerSecond))
        , Sink(FileNameOf(sinkFile))
    {
        if (!sinkFile.empty())
            Sink.open(QIODevice::WriteOnly | QIODevice::Append);
    }

    long Write(const void *frames, long count) override
    {
        const auto *bytes = static_cast<const char *>(frames);
        long written = 0;
        while (written < count) {
            const long chunk = std::min(Chunk, count - written);
            if (!Pacer.Admit(chunk, Lead))
                break;
            if (Sink.isOpen()
                && Sink.write(bytes + written * FrameBytes, chunk * FrameBytes)
                        != chunk * FrameBytes)
                return -1;
            written += chunk;
        }
        return written;
    }

    long Read(void *, long) override { return -1; }
    void Drop() override { Pacer.Restart(); }
    void Drain() override
    {
        Pacer.WaitPlayedOut();
        if (Sink.isOpen())
            Sink.flush();
    }
    void Interrupt() override { Pacer.Interrupt(); }

private:
    TPcmPacer Pacer;
    const int FrameBytes;
    const long Chunk;
    const long Lead;
    QFile Sink;
};

// Gives the samples of a WAV file at the pace of the sound, then nothing more.
class TFileCapture : public IPcmStream
{
public:
    TFileCapture(std::string samples, const TPcmFormat &format, double slowdown,
                 std::atomic<int64_t> &captured)
        : Samples(std::move(samples))
        , Pacer(format.Rate, slowdown)
        , FrameBytes(format.FrameBytes())
        , Chunk(ChunkOf(format))
        , Captured(captured)
    { }

    long Write(const void *, long) override { return -1; }

    long Read(void *frames, long count) override
    {
        std::memset(frames, 0, static_cast<size_t>(count * FrameBytes));
        const long left = static_cast<long>((Samples.size() - Position) / FrameBytes);
        const long taken = std::min(count, left);
        if (taken == 0 || !Pacer.Admit(taken, Chunk))
            return 0;
        std::memcpy(frames, Samples.data() + Position, static_cast<size_t>(taken * FrameBytes));
        Position += static_cast<size_t>(taken * FrameBytes);
        Captured += taken;
        return taken;
    }

    void Drop() override { }
    void Drain() override { }
    void Interrupt() override { Pacer.Interrupt(); }

private:
    const std::string Samples;
    size_t Position = 0;
    TPcmPacer Pacer;
    const int FrameBytes;
    const long Chunk;
    std::atomic<int64_t> &Captured;
};

TAlsaPcm::TFormat AlsaFormat(const TPcmFormat &format)
{
    return {format.Bits == 8 ? TAlsaPcm::TSample::Unsigned8 : TAlsaPcm::TSample::Signed16,
            format.Channels, format.Rate};
}

IPcmBackend *Installed = nullptr;

} // namespace

TPcmPacer::TPcmPacer(int rate, double slowdown)
    : SecondsPerFrame(rate > 0 ? slowdown / rate : 0)
    , Start(TClock::now())
{ }

TPcmPacer::TClock::time_point TPcmPacer::Due(int64_t frames) const
{
    return Start
            + std::chrono::duration_cast<TClock::duration>(
                    std::chrono::duration<double>(static_cast<double>(frames) * SecondsPerFrame));
}

bool TPcmPacer::WaitUntil(TClock::time_point when)
{
    std::unique_lock lock(Mutex);
    Wake.wait_until(lock, when, [this] { return Stopped.load(); });
    return !Stopped;
}

bool TPcmPacer::Admit(long count, long lead)
{
    if (Stopped)
        return false;
    if (SecondsPerFrame > 0 && Frames + count > lead && !WaitUntil(Due(Frames + count - lead)))
        return false;
    Frames += count;
    return true;
}

bool TPcmPacer::WaitPlayedOut()
{
    return SecondsPerFrame <= 0 ? !Stopped : WaitUntil(Due(Frames));
}

void TPcmPacer::Restart()
{
    Start = TClock::now();
    Frames = 0;
}

void TPcmPacer::Interrupt()
{
    {
        std::lock_guard lock(Mutex);
        Stopped = true;
    }
    Wake.notify_all();
}

std::string AlsaDeviceName()
{
    const QByteArray device = qgetenv("TARNWICK_ALSA_DEVICE");
    return device.isEmpty() ? std::string("default") : device.toStdString();
}

IPcmBackend &PcmBackend()
{
    static TAlsaBackend alsa(AlsaDeviceName());
    return Installed ? *Installed : alsa;
}

IPcmBackend *SetPcmBackend(IPcmBackend *backend)
{
    return std::exchange(Installed, backend);
}

TAlsaBackend::TAlsaBackend(std::string device)
    : Device(std::move(device))
{ }

std::unique_ptr<IPcmStream> TAlsaBackend::Open(const TPcmFormat &format, bool capture)
{
    if (!Supported(format))
        return nullptr;
    std::string error;
    auto pcm = TAlsaPcm::Open(
            Device, capture ? TAlsaPcm::TDirection::Capture : TAlsaPcm::TDirection::Playback,
            AlsaFormat(format), capture ? CaptureLatencyUs : PlaybackLatencyUs, error);
    std::lock_guard lock(Mutex);
    Error = error;
    return pcm ? std::make_unique<TAlsaStream>(std::move(pcm), format) : nullptr;
}

std::unique_ptr<IPcmStream> TAlsaBackend::OpenPlayback(const TPcmFormat &format)
{
    return Open(format, false);
}

std::unique_ptr<IPcmStream> TAlsaBackend::OpenCapture(const TPcmFormat &format)
{
    return Open(format, true);
}

std::unique_ptr<IPcmStream> TAlsaBackend::OpenNullSink(const TPcmFormat &format)
{
    return Supported(format) ? std::make_unique<TNullSink>(format, RealTime) : nullptr;
}

std::string TAlsaBackend::LastError() const
{
    std::lock_guard lock(Mutex);
    return Error;
}

std::unique_ptr<IPcmStream> TFileTestBackend::OpenPlayback(const TPcmFormat &format)
{
    if (NoPlayback || !Supported(format)) {
        std::lock_guard lock(Mutex);
        Error = NoPlayback ? "there is no playback device" : "the format is not supported";
        return nullptr;
    }
    ++PlaybacksOpened;
    return std::make_unique<TNullSink>(format, Slowdown, SinkFile);
}

std::unique_ptr<IPcmStream> TFileTestBackend::OpenCapture(const TPcmFormat &format)
{
    TWaveInfo info;
    QFile file(FileNameOf(CaptureFile));
    if (CaptureFile.empty() || !file.open(QIODevice::ReadOnly) || !ParseWav(file, info)
        || info.Format.FormatTag != WaveFormatPcm || info.Format.BitsPerSample != format.Bits
        || info.Format.Channels != format.Channels
        || info.Format.SamplesPerSec != static_cast<uint32_t>(format.Rate)
        || !file.seek(info.DataOffset)) {
        std::lock_guard lock(Mutex);
        Error = "there is no microphone";
        return nullptr;
    }
    return std::make_unique<TFileCapture>(file.read(info.DataLength).toStdString(), format,
                                          Slowdown, FramesCaptured);
}

std::unique_ptr<IPcmStream> TFileTestBackend::OpenNullSink(const TPcmFormat &format)
{
    if (!Supported(format))
        return nullptr;
    ++NullSinksOpened;
    return std::make_unique<TNullSink>(format, Slowdown);
}

std::string TFileTestBackend::DeviceName() const
{
    return "test";
}

std::string TFileTestBackend::LastError() const
{
    std::lock_guard lock(Mutex);
    return Error;
}
