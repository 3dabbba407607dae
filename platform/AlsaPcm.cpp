#include "platform/AlsaPcm.h"

#include <alsa/asoundlib.h>
#include <cerrno>
#include <cstdarg>
#include <mutex>

namespace {

// ALSA writes its own complaints to stderr (a missing card, a missing plugin); the caller reports
// the failure it gets back, so they are left unsaid.
void QuietAlsa(const char *, int, const char *, int, const char *, ...) { }

void SilenceAlsaOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(QuietAlsa); });
}

// The reason said to the user: what the common failures mean, then ALSA's own words.
std::string Reason(int result, bool opening)
{
    const std::string alsa = snd_strerror(result);
    if (!opening)
        return "the device does not take the sound's format (" + alsa + ")";
    switch (-result) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return "there is no such device; the computer may have no sound card (" + alsa + ")";
    case EBUSY:
        return "the device is in use by another program (" + alsa + ")";
    case EACCES:
    case EPERM:
        return "access to the device is denied (" + alsa + ")";
    default:
        return "ALSA error: " + alsa;
    }
}

} // namespace

TAlsaPcm::TAlsaPcm(_snd_pcm *handle, int frameBytes)
    : Handle(handle)
    , FrameBytes(frameBytes)
{
    snd_pcm_uframes_t buffer = 0;
    snd_pcm_uframes_t period = 0;
    if (snd_pcm_get_params(Handle, &buffer, &period) == 0) {
        Buffer = static_cast<long>(buffer);
        Period = static_cast<long>(period);
    }
}

TAlsaPcm::~TAlsaPcm()
{
    snd_pcm_close(Handle);
}

std::unique_ptr<TAlsaPcm> TAlsaPcm::Open(const std::string &device, TDirection direction,
                                         const TFormat &format, int latencyUs, std::string &error)
{
    SilenceAlsaOnce();
    snd_pcm_t *handle = nullptr;
    const snd_pcm_stream_t stream
            = direction == TDirection::Playback ? SND_PCM_STREAM_PLAYBACK : SND_PCM_STREAM_CAPTURE;
    int result = snd_pcm_open(&handle, device.c_str(), stream, 0);
    if (result < 0) {
        error = Reason(result, true);
        return nullptr;
    }
    const bool eight = format.Sample == TSample::Unsigned8;
    result = snd_pcm_set_params(
            handle, eight ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE,
            SND_PCM_ACCESS_RW_INTERLEAVED, static_cast<unsigned>(format.Channels),
            static_cast<unsigned>(format.Rate), 1, static_cast<unsigned>(latencyUs));
    if (result < 0) {
        error = Reason(result, false);
        snd_pcm_close(handle);
        return nullptr;
    }
    return std::unique_ptr<TAlsaPcm>(new TAlsaPcm(handle, (eight ? 1 : 2) * format.Channels));
}

long TAlsaPcm::Write(const void *frames, long count)
{
    const auto *bytes = static_cast<const char *>(frames);
    long done = 0;
    while (done < count) {
        const snd_pcm_sframes_t written = snd_pcm_writei(
                Handle, bytes + done * FrameBytes, static_cast<snd_pcm_uframes_t>(count - done));
        if (written == -EAGAIN || written == -EINTR)
            continue;
        if (written < 0) {
            if (snd_pcm_recover(Handle, static_cast<int>(written), 1) < 0)
                return written;
            continue;
        }
        done += written;
    }
    return done;
}

long TAlsaPcm::Read(void *frames, long count)
{
    auto *bytes = static_cast<char *>(frames);
    long done = 0;
    while (done < count) {
        const snd_pcm_sframes_t read = snd_pcm_readi(Handle, bytes + done * FrameBytes,
                                                     static_cast<snd_pcm_uframes_t>(count - done));
        if (read == -EAGAIN || read == -EINTR)
            continue;
        if (read < 0) {
            if (snd_pcm_recover(Handle, static_cast<int>(read), 1) < 0)
                return read;
            continue;
        }
        done += read;
    }
    return done;
}

void TAlsaPcm::Drop()
{
    snd_pcm_drop(Handle);
    snd_pcm_prepare(Handle);
}

void TAlsaPcm::Drain()
{
    snd_pcm_drain(Handle);
    snd_pcm_prepare(Handle);
}
