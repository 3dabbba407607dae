#include "core/Unit_Streams.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

// A reader over bytes held in memory.
struct TMemoryReader
{
    explicit TMemoryReader(const std::string &bytes)
        : Bytes(QByteArray::fromStdString(bytes))
        , Device(&Bytes)
    {
        Device.open(QIODevice::ReadOnly);
    }
    QByteArray Bytes;
    QBuffer Device;
    TStreamReader Reader{Device};
};

// A device that takes a fixed number of bytes and refuses the rest.
class TFullDevice : public QIODevice
{
public:
    explicit TFullDevice(qint64 room)
        : Room(room)
    {
        open(QIODevice::WriteOnly);
    }
    QByteArray Taken;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (size > Room)
            return -1;
        Room -= size;
        Taken.append(data, size);
        return size;
    }

private:
    qint64 Room;
};

} // namespace

TEST(Streams, StringsEndAtTheirZeroByteAndKeepTheirLimit)
{
    TMemoryReader in(std::string("abc\0\0", 5) + std::string(1000, 'x') + '\0'
                     + std::string(1001, 'y') + '\0');
    std::string text;
    EXPECT_TRUE(in.Reader.ReadStr(text));
    EXPECT_EQ("abc", text);
    EXPECT_TRUE(in.Reader.ReadStr(text));
    EXPECT_EQ("", text);
    EXPECT_TRUE(in.Reader.ReadStr(text));
    EXPECT_EQ(1000u, text.size());
    EXPECT_FALSE(in.Reader.ReadStr(text));

    TMemoryReader unterminated("abc");
    EXPECT_FALSE(unterminated.Reader.ReadStr(text));
    TMemoryReader empty("");
    EXPECT_FALSE(empty.Reader.ReadStr(text));
    EXPECT_TRUE(empty.Reader.AtEnd());
}

TEST(Streams, NumbersAreBigEndianAndCheckedWhereTheyMustBe)
{
    TMemoryReader in(std::string("\x01\x02\x03\x04\xFF\xFF\xFF\xFE\xEF\x03\x04\x02\x01\x00", 14));
    int32_t value = 0;
    uint8_t byte = 0;
    EXPECT_TRUE(in.Reader.ReadInt(value));
    EXPECT_EQ(0x01020304, value);
    EXPECT_TRUE(in.Reader.ReadInt(value));
    EXPECT_EQ(-2, value);
    EXPECT_FALSE(in.Reader.ReadCharset(byte));
    EXPECT_EQ(0xEF, byte);
    EXPECT_TRUE(in.Reader.ReadLevel(byte));
    EXPECT_EQ(3, byte);
    EXPECT_FALSE(in.Reader.ReadLevel(byte));
    EXPECT_FALSE(in.Reader.ReadCharset(byte));
    EXPECT_EQ(12, in.Reader.Position());
    EXPECT_EQ(2, in.Reader.Remaining());
    EXPECT_FALSE(in.Reader.ReadInt(value));
}

TEST(Streams, WrittenPrimitivesReadBack)
{
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    {
        TStreamWriter out(device);
        out.WriteStr("word");
        out.WriteInt(0x7F000001);
        out.WriteByte(0x1A5);
        out.WriteCharset(238);
        out.WriteLevel(2);
        EXPECT_EQ(12, out.Position());
        EXPECT_TRUE(out.Flush());
    }
    EXPECT_EQ(QByteArray("word\0\x7F\0\0\x01\xA5\xEE\x02", 12), bytes);
}

TEST(Streams, CopiesRunAcrossBlockBoundaries)
{
    std::string sound(700 * 1024, '\0');
    for (size_t i = 0; i < sound.size(); ++i)
        sound[i] = static_cast<char>(i * 7);
    TMemoryReader in("hdr" + std::string(1, '\0') + sound + "tail");
    std::string text;
    ASSERT_TRUE(in.Reader.ReadStr(text));
    QByteArray copied;
    QBuffer device(&copied);
    device.open(QIODevice::WriteOnly);
    TStreamWriter out(device);
    EXPECT_TRUE(CopyBytes(in.Reader, out, static_cast<int64_t>(sound.size())));
    EXPECT_TRUE(out.Flush());
    EXPECT_EQ(QByteArray::fromStdString(sound), copied);
    EXPECT_FALSE(CopyBytes(in.Reader, out, 5));
}

TEST(Streams, AFailedWriteStaysFailed)
{
    TFullDevice device(10);
    TStreamWriter out(device);
    out.WriteStr("0123456789");
    EXPECT_FALSE(out.Flush());
    EXPECT_TRUE(out.Failed());
    out.WriteStr("a");
    EXPECT_FALSE(out.Flush());
    EXPECT_TRUE(device.Taken.isEmpty());

    TFullDevice big(100);
    TStreamWriter large(big);
    const std::string block(300 * 1024, 'b');
    large.WriteBytes(block.data(), block.size());
    EXPECT_TRUE(large.Failed());
}

TEST(Streams, AReaderStartedInsideADeviceCountsOnlyTheBytesAfterItsStart)
{
    QByteArray bytes("prefix"
                     "\0\0\0\7"
                     "abc",
                     13);
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    device.seek(6);
    TStreamReader reader(device);
    EXPECT_EQ(7, reader.Remaining());
    int32_t value = 0;
    EXPECT_TRUE(reader.ReadInt(value));
    EXPECT_EQ(7, value);
    EXPECT_EQ(3, reader.Remaining());
}
