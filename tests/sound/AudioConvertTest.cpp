#include "sound/AudioConvert.h"
#include "support/WavBytes.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

int ZeroCrossings(const std::vector<int16_t> &samples)
{
    int crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings;
}

} // namespace

TEST(AudioConvert, SamplesBecomeMono16BitAt44100)
{
    std::vector<int16_t> out;
    // Two channels are averaged exactly: opposite channels cancel.
    const std::string opposite = Pcm16({1000, -1000, -32768, 32767, 7, -7});
    ASSERT_TRUE(ConvertToRecordingFormat({1, 2, 44100, 176400, 4, 16, 0}, opposite.data(),
                                         opposite.size(), out));
    EXPECT_EQ((std::vector<int16_t>{0, -1, 0}), out);
    // 8-bit samples are unsigned around 128; a partial frame at the end is left out.
    const std::string eight("\x80\xFF\x00\x81\x7F", 5);
    ASSERT_TRUE(ConvertToRecordingFormat({1, 1, 44100, 44100, 1, 8, 0}, eight.data(), 5, out));
    EXPECT_EQ((std::vector<int16_t>{0, 32512, -32768, 256, -256}), out);
    ASSERT_TRUE(ConvertToRecordingFormat({1, 2, 44100, 88200, 2, 8, 0}, eight.data(), 5, out));
    EXPECT_EQ((std::vector<int16_t>{16256, -16256}), out);

    // Other rates are resampled: a 1 kHz tone stays 1 kHz at twice the samples, as loud as it
    // was.
    const std::vector<int16_t> tone = Sine(22050, 1000, 0.5, 20000);
    const std::string toneBytes = Pcm16(tone);
    ASSERT_TRUE(ConvertToRecordingFormat({1, 1, 22050, 44100, 2, 16, 0}, toneBytes.data(),
                                         toneBytes.size(), out));
    EXPECT_NEAR(2.0 * static_cast<double>(tone.size()), static_cast<double>(out.size()), 2);
    EXPECT_NEAR(1000, ZeroCrossings(out), 10);
    const auto [low, high] = std::minmax_element(out.begin() + 1000, out.end() - 1000);
    EXPECT_NEAR(20000, *high, 1000);
    EXPECT_NEAR(-20000, *low, 1000);

    // What the conversion does not take: other tags, other sample sizes, more channels, rates
    // the resampler cannot bring to 44100 Hz.
    for (const TWaveFormat &format :
         {TWaveFormat{3, 1, 44100, 352800, 8, 64, 0}, TWaveFormat{6, 1, 8000, 16000, 2, 16, 0},
          TWaveFormat{2, 1, 8000, 4096, 256, 4, 0}, TWaveFormat{0x11, 1, 8000, 4055, 256, 4, 0},
          TWaveFormat{0x55, 1, 44100, 8000, 1, 0, 0},
          TWaveFormat{0xFFFE, 1, 44100, 88200, 2, 16, 0}, TWaveFormat{1, 1, 44100, 66150, 2, 12, 0},
          TWaveFormat{1, 3, 44100, 264600, 6, 16, 0}, TWaveFormat{1, 0, 44100, 0, 0, 16, 0},
          TWaveFormat{1, 1, 0, 0, 2, 16, 0}, TWaveFormat{1, 1, 44100, 0, 0, 0, 0},
          TWaveFormat{1, 1, 172, 344, 2, 16, 0}, TWaveFormat{1, 1, 11289601, 22579202, 2, 16, 0}}) {
        SCOPED_TRACE(format.FormatTag);
        EXPECT_FALSE(CanConvertToRecordingFormat(format));
        EXPECT_FALSE(ConvertToRecordingFormat(format, toneBytes.data(), toneBytes.size(), out));
    }
}
