#include "sound/PcmBackend.h"
#include "sound/Unit_Sound.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// Keeps the notices the wave device posts to it.
class TNoticeWindow : public QObject
{
public:
    bool event(QEvent *event) override
    {
        if (event->type() != TWaveNotifyEvent::EventType())
            return QObject::event(event);
        Serials.push_back(static_cast<TWaveNotifyEvent *>(event)->Serial);
        return true;
    }
    std::vector<uint32_t> Serials;
};

class WaveDeviceTest : public ::testing::Test
{
protected:
    WaveDeviceTest() { Previous = SetPcmBackend(&Backend); }
    ~WaveDeviceTest() override
    {
        StopPlayback();
        StopRecording(Temp.File("left.wav"));
        CloseWave();
        SetPcmBackend(Previous);
    }

    std::string Write(const std::string &name, const std::string &bytes)
    {
        return WriteFile(Temp.File(name), bytes);
    }

    TTempFolder Temp;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
    // Lives past the fixture's stop of any playback.
    TNoticeWindow Window;
};

} // namespace

TEST_F(WaveDeviceTest, ARecordingFedFromAWavRoundTripsIntoTheCanonicalFile)
{
    const std::string samples = Pcm16(SpeechLike(44100, 0.25));
    // A header of another shape: only the samples count.
    Backend.CaptureFile = Write("voice.wav",
                                TWavBytes()
                                        .Chunk("LIST", "INFOISFT")
                                        .Format(1, 1, 44100, 16, 18)
                                        .Data(samples)
                                        .Bytes());
    ASSERT_TRUE(StartRecording());
    EXPECT_TRUE(WaveDeviceOpen);
    EXPECT_TRUE(WaveRecording);
    // One device at a time: a second recording and a playback are refused, and neither disturbs
    // the recording; format queries answer false without closing it.
    EXPECT_FALSE(StartRecording());
    EXPECT_FALSE(PlayWave(Backend.CaptureFile, nullptr));
    TWaveFormat format;
    EXPECT_FALSE(GetWaveFormat(Backend.CaptureFile, format));
    EXPECT_FALSE(CanOpenWave(Backend.CaptureFile));
    StopPlayback();
    EXPECT_TRUE(WaveRecording);
    EXPECT_TRUE(WaveDeviceOpen);

    const auto frames = static_cast<int64_t>(samples.size() / 2);
    QElapsedTimer waited;
    waited.start();
    while (Backend.FramesCaptured < frames && waited.elapsed() < 5000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const std::string saved = Temp.File("saved.wav");
    StopRecording(saved);
    EXPECT_FALSE(WaveRecording);
    EXPECT_FALSE(WaveDeviceOpen);
    const std::string bytes = ReadFile(saved);
    EXPECT_EQ(TWavBytes::Canonical(1, 1, 44100, 16, samples), bytes);
    ASSERT_EQ(44 + samples.size(), bytes.size());
    EXPECT_EQ(Le32(static_cast<uint32_t>(bytes.size() - 44)), bytes.substr(40, 4));

    // Nothing records now: a stop writes nothing.
    StopRecording(Temp.File("nothing.wav"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Temp.File("nothing.wav"))));
}

TEST_F(WaveDeviceTest, NoMicrophoneLeavesNoDeviceOpen)
{
    EXPECT_FALSE(StartRecording());
    EXPECT_FALSE(WaveDeviceOpen);
    EXPECT_FALSE(WaveRecording);
    // So the next, unrelated operation works.
    const std::string file = Write("beep.wav", TWavBytes::Canonical(1, 1, 8000, 8, "\x80\x90"));
    EXPECT_TRUE(CanOpenWave(file));
    EXPECT_TRUE(PlayWave(file, &Window));
}

TEST_F(WaveDeviceTest, APlaybackNoticesOnceAtItsEndAndNeverAfterAStop)
{
    TNoticeWindow &window = Window;
    const std::string samples(4000, '\x81');
    const std::string file = Write("stereo8.wav", TWavBytes::Canonical(1, 2, 22050, 8, samples));
    Backend.SinkFile = Temp.File("sink.raw");
    Backend.Slowdown = 0;
    ASSERT_TRUE(PlayWave(file, &window));
    EXPECT_TRUE(WavePlaying);
    EXPECT_TRUE(WaveDeviceOpen);
    QTRY_COMPARE_WITH_TIMEOUT(window.Serials.size(), size_t{1}, 5000);
    QTest::qWait(20);
    ASSERT_EQ(size_t{1}, window.Serials.size());
    EXPECT_EQ(samples, ReadFile(Backend.SinkFile));
    const uint32_t first = window.Serials[0];

    // Until its notice is handled the played device stays open; a notice handled late must not
    // end a playback started after it.
    Backend.Slowdown = 1;
    ASSERT_FALSE(PlayWave(file, &window));
    FinishPlayback(first);
    EXPECT_FALSE(WavePlaying);
    EXPECT_FALSE(WaveDeviceOpen);
    const std::string longer = Write(
            "long.wav", TWavBytes::Canonical(1, 1, 8000, 16, Pcm16(Sine(8000, 440, 2, 8000))));
    ASSERT_TRUE(PlayWave(longer, &window));
    FinishPlayback(first);
    EXPECT_TRUE(WavePlaying);
    EXPECT_TRUE(WaveDeviceOpen);
    StopPlayback();
    EXPECT_FALSE(WavePlaying);
    EXPECT_FALSE(WaveDeviceOpen);
    QTest::qWait(50);
    EXPECT_EQ(size_t{1}, window.Serials.size());

    // Formats that do not play are refused and leave nothing open.
    const std::string extensible
            = Write("ext.wav",
                    TWavBytes().Format(0xFFFE, 1, 8000, 16, 40).Data(std::string(2, '\0')).Bytes());
    EXPECT_FALSE(PlayWave(extensible, &window));
    EXPECT_FALSE(WaveDeviceOpen);
    Backend.NoPlayback = true;
    EXPECT_FALSE(PlayWave(file, &window));
    EXPECT_FALSE(WaveDeviceOpen);
    EXPECT_FALSE(WavePlaying);
}

