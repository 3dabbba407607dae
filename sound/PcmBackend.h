#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

// Interleaved PCM frames: unsigned 8-bit or signed 16-bit little-endian samples.
struct TPcmFormat
{
    int Bits = 16;
    int Channels = 1;
    int Rate = 44100;

    int FrameBytes() const { return Bits / 8 * Channels; }
};

// Keeps a stream to the pace of the sound it carries: no more frames pass than the time since
// the start allows, plus a lead. Some devices (ALSA's "null") take and give frames as fast as
// they are asked; without this a playback would end at once and a capture would fill memory.
class TPcmPacer
{
public:
    // slowdown: how many seconds one second of sound lasts; 0 lets everything pass at once.
    TPcmPacer(int rate, double slowdown);

    // Waits until count more frames may pass with at most lead frames ahead of the clock; false
    // when interrupted first.
    bool Admit(long count, long lead);
    // Waits until every admitted frame has had its time; false when interrupted first.
    bool WaitPlayedOut();
    // Nothing admitted is outstanding any more: the clock starts again.
    void Restart();
    // Makes every wait, now and later, return at once. Any thread.
    void Interrupt();
    bool Interrupted() const { return Stopped; }

private:
    using TClock = std::chrono::steady_clock;
    TClock::time_point Due(int64_t frames) const;
    bool WaitUntil(TClock::time_point when);

    double SecondsPerFrame;
    TClock::time_point Start;
    int64_t Frames = 0;
    std::atomic<bool> Stopped{false};
    std::mutex Mutex;
    std::condition_variable Wake;
};

// One open stream of a backend. Write and Read keep to the pace of the sound and return early
// once Interrupt was called.
class IPcmStream
{
public:
    virtual ~IPcmStream() = default;
    // Frames taken, fewer when interrupted; negative when the device failed.
    virtual long Write(const void *frames, long count) = 0;
    // Frames captured; 0 when the source has nothing more for now; negative on failure. The
    // buffer is cleared first, so frames a device does not fill are silence.
    virtual long Read(void *frames, long count) = 0;
    // Throws away what was written and has not played yet.
    virtual void Drop() = 0;
    // Returns once what was written has played out.
    virtual void Drain() = 0;
    // Makes waits return at once; any thread.
    virtual void Interrupt() = 0;
};

// Where sound goes to and comes from.
class IPcmBackend
{
public:
    virtual ~IPcmBackend() = default;
    // nullptr when no such stream opens (no device, or the device refuses the format).
    virtual std::unique_ptr<IPcmStream> OpenPlayback(const TPcmFormat &format) = 0;
    virtual std::unique_ptr<IPcmStream> OpenCapture(const TPcmFormat &format) = 0;
    // A stream that discards what it gets at the pace of the sound: the player's output where no
    // device opens, so that a machine without sound still plays every sound to its end.
    virtual std::unique_ptr<IPcmStream> OpenNullSink(const TPcmFormat &format) = 0;
    // The device's name as the user knows it, and why the last stream did not open.
    virtual std::string DeviceName() const = 0;
    virtual std::string LastError() const = 0;
};

// The backend every user of sound opens its streams with: ALSA's device named by
// TARNWICK_ALSA_DEVICE, "default" when unset (which a desktop routes to the user's microphone and
// speakers).
IPcmBackend &PcmBackend();
// Installs a backend (not owned); nullptr restores ALSA. Gives back the one installed before.
IPcmBackend *SetPcmBackend(IPcmBackend *backend);

std::string AlsaDeviceName();

class TAlsaBackend : public IPcmBackend
{
public:
    explicit TAlsaBackend(std::string device);

    std::unique_ptr<IPcmStream> OpenPlayback(const TPcmFormat &format) override;
    std::unique_ptr<IPcmStream> OpenCapture(const TPcmFormat &format) override;
    std::unique_ptr<IPcmStream> OpenNullSink(const TPcmFormat &format) override;
    std::string DeviceName() const override { return Device; }
    std::string LastError() const override;

private:
    std::unique_ptr<IPcmStream> Open(const TPcmFormat &format, bool capture);

    const std::string Device;
    mutable std::mutex Mutex;
    std::string Error;
};

// A backend over files, for tests: capture gives the samples of a WAV file, playback discards
// what it gets or appends it to a sink file, both at Slowdown times the pace of the sound.
class TFileTestBackend : public IPcmBackend
{
public:
    std::unique_ptr<IPcmStream> OpenPlayback(const TPcmFormat &format) override;
    std::unique_ptr<IPcmStream> OpenCapture(const TPcmFormat &format) override;
    std::unique_ptr<IPcmStream> OpenNullSink(const TPcmFormat &format) override;
    std::string DeviceName() const override;
    std::string LastError() const override;

    // How many seconds a second of sound lasts; 0 passes everything at once.
    double Slowdown = 0;
    // The WAV whose samples capture gives; capture opens only when its format is the one asked
    // for. Empty: no microphone.
    std::string CaptureFile;
    // Where playback appends what it gets; empty discards it.
    std::string SinkFile;
    // No playback device: playback does not open.
    bool NoPlayback = false;
    // Streams opened and frames captured so far.
    std::atomic<int> PlaybacksOpened{0};
    std::atomic<int> NullSinksOpened{0};
    std::atomic<int64_t> FramesCaptured{0};

private:
    mutable std::mutex Mutex;
    std::string Error;
};
