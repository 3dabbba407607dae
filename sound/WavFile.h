#pragma once

#include <cstdint>
#include <string>

class QIODevice;

// A WAV file's format as its "fmt " chunk gives it.
struct TWaveFormat
{
    uint16_t FormatTag = 0;
    uint16_t Channels = 0;
    uint32_t SamplesPerSec = 0;
    uint32_t AvgBytesPerSec = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;
    // Always 0: the program never reads a format's extension.
    uint16_t ExtraSize = 0;

    friend bool operator==(const TWaveFormat &, const TWaveFormat &) = default;
};

inline constexpr uint16_t WaveFormatPcm = 1;
inline constexpr uint16_t WaveFormatIeeeFloat = 3;
inline constexpr uint16_t WaveFormatALaw = 6;
inline constexpr uint16_t WaveFormatMuLaw = 7;
inline constexpr uint16_t WaveFormatMpegLayer3 = 0x55;
inline constexpr uint16_t WaveFormatExtensible = 0xFFFE;
// What recordings are made in and what the encoder takes: PCM, mono, 44100 Hz, 16 bits.
inline constexpr TWaveFormat RecordingFormat{WaveFormatPcm, 1, 44100, 88200, 2, 16, 0};
// The header the program writes: RIFF, WAVE, a 16-byte "fmt " chunk and "data" at byte 36.
inline constexpr int CanonicalHeaderSize = 44;

// Where a WAV file's samples lie.
struct TWaveInfo
{
    TWaveFormat Format;
    // What the samples are: the format tag, or for an extensible format the tag its sub-format
    // names (0 when the extension is missing or names no tag).
    uint16_t SampleFormat = 0;
    int64_t DataOffset = 0;
    // The "data" chunk's length, cut to what the file holds.
    int64_t DataLength = 0;
    // "RIFF" at 0, "WAVE" at 8, a 16-byte "fmt " chunk at 12, "data" at 36, and nothing after
    // the samples.
    bool Canonical = false;
};

// Walks a RIFF/WAVE file's chunks from byte 12 and takes the first "fmt " chunk of at least 16
// bytes and the first "data" chunk, whatever the format tag. False for anything else (an MP3, a
// text, a cut-off header).
bool ParseWav(QIODevice &file, TWaveInfo &info);
bool ParseWav(const std::string &fileName, TWaveInfo &info);

// The 44-byte canonical header for dataLength bytes of samples.
std::string CanonicalHeader(const TWaveFormat &format, uint32_t dataLength);
// Writes the canonical header and the samples; false when the file cannot be written.
bool WriteCanonicalWav(const std::string &fileName, const TWaveFormat &format, const char *data,
                       uint32_t length);
