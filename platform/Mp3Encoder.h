#pragma once

#include <cstdint>

// The MP3 encoder's C interface: a stream is set up from a configuration record, takes 16-bit
// mono samples chunk by chunk and hands back MPEG frames. Every call answers BE_ERR_SUCCESSFUL or
// one of the error codes.

using HBE_STREAM = struct TBeStream *;

enum : uint32_t {
    BE_CONFIG_MP3 = 0,
};

enum : uint8_t {
    BE_MP3_MODE_STEREO = 0,
    BE_MP3_MODE_JSTEREO = 1,
    BE_MP3_MODE_DUALCHANNEL = 2,
    BE_MP3_MODE_MONO = 3,
};

enum : int {
    BE_ERR_SUCCESSFUL = 0,
    BE_ERR_INVALID_FORMAT = 1,
    BE_ERR_INVALID_FORMAT_PARAMETERS = 2,
    BE_ERR_NO_MORE_HANDLES = 3,
    BE_ERR_INVALID_HANDLE = 4,
};

struct BE_CONFIG
{
    // The output format; only BE_CONFIG_MP3 is known.
    uint32_t dwConfig = BE_CONFIG_MP3;
    struct
    {
        uint32_t dwSampleRate = 44100;
        uint8_t byMode = BE_MP3_MODE_MONO;
        // Kilobits per second.
        uint16_t wBitrate = 64;
        // The frame header's private, CRC, copyright and original bits.
        bool bPrivate = false;
        bool bCRC = false;
        bool bCopyright = false;
        bool bOriginal = false;
    } mp3;
};

// Sets a stream up: MPEG-1 Layer III at the configured rate and bit rate, constant bit rate,
// plain frames without an information frame. Gives the samples one chunk should hold, the size
// of the output buffer each call needs, and the stream. Only mono at 44100 Hz is taken.
int beInitStream(const BE_CONFIG *config, uint32_t *samplesPerChunk, uint32_t *bufferSize,
                 HBE_STREAM *stream);
// Encodes count samples (at most one chunk) into output; outputLength gets the bytes written.
int beEncodeChunk(HBE_STREAM stream, uint32_t count, const int16_t *samples, uint8_t *output,
                  uint32_t *outputLength);
// Writes the frames still held back.
int beDeinitStream(HBE_STREAM stream, uint8_t *output, uint32_t *outputLength);
int beCloseStream(HBE_STREAM stream);
