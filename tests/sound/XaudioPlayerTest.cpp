#include "sound/XaudioPlayer.h"
#include "sound/PcmBackend.h"
#include "sound/Unit_Sound.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int PlayedOutTag = 1;
constexpr int WaitMs = 5000;

// Plays one file as the grid and the exercise window do, keeping the two MP3 flags, and writes
// down every notification as "Ack7", "Nack3", "Pong1" or "St1".
class TScriptedUser
{
public:
    explicit TScriptedUser(TXaudioPlayer &player)
        : Player(player)
    {
        Player.OnNotifyAck = [this](uint8_t command) {
            Log.push_back("Ack" + std::to_string(command));
            if (command == IXaudioPlayer::cmdInputOpen) {
                Mp3InputOpen = true;
                Player.InputSeek(0, 1);
                Player.Play();
                if (CloseWhilePlayStarts)
                    Player.InputClose();
            } else if (command == IXaudioPlayer::cmdPlay) {
                Mp3Playing = true;
            } else if (command == IXaudioPlayer::cmdInputClose) {
                Player.OutputClose();
            } else if (command == IXaudioPlayer::cmdOutputClose) {
                Mp3InputOpen = false;
                ++Closed;
            }
        };
        Player.OnNotifyNack = [this](uint8_t command, int16_t) {
            Log.push_back("Nack" + std::to_string(command));
        };
        Player.OnNotifyPlayerState = [this](int state) {
            Log.push_back("St" + std::to_string(state));
            if (state == IXaudioPlayer::StateStopped || state == IXaudioPlayer::StateEndOfStream) {
                Player.OutputDrain();
                Player.Ping(PlayedOutTag);
            }
        };
        Player.OnNotifyPong = [this](uint32_t tag) {
            Log.push_back("Pong" + std::to_string(tag));
            if (tag != PlayedOutTag)
                return;
            Mp3Playing = false;
            Player.InputClose();
        };
    }

    void StopEarly()
    {
        if (Mp3Playing)
            Player.Stop();
        if (Mp3InputOpen)
            Player.InputClose();
    }

    // Waits for the sequence's end, then a little more for anything that would follow it.
    bool Finish()
    {
        const bool ended = QTest::qWaitFor([this] { return Closed > 0; }, WaitMs);
        QTest::qWait(100);
        return ended;
    }

    TXaudioPlayer &Player;
    std::vector<std::string> Log;
    bool CloseWhilePlayStarts = false;
    int Closed = 0;
};

class XaudioPlayerTest : public ::testing::Test
{
protected:
    XaudioPlayerTest()
    {
        Previous = SetPcmBackend(&Backend);
        Backend.NoPlayback = true;
        Backend.Slowdown = 0.2;
        Mp3InputOpen = false;
        Mp3Playing = false;
    }
    ~XaudioPlayerTest() override
    {
        SetPcmBackend(Previous);
        SetXaudioApiVersion(0);
    }

    std::string Mp3(const std::string &name, double seconds, const std::string &prefix = {})
    {
        return WriteFile(Temp.File(name), prefix + Mp3Bytes(SpeechLike(44100, seconds)));
    }

    TTempFolder Temp;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
};

} // namespace

TEST_F(XaudioPlayerTest, EveryNotificationReachesItsOwnEventAfterTheGeneralOne)
{
    TXaudioPlayer player;
    std::vector<std::string> fired;
    player.OnNotifyMessage
            = [&](XA_Message &message) { fired.push_back("msg" + std::to_string(message.code)); };
    player.OnNotifyAck = [&](uint8_t command) { fired.push_back("ack" + std::to_string(command)); };
    player.OnNotifyNack = [&](uint8_t command, int16_t code) {
        fired.push_back("nack" + std::to_string(command) + "," + std::to_string(code));
    };
    player.OnNotifyPong = [&](uint32_t tag) { fired.push_back("pong" + std::to_string(tag)); };
    player.OnNotifyPlayerState = [&](int state) { fired.push_back("st" + std::to_string(state)); };
    for (int code = XA_MSG_NOTIFY_READY; code <= XA_MSG_NOTIFY_LAST; ++code)
        player.OnNotify(static_cast<uint8_t>(code)) = [&, code](const XA_Message &message) {
            EXPECT_EQ(code, message.code);
            fired.push_back("on" + std::to_string(code));
        };
    auto send = [&](XA_Message message) {
        TXaNotifyEvent event(message);
        QCoreApplication::sendEvent(&player, &event);
        return std::exchange(fired, {});
    };
    using TFired = std::vector<std::string>;
    EXPECT_EQ((TFired{"msg65", "ack7"}), send({XA_MSG_NOTIFY_ACK, 7, 0, 0, 0}));
    EXPECT_EQ((TFired{"msg66", "nack3,-5"}), send({XA_MSG_NOTIFY_NACK, 3, -5, 0, 0}));
    EXPECT_EQ((TFired{"msg67", "pong9"}), send({XA_MSG_NOTIFY_PONG, 0, 0, 9, 0}));
    EXPECT_EQ((TFired{"msg69", "st3"}), send({XA_MSG_NOTIFY_PLAYER_STATE, 0, 0, 0, 3}));
    EXPECT_EQ((TFired{"msg95"}), send({XA_MSG_NOTIFY_UNUSED, 0, 0, 0, 0}));
    for (int code = XA_MSG_NOTIFY_READY; code <= XA_MSG_NOTIFY_LAST; ++code) {
        if (code == XA_MSG_NOTIFY_ACK || code == XA_MSG_NOTIFY_NACK || code == XA_MSG_NOTIFY_PONG
            || code == XA_MSG_NOTIFY_PLAYER_STATE || code == XA_MSG_NOTIFY_UNUSED)
            continue;
        EXPECT_EQ((TFired{"msg" + std::to_string(code), "on" + std::to_string(code)}),
                  send({static_cast<uint8_t>(code), 0, 0, 0, 0}));
    }
    // Unassigned events are skipped; codes outside the table fire only the general event.
    player.OnNotifyAck = nullptr;
    player.OnNotify(XA_MSG_NOTIFY_EXITED) = nullptr;
    EXPECT_EQ((TFired{"msg65"}), send({XA_MSG_NOTIFY_ACK, 7, 0, 0, 0}));
    EXPECT_EQ((TFired{"msg68"}), send({XA_MSG_NOTIFY_EXITED, 0, 0, 0, 0}));
    EXPECT_EQ((TFired{"msg12"}), send({12, 0, 0, 0, 0}));
}

