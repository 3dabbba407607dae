#include "core/Unit_Streams.h"

#include "core/Unit_Charsets.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

namespace {
constexpr size_t BlockSize = 256 * 1024;
constexpr uint8_t LevelCount = 4;
} // namespace

TStreamReader::TStreamReader(QIODevice &device)
    : Device(device)
    , Buffer(BlockSize)
    , Size(device.size() - device.pos())
{
    Next = End = Buffer.data();
}

bool TStreamReader::Refill()
{
    if (Next != End)
        return true;
    if (DeviceEnded)
        return false;
    Consumed += End - Buffer.data();
    const qint64 got = Device.read(Buffer.data(), static_cast<qint64>(Buffer.size()));
    Next = Buffer.data();
    End = Next + std::max<qint64>(got, 0);
    if (got <= 0)
        DeviceEnded = true;
    return Next != End;
}

int64_t TStreamReader::Remaining() const
{
    return std::max<int64_t>(Size - Position(), 0);
}

bool TStreamReader::AtEnd()
{
    return !Refill();
}

bool TStreamReader::ReadStr(std::string &text, size_t maxLength)
{
    text.clear();
    while (Refill()) {
        const auto *zero = static_cast<const char *>(std::memchr(Next, 0, End - Next));
        const char *stop = zero ? zero : End;
        if (text.size() + static_cast<size_t>(stop - Next) > maxLength)
            return false;
        text.append(Next, stop);
        Next = stop;
        if (zero) {
            ++Next;
            return true;
        }
    }
    return false;
}

bool TStreamReader::ReadBytes(char *data, size_t size)
{
    while (size > 0) {
        if (!Refill())
            return false;
        const size_t part = std::min(size, static_cast<size_t>(End - Next));
        std::memcpy(data, Next, part);
        Next += part;
        data += part;
        size -= part;
    }
    return true;
}

bool TStreamReader::ReadInt(int32_t &value)
{
    unsigned char bytes[4];
    if (!ReadBytes(reinterpret_cast<char *>(bytes), sizeof bytes))
        return false;
    const uint32_t bits = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16)
            | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
    value = static_cast<int32_t>(bits);
    return true;
}

bool TStreamReader::ReadByte(uint8_t &value)
{
    if (!Refill())
        return false;
    value = static_cast<uint8_t>(*Next++);
    return true;
}

bool TStreamReader::ReadCharset(uint8_t &value)
{
    return ReadByte(value) && IsSupportedCharset(value);
}

bool TStreamReader::ReadLevel(uint8_t &value)
{
    return ReadByte(value) && value < LevelCount;
}

TStreamWriter::TStreamWriter(QIODevice &device)
    : Device(device)
{
    Buffer.reserve(BlockSize);
}

TStreamWriter::~TStreamWriter()
{
    Flush();
}

// A file that fills up takes part of a block without a word of why; only the write after it
// fails and leaves the system's reason with the device. So a short write goes on with the rest.
bool TStreamWriter::WriteAll(const char *data, size_t size)
{
    while (size > 0) {
        const qint64 taken = Device.write(data, static_cast<qint64>(size));
        if (taken <= 0) {
            HasFailed = true;
            return false;
        }
        data += taken;
        size -= static_cast<size_t>(taken);
        Written += taken;
    }
    return true;
}

void TStreamWriter::WriteBytes(const char *data, size_t size)
{
    if (HasFailed)
        return;
    if (Buffer.size() + size > BlockSize && !Flush())
        return;
    if (size >= BlockSize) {
        WriteAll(data, size);
        return;
    }
    Buffer.append(data, size);
}

void TStreamWriter::WriteStr(const std::string &text)
{
    WriteBytes(text.c_str(), text.size() + 1);
}

void TStreamWriter::WriteInt(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
                           static_cast<char>(bits >> 8), static_cast<char>(bits)};
    WriteBytes(bytes, sizeof bytes);
}

void TStreamWriter::WriteByte(uint32_t value)
{
    const char byte = static_cast<char>(value & 0xFF);
    WriteBytes(&byte, 1);
}

void TStreamWriter::WriteCharset(uint8_t value)
{
    WriteByte(value);
}

void TStreamWriter::WriteLevel(uint8_t value)
{
    WriteByte(value);
}

bool TStreamWriter::Flush()
{
    if (HasFailed)
        return false;
    const bool written = WriteAll(Buffer.data(), Buffer.size());
    Buffer.clear();
    return written;
}

bool CopyBytes(TStreamReader &from, TStreamWriter &to, int64_t size)
{
    while (size > 0) {
        if (!from.Refill())
            return false;
        const auto part = static_cast<size_t>(std::min<int64_t>(size, from.End - from.Next));
        to.WriteBytes(from.Next, part);
        from.Next += part;
        size -= static_cast<int64_t>(part);
        if (to.Failed())
            return false;
    }
    return true;
}
