#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class QIODevice;

// The byte primitives of word-list files and clipboard payloads, over any QIODevice (a file, or a
// buffer in memory). Both sides keep a block buffer of their own, so strings can be taken a byte at
// a time without a call into the operating system per byte; files written through a writer are
// best opened unbuffered, so that a failure shows here with the system's reason.

class TStreamReader
{
public:
    explicit TStreamReader(QIODevice &device);

    // Bytes consumed so far, and the bytes the device still holds after them.
    int64_t Position() const { return Consumed + static_cast<int64_t>(Next - Buffer.data()); }
    int64_t Remaining() const;
    bool AtEnd();

    // A 0-terminated string of at most maxLength bytes before the 0. False when the stream ends
    // before the 0 or the string is longer.
    bool ReadStr(std::string &text, size_t maxLength = 1000);
    // 4 bytes, most significant first.
    bool ReadInt(int32_t &value);
    bool ReadByte(uint8_t &value);
    // One of the supported font character sets; the value is handed back even when it is not.
    bool ReadCharset(uint8_t &value);
    // An exercise level, 0..3.
    bool ReadLevel(uint8_t &value);
    bool ReadBytes(char *data, size_t size);

private:
    friend bool CopyBytes(TStreamReader &from, class TStreamWriter &to, int64_t size);

    bool Refill();

    QIODevice &Device;
    std::vector<char> Buffer;
    const char *Next = nullptr;
    const char *End = nullptr;
    int64_t Consumed = 0;
    // The bytes from the device's position when reading began to its end, taken once: asking a
    // file for its size is a system call.
    int64_t Size = 0;
    bool DeviceEnded = false;
};

class TStreamWriter
{
public:
    explicit TStreamWriter(QIODevice &device);
    ~TStreamWriter();
    TStreamWriter(const TStreamWriter &) = delete;
    TStreamWriter &operator=(const TStreamWriter &) = delete;

    // Bytes written so far, buffered ones included.
    int64_t Position() const { return Written + static_cast<int64_t>(Buffer.size()); }

    void WriteStr(const std::string &text);
    void WriteInt(int32_t value);
    void WriteByte(uint32_t value);
    void WriteCharset(uint8_t value);
    void WriteLevel(uint8_t value);
    void WriteBytes(const char *data, size_t size);

    // Hands the buffered bytes to the device. False once any write has failed; a failed writer
    // stays failed and writes nothing more.
    bool Flush();
    bool Failed() const { return HasFailed; }

private:
    bool WriteAll(const char *data, size_t size);

    QIODevice &Device;
    std::string Buffer;
    int64_t Written = 0;
    bool HasFailed = false;
};

// Copies size bytes from a reader to a writer in bounded blocks. False when the reader holds
// fewer bytes or the writer fails.
bool CopyBytes(TStreamReader &from, TStreamWriter &to, int64_t size);