TEST_F(XaudioPlayerTest, AWholePlaybackAndAnEarlyStopEachEndOnceWithBothFlagsClear)
{
    TScriptedBox box;
    // Another version of the interface is reported, and the player works all the same.
    SetXaudioApiVersion((3 << 16) | (3 << 8));
    TXaudioPlayer player;
    ASSERT_EQ(1u, box.Texts.size());
    // The error presenter ends the text with a full stop.
    EXPECT_EQ("Xaudio DLL API Mismatch\rExpected 3,2\rGot 3,3.", box.Texts[0]);
    player.SetPriority(4);
    EXPECT_EQ(4, player.GetPriority());

    const std::string mp3 = Mp3("word.mp3", 0.3);
    TScriptedUser whole(player);
    player.InputOpen(mp3);
    ASSERT_TRUE(whole.Finish());
    EXPECT_EQ((std::vector<std::string>{"Ack7", "Ack6", "Ack3", "St1", "St3", "Ack22", "Pong1",
                                        "Ack8", "Ack17"}),
              whole.Log);
    EXPECT_FALSE(Mp3InputOpen);
    EXPECT_FALSE(Mp3Playing);
    EXPECT_EQ(1, Backend.NullSinksOpened);

    // Stopped while it plays: the same tail, one closing.
    const std::string longer = Mp3("long.mp3", 3);
    TScriptedUser early(player);
    player.InputOpen(longer);
    ASSERT_TRUE(QTest::qWaitFor([] { return Mp3Playing.load(); }, WaitMs));
    QElapsedTimer timer;
    timer.start();
    early.StopEarly();
    ASSERT_TRUE(early.Finish());
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(1, early.Closed);
    EXPECT_FALSE(Mp3InputOpen);
    EXPECT_FALSE(Mp3Playing);

    // The input closed before the player said it plays.
    TScriptedUser closing(player);
    closing.CloseWhilePlayStarts = true;
    player.InputOpen(longer);
    ASSERT_TRUE(closing.Finish());
    EXPECT_EQ(1, closing.Closed);
    EXPECT_FALSE(Mp3InputOpen);
    EXPECT_FALSE(Mp3Playing);
    EXPECT_EQ(1u, box.Texts.size());
}

TEST_F(XaudioPlayerTest, OnlyFilesThatDecodeOpenAndDeletingAPlayingPlayerIsPrompt)
{
    std::vector<std::string> log;
    auto player = std::make_unique<TXaudioPlayer>();
    player->OnNotifyAck = [&](uint8_t command) { log.push_back("Ack" + std::to_string(command)); };
    player->OnNotifyNack
            = [&](uint8_t command, int16_t) { log.push_back("Nack" + std::to_string(command)); };
    // An ID3v2 tag in front of the frames.
    const std::string id3 = std::string("ID3\x03\x00\x00\x00\x00\x00\x0A", 10) + std::string(10, 0);
    const std::vector<std::pair<std::string, std::string>> files{
            {"Ack7", Mp3("plain.mp3", 0.2)},
            {"Ack7", Mp3("tagged.mp3", 0.2, id3)},
            {"Nack7", WriteFile(Temp.File("text.mp3"), "Not a sound at all, only words.\n")},
            {"Nack7", WriteFile(Temp.File("empty.mp3"), "")},
            {"Nack7",
             WriteFile(Temp.File("speech.wav"),
                       TWavBytes::Canonical(1, 1, 44100, 16, Pcm16(SpeechLike(44100, 0.5))))},
            {"Nack7", Temp.File("missing.mp3")},
    };
    for (const auto &[answer, file] : files) {
        SCOPED_TRACE(file);
        log.clear();
        player->InputOpen(file);
        player->InputClose();
        ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() == 2; }, WaitMs));
        EXPECT_EQ(answer, log[0]);
        // Nothing open after a refusal: closing is refused too.
        EXPECT_EQ(answer == "Ack7" ? "Ack8" : "Nack8", log[1]);
    }
    // Without an input nothing plays or seeks; closing the output is always acknowledged.
    log.clear();
    player->Play();
    player->InputSeek(0, 1);
    player->OutputClose();
    player->Pause();
    player->SetDebugLevel(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() == 5; }, WaitMs));
    EXPECT_EQ((std::vector<std::string>{"Nack3", "Nack6", "Ack17", "Ack4", "Nack62"}), log);

    Backend.Slowdown = 1;
    log.clear();
    player->InputOpen(Mp3("long.mp3", 5));
    player->Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.size() == 2; }, WaitMs));
    QTest::qWait(50);
    QElapsedTimer timer;
    timer.start();
    player.reset();
    EXPECT_LT(timer.elapsed(), 200);
}
