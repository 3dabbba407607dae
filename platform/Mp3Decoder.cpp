#include "platform/Mp3Decoder.h"

#include "platform/ReadOpen.h"

#include <cstdio>
#include <mpg123.h>
#include <mutex>
#include <unistd.h>

namespace {

constexpr int BytesPerSample = 2;
// Reads that give no frames without saying why, before a stream counts as failing.
constexpr int MaxEmptyReads = 16;

void InitLibraryOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

} // namespace

TMp3Decoder::TMp3Decoder() = default;

TMp3Decoder::~TMp3Decoder()
{
    Close();
    if (Handle)
        mpg123_delete(Handle);
}

bool TMp3Decoder::Open(const std::string &fileName, int &error)
{
    Close();
    if (!Handle) {
        InitLibraryOnce();
        Handle = mpg123_new(nullptr, &error);
        if (!Handle)
            return false;
        mpg123_param(Handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
        // Every rate the decoder knows, as 16-bit frames with the file's own channels.
        mpg123_format_none(Handle);
        const long *rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(Handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    Fd = OpenRegularFileForReading(fileName);
    if (Fd < 0) {
        error = MPG123_BAD_FILE;
        return false;
    }
    if (mpg123_open_fd(Handle, Fd) != MPG123_OK) {
        error = mpg123_errcode(Handle);
        CloseFd();
        return false;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    int result = mpg123_getformat(Handle, &rate, &channels, &encoding);
    off_t frame = 0;
    unsigned char *audio = nullptr;
    size_t bytes = 0;
    if (result == MPG123_OK) {
        do
            result = mpg123_decode_frame(Handle, &frame, &audio, &bytes);
        while (result == MPG123_NEW_FORMAT);
    }
    if (result != MPG123_OK || rate <= 0 || channels < 1 || mpg123_seek(Handle, 0, SEEK_SET) < 0) {
        error = result == MPG123_OK || result == MPG123_ERR ? mpg123_errcode(Handle) : result;
        mpg123_close(Handle);
        CloseFd();
        return false;
    }
    SampleRate = static_cast<int>(rate);
    ChannelCount = channels;
    Opened = true;
    return true;
}

void TMp3Decoder::Close()
{
    if (Opened)
        mpg123_close(Handle);
    CloseFd();
    Opened = false;
    SampleRate = 0;
    ChannelCount = 0;
}

void TMp3Decoder::CloseFd()
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

long TMp3Decoder::Read(int16_t *frames, long count)
{
    if (!Opened || count <= 0)
        return 0;
    const size_t frameBytes = static_cast<size_t>(ChannelCount * BytesPerSample);
    size_t done = 0;
    int result = MPG123_OK;
    // A change of format announces itself without frames; the format is fixed, so read on.
    for (int attempt = 0; attempt < MaxEmptyReads && done == 0
         && (result == MPG123_NEW_FORMAT || result == MPG123_OK);
         ++attempt)
        result = mpg123_read(Handle, frames, static_cast<size_t>(count) * frameBytes, &done);
    if (done == 0 && result != MPG123_DONE)
        return -1;
    return static_cast<long>(done / frameBytes);
}

int64_t TMp3Decoder::Length()
{
    return Opened ? static_cast<int64_t>(mpg123_length(Handle)) : -1;
}

bool TMp3Decoder::Seek(int64_t frame)
{
    return Opened && mpg123_seek(Handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

std::string TMp3Decoder::ErrorText(int error)
{
    return mpg123_plain_strerror(error);
}
