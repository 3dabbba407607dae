#include "platform/Mp3Encoder.h"

#include <lame/lame.h>

struct TBeStream
{
    lame_global_flags *Flags = nullptr;
    uint32_t BufferSize = 0;
};

namespace {

// One MPEG-1 Layer III frame holds 1152 samples; LAME asks for 1.25 times the samples plus 7200
// bytes of room per call.
constexpr uint32_t SamplesPerFrame = 1152;
constexpr uint32_t BufferSize = SamplesPerFrame * 5 / 4 + 7200;
constexpr uint32_t StreamRate = 44100;

} // namespace

int beInitStream(const BE_CONFIG *config, uint32_t *samplesPerChunk, uint32_t *bufferSize,
                 HBE_STREAM *stream)
{
    if (!config || !samplesPerChunk || !bufferSize || !stream)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    if (config->dwConfig != BE_CONFIG_MP3)
        return BE_ERR_INVALID_FORMAT;
    if (config->mp3.dwSampleRate != StreamRate || config->mp3.byMode != BE_MP3_MODE_MONO)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    lame_global_flags *flags = lame_init();
    if (!flags)
        return BE_ERR_NO_MORE_HANDLES;
    lame_set_num_channels(flags, 1);
    lame_set_in_samplerate(flags, StreamRate);
    // Left alone, LAME picks a lower output rate for this bit rate.
    lame_set_out_samplerate(flags, StreamRate);
    lame_set_mode(flags, MONO);
    lame_set_VBR(flags, vbr_off);
    lame_set_brate(flags, config->mp3.wBitrate);
    lame_set_extension(flags, config->mp3.bPrivate ? 1 : 0);
    lame_set_error_protection(flags, config->mp3.bCRC ? 1 : 0);
    lame_set_copyright(flags, config->mp3.bCopyright ? 1 : 0);
    lame_set_original(flags, config->mp3.bOriginal ? 1 : 0);
    // Plain frames: no information frame in front, no tags.
    lame_set_bWriteVbrTag(flags, 0);
    lame_set_write_id3tag_automatic(flags, 0);
    if (lame_init_params(flags) < 0) {
        lame_close(flags);
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    *stream = new TBeStream{flags, BufferSize};
    *samplesPerChunk = SamplesPerFrame;
    *bufferSize = BufferSize;
    return BE_ERR_SUCCESSFUL;
}

int beEncodeChunk(HBE_STREAM stream, uint32_t count, const int16_t *samples, uint8_t *output,
                  uint32_t *outputLength)
{
    if (!stream || !outputLength)
        return BE_ERR_INVALID_HANDLE;
    *outputLength = 0;
    if (count > SamplesPerFrame || (count > 0 && (!samples || !output)))
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    // In mono LAME reads the left channel only.
    const int written = lame_encode_buffer(stream->Flags, samples, samples, static_cast<int>(count),
                                           output, static_cast<int>(stream->BufferSize));
    if (written < 0)
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    *outputLength = static_cast<uint32_t>(written);
    return BE_ERR_SUCCESSFUL;
}

int beDeinitStream(HBE_STREAM stream, uint8_t *output, uint32_t *outputLength)
{
    if (!stream || !output || !outputLength)
        return BE_ERR_INVALID_HANDLE;
    const int written
            = lame_encode_flush(stream->Flags, output, static_cast<int>(stream->BufferSize));
    *outputLength = written < 0 ? 0 : static_cast<uint32_t>(written);
    return written < 0 ? BE_ERR_INVALID_FORMAT_PARAMETERS : BE_ERR_SUCCESSFUL;
}

int beCloseStream(HBE_STREAM stream)
{
    if (!stream)
        return BE_ERR_INVALID_HANDLE;
    lame_close(stream->Flags);
    delete stream;
    return BE_ERR_SUCCESSFUL;
}
