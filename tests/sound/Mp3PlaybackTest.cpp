#include "sound/Mp3Playback.h"
#include "sound/PcmBackend.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The playback helper with the real player on a device that keeps the pace of the sound: a whole
// playback lasts as long as its sound, a Stop ends it at once, a device that does not open is
// said and the sound still ends, and a user that goes away mid-way hears nothing more.

namespace {

constexpr int WaitMs = 5000;
constexpr double SoundSeconds = 1.0;

class Mp3PlaybackTest : public ::testing::Test
{
protected:
    Mp3PlaybackTest()
    {
        Previous = SetPcmBackend(&Backend);
        Backend.Slowdown = 1;
        Mp3InputOpen = false;
        Mp3Playing = false;
        File = WriteFile(Temp.File("word.mp3"), Mp3Bytes(SpeechLike(44100, SoundSeconds)));
        Playback.Playing = [this] { Log.push_back("playing"); };
        Playback.PlayedOut = [this] { Log.push_back("played out"); };
        Playback.OutputClosed = [this] { Log.push_back("closed"); };
        Playback.DeviceFailed = [this](const std::string &device, const std::string &reason) {
            Log.push_back(device + ": " + reason);
        };
        Playback.SetPlayer(&Player);
    }
    ~Mp3PlaybackTest() override
    {
        Playback.SetPlayer(nullptr);
        SetPcmBackend(Previous);
    }

    bool WaitClosed()
    {
        return QTest::qWaitFor([this] { return !Log.empty() && Log.back() == "closed"; }, WaitMs);
    }

    TTempFolder Temp;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
    TXaudioPlayer Player;
    TMp3Playback Playback;
    std::string File;
    std::vector<std::string> Log;
};

} // namespace

TEST_F(Mp3PlaybackTest, APlaybackTakesItsTimeAndAStopDuringItEndsItAtOnce)
{
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(Playback.Open(File));
    ASSERT_TRUE(WaitClosed());
    EXPECT_GE(timer.elapsed(), 900);
    EXPECT_EQ((std::vector<std::string>{"playing", "played out", "closed"}), Log);
    EXPECT_FALSE(Mp3InputOpen || Mp3Playing);

    // Stopped a third of the way in.
    Log.clear();
    timer.restart();
    Playback.Open(File);
    ASSERT_TRUE(QTest::qWaitFor([] { return Mp3Playing.load(); }, WaitMs));
    QTest::qWait(300);
    EXPECT_TRUE(Mp3Playing && Mp3InputOpen);
    Playback.Stop();
    ASSERT_TRUE(WaitClosed());
    EXPECT_LT(timer.elapsed(), 800);
    EXPECT_EQ((std::vector<std::string>{"playing", "played out", "closed"}), Log);
    EXPECT_FALSE(Mp3InputOpen || Mp3Playing);
}

TEST_F(Mp3PlaybackTest, AnOutputThatDoesNotOpenIsSaidAndTheSoundStillEnds)
{
    Backend.NoPlayback = true;
    ASSERT_TRUE(Playback.Open(File));
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ((std::vector<std::string>{"test: there is no playback device", "playing",
                                        "played out", "closed"}),
              Log);
    EXPECT_EQ(1, Backend.NullSinksOpened);
    EXPECT_FALSE(Mp3InputOpen || Mp3Playing);
}

TEST_F(Mp3PlaybackTest, AUserThatGoesAwayMidWayHearsNothingMoreAndLeavesTheFlagsClear)
{
    Playback.Open(File);
    ASSERT_TRUE(QTest::qWaitFor([] { return Mp3Playing.load(); }, WaitMs));
    Playback.Abandon();
    EXPECT_FALSE(Mp3InputOpen || Mp3Playing);
    EXPECT_EQ(nullptr, Playback.Player());
    QTest::qWait(1200);
    EXPECT_EQ((std::vector<std::string>{"playing"}), Log);
    EXPECT_FALSE(Player.OnNotifyAck || Player.OnNotifyPong || Player.OnNotifyError);
    // The player is free for the next user.
    Playback.SetPlayer(&Player);
    Backend.Slowdown = 0;
    Log.clear();
    Playback.Open(File);
    ASSERT_TRUE(WaitClosed());
    EXPECT_EQ((std::vector<std::string>{"playing", "played out", "closed"}), Log);
}
