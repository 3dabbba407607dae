#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct _snd_pcm;

// One PCM stream of an ALSA device, interleaved frames in blocking mode. Nothing above the
// platform layer sees ALSA's own types.
class TAlsaPcm
{
public:
    enum class TDirection : uint8_t {
        Playback,
        Capture,
    };
    enum class TSample : uint8_t {
        Unsigned8,
        Signed16,
    };
    struct TFormat
    {
        TSample Sample = TSample::Signed16;
        int Channels = 1;
        int Rate = 44100;
    };

    ~TAlsaPcm();
    TAlsaPcm(const TAlsaPcm &) = delete;
    TAlsaPcm &operator=(const TAlsaPcm &) = delete;

    // Opens the device ("default", "null", "hw:0" ...) with a buffer of about latencyUs; the
    // device converts what it cannot take as it is. nullptr, with the reason in error (no card,
    // the device busy, ALSA's own text), when there is no such device or it refuses the format.
    static std::unique_ptr<TAlsaPcm> Open(const std::string &device, TDirection direction,
                                          const TFormat &format, int latencyUs, std::string &error);

    // Frames written or read; an underrun or overrun is recovered from and the call goes on.
    // Negative on a failure the device does not recover from.
    long Write(const void *frames, long count);
    long Read(void *frames, long count);
    // Throws away what is queued, or plays it out; either way the stream takes frames again.
    void Drop();
    void Drain();

    long BufferFrames() const { return Buffer; }
    long PeriodFrames() const { return Period; }

private:
    TAlsaPcm(_snd_pcm *handle, int frameBytes);

    _snd_pcm *Handle;
    int FrameBytes;
    long Buffer = 0;
    long Period = 0;
};