TEST_F(WaveDeviceTest, FormatsAreReadByWalkingTheChunks)
{
    TWaveFormat format;
    const std::string stereo8 = Write("s8.wav", TWavBytes::Canonical(1, 2, 11025, 8, "abcd"));
    ASSERT_TRUE(GetWaveFormat(stereo8, format));
    EXPECT_EQ((TWaveFormat{1, 2, 11025, 22050, 2, 8, 0}), format);

    const std::string extensible
            = Write("ext.wav", TWavBytes().Format(0xFFFE, 2, 48000, 16, 40).Data("abcd").Bytes());
    ASSERT_TRUE(GetWaveFormat(extensible, format));
    EXPECT_EQ(0xFFFE, format.FormatTag);
    EXPECT_EQ(0, format.ExtraSize);

    // A LIST chunk (odd length, padded) before the samples; a data length that claims 4 GiB.
    TWaveInfo info;
    const std::string listFirst = Write(
            "list.wav",
            TWavBytes().Format(1, 1, 8000, 16).Chunk("LIST", "INFOIART1").Data("wxyz").Bytes());
    ASSERT_TRUE(ParseWav(listFirst, info));
    EXPECT_EQ(12 + 24 + 18 + 8, info.DataOffset);
    EXPECT_EQ(4, info.DataLength);
    EXPECT_FALSE(info.Canonical);
    const std::string huge = Write(
            "huge.wav", TWavBytes().Format(1, 1, 8000, 16).Data("wxyz", 0xFFFFFFFF).Bytes());
    ASSERT_TRUE(ParseWav(huge, info));
    EXPECT_EQ(4, info.DataLength);
    EXPECT_TRUE(info.Canonical);

    // Any RIFF/WAVE with both chunks opens, whatever its tag; nothing else does.
    EXPECT_TRUE(CanOpenWave(stereo8));
    EXPECT_TRUE(CanOpenWave(Write("mp3.wav", TWavBytes::Canonical(0x55, 1, 44100, 0, "\xFF\xFB"))));
    EXPECT_FALSE(
            CanOpenWave(Write("a.mp3", std::string("\xFF\xFB\x50\xC0") + std::string(204, 0))));
    EXPECT_FALSE(CanOpenWave(Write("a.txt", "RIFF is a file format.\n")));
    EXPECT_FALSE(
            CanOpenWave(Write("cut.wav", TWavBytes::Canonical(1, 1, 8000, 8, "").substr(0, 30))));
    EXPECT_FALSE(CanOpenWave(Write("nodata.wav", TWavBytes().Format(1, 1, 8000, 8).Bytes())));
    EXPECT_FALSE(CanOpenWave(Write(
            "shortfmt.wav", TWavBytes().Chunk("fmt ", std::string(14, '\1')).Data("ab").Bytes())));
    EXPECT_FALSE(CanOpenWave(Temp.File("missing.wav")));
}

// ALSA's "null" device takes and gives frames as fast as it is asked: the streams keep them to
// the pace of the sound. A device that does not exist fails at once.
TEST_F(WaveDeviceTest, AlsaNullIsPacedAndAMissingDeviceFailsCleanly)
{
    TAlsaBackend null("null");
    auto capture = null.OpenCapture({16, 1, 44100});
    ASSERT_NE(nullptr, capture) << null.LastError();
    std::vector<int16_t> slice(882, 1);
    int64_t frames = 0;
    bool silent = true;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1000) {
        const long read = capture->Read(slice.data(), static_cast<long>(slice.size()));
        ASSERT_GE(read, 0);
        frames += read;
        for (int16_t sample : slice)
            silent = silent && sample == 0;
    }
    EXPECT_NEAR(44100, frames, 4410);
    EXPECT_TRUE(silent);

    auto playback = null.OpenPlayback({8, 2, 8000});
    ASSERT_NE(nullptr, playback) << null.LastError();
    const std::vector<char> quarter(2 * 2000, '\x80');
    clock.restart();
    EXPECT_EQ(2000, playback->Write(quarter.data(), 2000));
    playback->Drain();
    EXPECT_GE(clock.elapsed(), 200);

    TAlsaBackend missing("hw:99");
    EXPECT_EQ(nullptr, missing.OpenCapture({16, 1, 44100}));
    EXPECT_EQ(nullptr, missing.OpenPlayback({16, 1, 44100}));
    EXPECT_FALSE(missing.LastError().empty());
    SetPcmBackend(&missing);
    clock.restart();
    EXPECT_FALSE(StartRecording());
    EXPECT_FALSE(WaveDeviceOpen);
    EXPECT_LT(clock.elapsed(), 2000);
}
