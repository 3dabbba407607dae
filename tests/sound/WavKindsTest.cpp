#include "platform/Mp3Decoder.h"
#include "sound/AudioConvert.h"
#include "sound/Unit_ConvertThread.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

// Every kind of PCM WAV that recorders and editors write, made here sample by sample, goes
// through the conversion: the MP3 holds as many samples as the data chunk, at the loudness and
// pitch they had, whatever chunks follow the samples.

namespace {

constexpr uint16_t TagPcm = 1;
constexpr uint16_t TagFloat = 3;
constexpr uint16_t TagALaw = 6;
constexpr uint16_t TagMuLaw = 7;
constexpr uint16_t TagExtensible = 0xFFFE;
// LAME's delay and the last frame's filling: what a decoder gives beyond the samples encoded.
constexpr int EncoderSlack = 3 * 1152;
constexpr double ToneHz = 440;
constexpr double Seconds = 0.5;
constexpr int Amplitude = 12000;

// G.711 compression, the textbook way: segment by segment.
uint8_t ALawCode(int16_t sample)
{
    int value = sample;
    const uint8_t sign = value >= 0 ? 0x80 : 0x00;
    if (value < 0)
        value = -value - 1;
    value = std::min(value, 32767) >> 3;
    int segment = 0;
    while (segment < 7 && value >= (32 << segment))
        ++segment;
    const int mantissa = segment == 0 ? value >> 1 : (value >> segment) & 0x0F;
    return static_cast<uint8_t>((sign | segment << 4 | mantissa) ^ 0x55);
}

uint8_t MuLawCode(int16_t sample)
{
    constexpr int Bias = 0x84;
    int value = sample;
    const uint8_t sign = value < 0 ? 0x80 : 0x00;
    value = std::min(std::abs(value), 32635) + Bias;
    int segment = 7;
    while (segment > 0 && !(value & (0x4000 >> (7 - segment))))
        --segment;
    const int mantissa = (value >> (segment + 3)) & 0x0F;
    return static_cast<uint8_t>(~(sign | segment << 4 | mantissa));
}

struct TKind
{
    const char *Name;
    uint16_t Tag;
    uint16_t SubFormat;
    uint16_t Bits;
    // The bytes of one sample.
    std::function<std::string(int16_t)> Encode;
    // How far a sample may come back from its 16-bit value.
    int Tolerance;
};

std::string Bytes(uint32_t value, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

const std::vector<TKind> &Kinds()
{
    static const std::vector<TKind> kinds{
            {"8-bit", TagPcm, 0, 8,
             [](int16_t s) { return std::string(1, static_cast<char>((s >> 8) + 128)); }, 256},
            {"16-bit", TagPcm, 0, 16, [](int16_t s) { return Le16(static_cast<uint16_t>(s)); }, 0},
            // The bits below the top 16 are noise the conversion drops.
            {"24-bit", TagPcm, 0, 24,
             [](int16_t s) { return Bytes(static_cast<uint32_t>(s) << 8 | 0xA5, 3); }, 0},
            {"32-bit", TagPcm, 0, 32,
             [](int16_t s) { return Bytes(static_cast<uint32_t>(s) << 16 | 0x5AA5, 4); }, 0},
            {"32-bit float", TagFloat, 0, 32,
             [](int16_t s) {
                 const float value = static_cast<float>(s) / 32768.0F;
                 uint32_t bits = 0;
                 std::memcpy(&bits, &value, sizeof bits);
                 return Bytes(bits, 4);
             },
             0},
            {"A-law", TagALaw, 0, 8,
             [](int16_t s) { return std::string(1, static_cast<char>(ALawCode(s))); }, 1024},
            {"mu-law", TagMuLaw, 0, 8,
             [](int16_t s) { return std::string(1, static_cast<char>(MuLawCode(s))); }, 1024},
            {"extensible 16-bit", TagExtensible, TagPcm, 16,
             [](int16_t s) { return Le16(static_cast<uint16_t>(s)); }, 0},
            {"extensible 24-bit", TagExtensible, TagPcm, 24,
             [](int16_t s) { return Bytes(static_cast<uint32_t>(s) << 8, 3); }, 0},
            {"extensible float", TagExtensible, TagFloat, 32,
             [](int16_t s) {
                 const float value = static_cast<float>(s) / 32768.0F;
                 uint32_t bits = 0;
                 std::memcpy(&bits, &value, sizeof bits);
                 return Bytes(bits, 4);
             },
             0},
    };
    return kinds;
}

// A "fmt " chunk of the kind: 16 bytes, 18 for the 8-bit companded ones, 40 with a sub-format.
std::string FormatBody(const TKind &kind, uint16_t channels, uint32_t rate)
{
    const auto block = static_cast<uint16_t>(channels * kind.Bits / 8);
    std::string body = Le16(kind.Tag) + Le16(channels) + Le32(rate) + Le32(rate * block)
            + Le16(block) + Le16(kind.Bits);
    if (kind.Tag == TagExtensible)
        body += Le16(22) + Le16(kind.Bits) + Le32(channels == 1 ? 0x4 : 0x3) + Le16(kind.SubFormat)
                + std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    else if (kind.Tag != TagPcm)
        body += Le16(0);
    return body;
}

std::string Samples(const TKind &kind, const std::vector<int16_t> &left,
                    const std::vector<int16_t> *right)
{
    std::string bytes;
    for (size_t i = 0; i < left.size(); ++i) {
        bytes += kind.Encode(left[i]);
        if (right)
            bytes += kind.Encode((*right)[i]);
    }
    return bytes;
}

std::vector<int16_t> Decode(const std::string &fileName)
{
    std::vector<int16_t> samples;
    TMp3Decoder decoder;
    int error = 0;
    if (!decoder.Open(fileName, error) || decoder.Channels() != 1 || decoder.Rate() != 44100)
        return samples;
    std::vector<int16_t> block(4096);
    for (long got; (got = decoder.Read(block.data(), 4096)) > 0;)
        samples.insert(samples.end(), block.begin(), block.begin() + got);
    return samples;
}

int ZeroCrossings(const std::vector<int16_t> &samples, size_t from, size_t to)
{
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings;
}

class WavKindsTest : public ::testing::Test
{
protected:
    int Convert(const std::string &bytes, std::vector<int16_t> &decoded)
    {
        const std::string source = WriteFile(Temp.File("in.wav"), bytes);
        const std::string dest = Temp.File("out.mp3");
        QFile::remove(QString::fromStdString(dest));
        TConvertTask task;
        task.Mode = cmOneFile;
        task.SourceFile = source;
        task.DestFile = dest;
        TConvertThread thread(task, nullptr, nullptr);
        thread.Execute();
        decoded = thread.Result == crDone ? Decode(dest) : std::vector<int16_t>{};
        return thread.Result;
    }

    TTempFolder Temp;
};

} // namespace

// The samples of every kind come back as the 16-bit values they stand for.
TEST_F(WavKindsTest, EveryKindDecodesToItsSixteenBitValues)
{
    const std::vector<int16_t> ramp{0, 1, -1, 255, -256, 1000, -1000, 12345, -12345, 32767, -32768};
    for (const TKind &kind : Kinds()) {
        SCOPED_TRACE(kind.Name);
        const TWaveFormat format{
                kind.Tag,  1, 44100, 44100u * kind.Bits / 8, static_cast<uint16_t>(kind.Bits / 8),
                kind.Bits, 0};
        const uint16_t sampleFormat = kind.SubFormat ? kind.SubFormat : kind.Tag;
        const std::string bytes = Samples(kind, ramp, nullptr);
        std::vector<int16_t> out;
        ASSERT_TRUE(
                ConvertToRecordingFormat(format, sampleFormat, bytes.data(), bytes.size(), out));
        ASSERT_EQ(ramp.size(), out.size());
        for (size_t i = 0; i < ramp.size(); ++i)
            EXPECT_LE(std::abs(out[i] - ramp[i]),
                      std::max(kind.Tolerance, kind.Tolerance * std::abs(ramp[i]) / 16384))
                    << "sample " << i;
    }
    // G.711's fixed points.
    const TWaveFormat aLaw{TagALaw, 1, 44100, 44100, 1, 8, 0};
    const TWaveFormat muLaw{TagMuLaw, 1, 44100, 44100, 1, 8, 0};
    std::vector<int16_t> out;
    ASSERT_TRUE(ConvertToRecordingFormat(aLaw, "\xD5\x55\xAA\x2A", 4, out));
    EXPECT_EQ((std::vector<int16_t>{8, -8, 32256, -32256}), out);
    ASSERT_TRUE(ConvertToRecordingFormat(muLaw, "\xFF\x7F\x80\x00", 4, out));
    EXPECT_EQ((std::vector<int16_t>{0, 0, 32124, -32124}), out);
    // Float beyond full scale is clipped, not wrapped.
    const float loud[] = {1.5F, -2.0F};
    const TWaveFormat floats{TagFloat, 1, 44100, 176400, 4, 32, 0};
    ASSERT_TRUE(ConvertToRecordingFormat(floats, reinterpret_cast<const char *>(loud), 8, out));
    EXPECT_EQ((std::vector<int16_t>{32767, -32768}), out);
}

// Each kind, mono and stereo, at common rates, with a LIST chunk after the samples: the MP3 holds
// the tone, no longer than the data chunk and without a burst at its end.
TEST_F(WavKindsTest, EveryKindConvertsToMp3OfItsLengthAndPitch)
{
    for (const TKind &kind : Kinds()) {
        for (const uint32_t rate : {8000u, 22050u, 44100u, 48000u, 96000u}) {
            for (const uint16_t channels : {1, 2}) {
                SCOPED_TRACE(std::string(kind.Name) + " " + std::to_string(rate) + " Hz "
                             + std::to_string(channels) + " channels");
                const std::vector<int16_t> tone = Sine(rate, ToneHz, Seconds, Amplitude);
                const std::string wav
                        = TWavBytes()
                                  .Chunk("fmt ", FormatBody(kind, channels, rate))
                                  .Data(Samples(kind, tone, channels == 2 ? &tone : nullptr))
                                  .Chunk("LIST", std::string(3000, '\x7F'))
                                  .Bytes();
                std::vector<int16_t> decoded;
                ASSERT_EQ(crDone, Convert(wav, decoded));
                const double expected = Seconds * 44100;
                EXPECT_GE(static_cast<double>(decoded.size()), expected - 4);
                EXPECT_LE(static_cast<double>(decoded.size()), expected + EncoderSlack);
                const auto [low, high] = std::minmax_element(decoded.begin(), decoded.end());
                EXPECT_NEAR(Amplitude, *high, Amplitude / 8);
                EXPECT_NEAR(-Amplitude, *low, Amplitude / 8);
                const size_t from = 2000;
                const size_t to = static_cast<size_t>(expected) - 2000;
                EXPECT_NEAR(2 * ToneHz * (to - from) / 44100.0, ZeroCrossings(decoded, from, to),
                            4);
            }
        }
    }
}

// The data chunk's length rules: a short claim encodes only what it claims, a claim beyond the
// file is cut to the file, and chunks after the samples never reach the encoder.
TEST_F(WavKindsTest, OnlyTheDataChunkIsEncoded)
{
    const std::vector<int16_t> voice = Sine(44100, ToneHz, Seconds, 7714);
    const std::string samples = Pcm16(voice);
    std::vector<int16_t> decoded;
    // A canonical file followed by a loud chunk.
    ASSERT_EQ(crDone,
              Convert(TWavBytes::Canonical(1, 1, 44100, 16, samples) + "LIST" + Le32(2300)
                              + std::string(2300, '\x7F'),
                      decoded));
    EXPECT_LE(static_cast<int>(decoded.size()), 22050 + EncoderSlack);
    EXPECT_LE(*std::max_element(decoded.begin(), decoded.end()), 7714 + 1000);
    // Claims of 0, 1 and 3 bytes with a whole second behind them.
    for (const uint32_t claim : {0u, 1u, 3u}) {
        SCOPED_TRACE(claim);
        ASSERT_EQ(
                crDone,
                Convert(TWavBytes().Format(1, 1, 44100, 16).Data(samples, claim).Bytes(), decoded));
        EXPECT_LE(static_cast<int>(decoded.size()), EncoderSlack);
    }
    // A claim beyond the file, in another format too.
    for (const uint16_t bits : {16, 24}) {
        SCOPED_TRACE(bits);
        const TKind &kind = Kinds()[bits == 16 ? 1 : 2];
        ASSERT_EQ(crDone,
                  Convert(TWavBytes()
                                  .Chunk("fmt ", FormatBody(kind, 1, 44100))
                                  .Data(Samples(kind, voice, nullptr), 0x7FFFFFF0)
                                  .Bytes(),
                          decoded));
        EXPECT_GE(static_cast<int>(decoded.size()), 22050 - 4);
        EXPECT_LE(static_cast<int>(decoded.size()), 22050 + EncoderSlack);
    }
}

// What is no PCM of these kinds is refused, never encoded as noise.
TEST_F(WavKindsTest, OtherFormatsAreRefused)
{
    const std::string silence(8820, '\0');
    const TKind &sixteen = Kinds()[1];
    TKind adpcmExtensible = Kinds()[7];
    adpcmExtensible.SubFormat = 2;
    TKind noSubFormat = Kinds()[7];
    std::string shortExtensible = FormatBody(noSubFormat, 1, 44100).substr(0, 18);
    shortExtensible[16] = 0;
    const std::vector<std::string> refused{
            TWavBytes().Chunk("fmt ", FormatBody(adpcmExtensible, 1, 44100)).Data(silence).Bytes(),
            TWavBytes().Chunk("fmt ", shortExtensible).Data(silence).Bytes(),
            TWavBytes().Format(2, 1, 8000, 4, 20).Data(silence).Bytes(),
            TWavBytes().Format(0x11, 1, 8000, 4, 20).Data(silence).Bytes(),
            TWavBytes().Format(0x55, 1, 44100, 0, 30).Data(silence).Bytes(),
            TWavBytes().Format(1, 1, 44100, 12).Data(silence).Bytes(),
            TWavBytes().Format(3, 1, 44100, 64).Data(silence).Bytes(),
            TWavBytes().Format(6, 1, 8000, 16, 18).Data(silence).Bytes(),
            TWavBytes().Chunk("fmt ", FormatBody(sixteen, 0, 44100)).Data(silence).Bytes(),
            TWavBytes().Chunk("fmt ", FormatBody(sixteen, 3, 44100)).Data(silence).Bytes(),
            TWavBytes().Chunk("fmt ", FormatBody(sixteen, 1, 0)).Data(silence).Bytes(),
            TWavBytes().Chunk("fmt ", FormatBody(sixteen, 1, 100)).Data(silence).Bytes(),
    };
    for (size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<int16_t> decoded;
        EXPECT_EQ(crFailed, Convert(refused[i], decoded));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Temp.File("out.mp3")))
                     && QFile(QString::fromStdString(Temp.File("out.mp3"))).size() > 0);
    }
}
