#include "sound/WavFile.h"

#include "platform/ReadOpen.h"
#include "sound/SoundFiles.h"

#include <QFile>
#include <algorithm>
#include <cstring>

namespace {

constexpr int RiffHeaderSize = 12;
constexpr int ChunkHeaderSize = 8;
constexpr uint32_t PcmFormatSize = 16;
constexpr int CanonicalFmtOffset = 12;
constexpr int CanonicalDataOffset = 36;
// An extensible format's extension: its size, the valid bits, the channel mask and a 16-byte
// sub-format whose first two bytes are a format tag and whose rest is always the same.
constexpr uint32_t ExtensibleFormatSize = 40;
constexpr int SubFormatAt = 24;
constexpr int SubFormatTagSize = 2;
constexpr char SubFormatTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
constexpr int SubFormatTailSize = sizeof SubFormatTail - 1;

uint16_t U16(const char *bytes)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[0])
                                 | static_cast<uint8_t>(bytes[1]) << 8);
}

uint32_t U32(const char *bytes)
{
    return static_cast<uint32_t>(U16(bytes)) | static_cast<uint32_t>(U16(bytes + 2)) << 16;
}

void Put16(std::string &out, uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string &out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

bool ReadAt(QIODevice &file, int64_t pos, char *bytes, int count)
{
    return file.seek(pos) && file.read(bytes, count) == count;
}

} // namespace

bool ParseWav(QIODevice &file, TWaveInfo &info)
{
    info = {};
    const int64_t size = file.size();
    char riff[RiffHeaderSize];
    if (!ReadAt(file, 0, riff, RiffHeaderSize) || std::memcmp(riff, "RIFF", 4) != 0
        || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    bool haveData = false;
    int64_t formatAt = 0;
    uint32_t formatSize = 0;
    for (int64_t pos = RiffHeaderSize;
         pos + ChunkHeaderSize <= size && !(haveFormat && haveData);) {
        char chunk[ChunkHeaderSize];
        if (!ReadAt(file, pos, chunk, ChunkHeaderSize))
            return false;
        const uint32_t length = U32(chunk + 4);
        const int64_t body = pos + ChunkHeaderSize;
        if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0 && length >= PcmFormatSize) {
            char format[ExtensibleFormatSize];
            const int formatBytes = static_cast<int>(std::min(length, ExtensibleFormatSize));
            if (!ReadAt(file, body, format, formatBytes))
                return false;
            info.Format = {U16(format),
                           U16(format + 2),
                           U32(format + 4),
                           U32(format + 8),
                           U16(format + 12),
                           U16(format + 14),
                           0};
            info.SampleFormat = info.Format.FormatTag;
            if (info.Format.FormatTag == WaveFormatExtensible)
                info.SampleFormat = formatBytes == static_cast<int>(ExtensibleFormatSize)
                                && std::memcmp(format + SubFormatAt + SubFormatTagSize,
                                               SubFormatTail, SubFormatTailSize)
                                        == 0
                        ? U16(format + SubFormatAt)
                        : 0;
            haveFormat = true;
            formatAt = pos;
            formatSize = length;
        } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
            info.DataOffset = body;
            info.DataLength = std::min<int64_t>(length, size - body);
            haveData = true;
        }
        // Chunks are padded to an even length.
        pos = body + length + (length & 1);
    }
    if (!haveFormat || !haveData)
        return false;
    info.Canonical = formatAt == CanonicalFmtOffset && formatSize == PcmFormatSize
            && info.DataOffset == CanonicalDataOffset + ChunkHeaderSize
            && info.DataOffset + info.DataLength == size;
    return true;
}

bool ParseWav(const std::string &fileName, TWaveInfo &info)
{
    QFile file(FileNameOf(fileName));
    return OpenRegularFile(file) && ParseWav(file, info);
}

std::string CanonicalHeader(const TWaveFormat &format, uint32_t dataLength)
{
    std::string header;
    header.reserve(CanonicalHeaderSize);
    header += "RIFF";
    Put32(header, dataLength + (CanonicalHeaderSize - ChunkHeaderSize));
    header += "WAVEfmt ";
    Put32(header, PcmFormatSize);
    Put16(header, format.FormatTag);
    Put16(header, format.Channels);
    Put32(header, format.SamplesPerSec);
    Put32(header, format.AvgBytesPerSec);
    Put16(header, format.BlockAlign);
    Put16(header, format.BitsPerSample);
    header += "data";
    Put32(header, dataLength);
    return header;
}

bool WriteCanonicalWav(const std::string &fileName, const TWaveFormat &format, const char *data,
                       uint32_t length)
{
    QFile file(FileNameOf(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const std::string header = CanonicalHeader(format, length);
    return file.write(header.data(), CanonicalHeaderSize) == CanonicalHeaderSize
            && (length == 0 || file.write(data, length) == length) && file.flush();
}
