#include "core/Unit_GlobalSettings.h"
#include "grid/SoundPanel.h"
#include "grid/WordsGrid.h"
#include "sound/PcmBackend.h"
#include "sound/Unit_ConvertForm.h"
#include "sound/Unit_Sound.h"
#include "sound/XaudioPlayer.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

// A player that answers as the real one does, but only when the test lets it (Deliver), and
// takes a file for MP3 when it begins with a frame header or an ID3 tag.
class TScriptedPlayer : public IXaudioPlayer
{
public:
    int Ping(uint32_t tag) override
    {
        return Say("Ping", [this, tag] { OnNotifyPong(tag); });
    }
    int Play() override
    {
        if (RefusePlay)
            return Say("Play", [this] { OnNotifyNack(cmdPlay, XA_ERROR_NO_OUTPUT); });
        Playing = Open;
        return Say("Play", [this] {
            OnNotifyAck(cmdPlay);
            OnNotifyPlayerState(XA_PLAYER_STATE_PLAYING);
        });
    }
    int Stop() override
    {
        const bool was = std::exchange(Playing, false);
        return Say("Stop", [this, was] {
            if (was)
                OnNotifyPlayerState(StateStopped);
        });
    }
    int InputSeek(int, int) override
    {
        return Say("InputSeek", [] {});
    }
    int InputOpen(const std::string &fileName) override
    {
        const std::string bytes = ReadFile(fileName);
        Open = bytes.rfind("\xFF\xFB", 0) == 0 || bytes.rfind("ID3", 0) == 0;
        if (Open)
            Opened.push_back(bytes);
        return Say("InputOpen", [this, open = Open] {
            if (open)
                OnNotifyAck(cmdInputOpen);
            else
                OnNotifyNack(cmdInputOpen, XA_ERROR_OPEN_FAILED);
        });
    }
    int InputClose() override
    {
        const bool was = std::exchange(Open, false);
        const bool playing = std::exchange(Playing, false);
        return Say("InputClose", [this, was, playing] {
            if (!was)
                return OnNotifyNack(cmdInputClose, XA_ERROR_NO_INPUT);
            OnNotifyAck(cmdInputClose);
            if (playing)
                OnNotifyPlayerState(StateStopped);
        });
    }
    int OutputClose() override
    {
        return Say("OutputClose", [this] { OnNotifyAck(cmdOutputClose); });
    }
    int OutputDrain() override
    {
        return Say("OutputDrain", [] {});
    }

    // The stream has played to its end.
    void EndOfStream()
    {
        Playing = false;
        Pending.push_back([this] { OnNotifyPlayerState(StateEndOfStream); });
    }
    // Delivers every answer, and those that answering brings about.
    void Deliver()
    {
        while (!Pending.empty()) {
            auto next = std::move(Pending.front());
            Pending.pop_front();
            next();
        }
    }
    std::vector<std::string> Take() { return std::exchange(Commands, {}); }

    std::vector<std::string> Commands;
    std::vector<std::string> Opened;
    bool RefusePlay = false;

private:
    int Say(const std::string &command, std::function<void()> answer)
    {
        Commands.push_back(command);
        Pending.push_back(std::move(answer));
        return XA_SUCCESS;
    }

    std::deque<std::function<void()>> Pending;
    bool Open = false;
    bool Playing = false;
};

using TCommands = std::vector<std::string>;
const TCommands PlayedThrough{"InputSeek", "Play",       "OutputDrain",
                              "Ping",      "InputClose", "OutputClose"};

class WordsGridSound : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings();
        Previous = SetPcmBackend(&Backend);
        PreviousConvertForm = std::exchange(ConvertForm, &Converter);
        Mp3InputOpen = false;
        Mp3Playing = false;
        grid = new TWordsGrid(&window);
        panel = new TSoundPanel(&window);
        grid->BindSoundPanel(panel);
        grid->SetXAPlayer(&player);
        window.resize(1000, 400);
        grid->resize(1000, 400);
        window.show();
        grid->SetWordList(TListBuilder().Words(3, "mot#", "woord#").Take());
        list = grid->GetWordList();
        Mp3 = Mp3Bytes(SpeechLike(44100, 0.2));
        GiveSound(*list, 0, Mp3);
    }
    void TearDown() override
    {
        if (grid)
            grid->SetXAPlayer(nullptr);
        StopRecording({});
        ConvertForm = PreviousConvertForm;
        SetPcmBackend(Previous);
    }

    int SoundCol() const { return grid->ColumnOfKind(ckSound); }
    bool Enabled(TSoundPanel::TButton button) const { return panel->Button(button)->isEnabled(); }
    bool Down(TSoundPanel::TButton button) const { return panel->Button(button)->isChecked(); }
    // (Play, Stop, Record) enabled, and which are down, as "e-d", "e+d" (down) ...
    std::string Buttons() const
    {
        std::string states;
        for (auto button : {TSoundPanel::sbPlay, TSoundPanel::sbStop, TSoundPanel::sbRecord})
            states += std::string(Enabled(button) ? "e" : "d") + (Down(button) ? "+" : "");
        return states;
    }
    void Click(TSoundPanel::TButton button) { panel->Button(button)->click(); }
    std::string SoundOf(int index) const
    {
        const TSoundRec *sound = list->GetSound(index);
        if (!sound)
            return {};
        if (sound->Offset == -1)
            return ReadFile(list->RecordTempFile);
        return ReadFile(list->SoundTempFile)
                .substr(static_cast<size_t>(sound->Offset), static_cast<size_t>(sound->Size));
    }
    // Records from the test backend until the limit ends it.
    void RecordUntilTheLimit()
    {
        Click(TSoundPanel::sbRecord);
        ASSERT_TRUE(WaveRecording);
        EXPECT_TRUE(grid->IsBusy());
        EXPECT_EQ("dee+", Buttons());
        ASSERT_TRUE(QTest::qWaitFor([] { return !WaveRecording; }, 5000));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !grid->IsBusy(); }, 5000));
    }

    // The grid goes with the window at once, as it does when the program ends.
    void DestroyGrid()
    {
        delete grid;
        grid = nullptr;
    }

    TTempFolder Temp;
    TNumberedPack pack;
    TScriptedBox box;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
    TConvertForm Converter;
    TConvertForm *PreviousConvertForm = nullptr;
    QWidget window;
    TWordsGrid *grid = nullptr;
    TSoundPanel *panel = nullptr;
    TScriptedPlayer player;
    TWordList *list = nullptr;
    std::string Mp3;
};

} // namespace

TEST_F(WordsGridSound, PlaybackRunsItsSequenceAndEveryEndLeavesTheFlagsClear)
{
    grid->SelectCellAt(SoundCol(), 1);
    EXPECT_EQ(Mp3, ReadFile(list->RecordTempFile));
    EXPECT_EQ("ede", Buttons());
    Click(TSoundPanel::sbPlay);
    EXPECT_EQ("ddd", Buttons());
    EXPECT_EQ(TCommands{"InputOpen"}, player.Take());
    player.Deliver();
    EXPECT_TRUE(grid->IsBusy());
    EXPECT_TRUE(Mp3InputOpen);
    EXPECT_TRUE(Mp3Playing);
    EXPECT_EQ("e+ed", Buttons());
    // Play while playing changes nothing.
    Click(TSoundPanel::sbPlay);
    EXPECT_EQ("e+ed", Buttons());
    player.EndOfStream();
    player.Deliver();
    EXPECT_EQ(PlayedThrough, player.Take());
    EXPECT_EQ("ede", Buttons());
    EXPECT_FALSE(grid->IsBusy() || Mp3InputOpen || Mp3Playing);
    EXPECT_EQ(TCommands{Mp3}, player.Opened);

    // Stopped early: the same tail.
    Click(TSoundPanel::sbPlay);
    player.Deliver();
    Click(TSoundPanel::sbStop);
    EXPECT_EQ("ddd", Buttons());
    player.Deliver();
    EXPECT_EQ((TCommands{"InputOpen", "InputSeek", "Play", "Stop", "OutputDrain", "Ping",
                         "InputClose", "OutputClose"}),
              player.Take());
    EXPECT_EQ("ede", Buttons());
    EXPECT_FALSE(grid->IsBusy() || Mp3InputOpen || Mp3Playing);

    // No output: the input is closed too, and all ends idle.
    player.RefusePlay = true;
    Click(TSoundPanel::sbPlay);
    player.Deliver();
    EXPECT_EQ((TCommands{"InputOpen", "InputSeek", "Play", "InputClose", "OutputClose"}),
              player.Take());
    EXPECT_EQ("ede", Buttons());
    EXPECT_FALSE(grid->IsBusy() || Mp3InputOpen || Mp3Playing);

    // A sound the player cannot open goes from its word.
    GiveSound(*list, 1, "RIFF and no MP3");
    list->Saved = true;
    grid->SelectCellAt(SoundCol(), 2);
    Click(TSoundPanel::sbPlay);
    player.Deliver();
    EXPECT_EQ(nullptr, list->GetSound(1));
    EXPECT_FALSE(list->Saved);
    EXPECT_EQ("dde", Buttons());
    EXPECT_FALSE(grid->IsBusy() || Mp3InputOpen || Mp3Playing);
}

TEST_F(WordsGridSound, RecordingsAreConvertedStoredOnLeavingAndUndoneToTheSoundBefore)
{
    const std::string voice = Pcm16(SpeechLike(44100, 0.3));
    Backend.CaptureFile
            = WriteFile(Temp.File("voice.wav"), TWavBytes::Canonical(1, 1, 44100, 16, voice));
    grid->SetRecordLimit(100);
    grid->SelectCellAt(SoundCol(), 1);
    RecordUntilTheLimit();
    const std::string first = ReadFile(list->RecordTempFile);
    ASSERT_EQ(-1, list->GetSound(0)->Offset);
    EXPECT_EQ(std::string("\xFF\xFB", 2), first.substr(0, 2));
    EXPECT_EQ("ede", Buttons());
    EXPECT_EQ(TUndoKind::SoundChange, grid->GetUndoKind());

    // A second recording whose conversion fails leaves the first one whole, and it is stored
    // when the cell is left.
    ConvertForm = nullptr;
    RecordUntilTheLimit();
    ConvertForm = &Converter;
    EXPECT_EQ(first, SoundOf(0));
    grid->SelectCellAt(SoundCol(), 2);
    ASSERT_NE(nullptr, list->GetSound(0));
    EXPECT_GE(list->GetSound(0)->Offset, 0);
    EXPECT_EQ(first, SoundOf(0));

    // Undo gives back the sound from before the first recording.
    grid->Undo();
    EXPECT_EQ(Mp3, SoundOf(0));

    // A word without a sound: recorded, stopped by hand, stored by a key that leaves the cell,
    // and undone to no sound.
    grid->SetRecordLimit(10000);
    grid->SelectCellAt(SoundCol(), 2);
    Click(TSoundPanel::sbRecord);
    ASSERT_TRUE(WaveRecording);
    QTest::qWait(50);
    Click(TSoundPanel::sbStop);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !grid->IsBusy(); }, 5000));
    ASSERT_NE(nullptr, list->GetSound(1));
    QTest::keyClick(panel, Qt::Key_Down);
    EXPECT_EQ(3, grid->GetEditRow());
    EXPECT_GE(list->GetSound(1)->Offset, 0);
    grid->Undo();
    EXPECT_EQ(nullptr, list->GetSound(1));

    // A fresh recording deleted from its cell is stored first, so its undo brings its bytes back.
    grid->SetRecordLimit(100);
    grid->SelectCellAt(SoundCol(), 3);
    RecordUntilTheLimit();
    const std::string third = SoundOf(2);
    ASSERT_EQ(-1, list->GetSound(2)->Offset);
    grid->DeleteSelection();
    EXPECT_EQ(nullptr, list->GetSound(2));
    grid->SelectCellAt(SoundCol(), 1);
    grid->Undo();
    EXPECT_EQ(third, SoundOf(2));
    // No scratch file is left behind.
    EXPECT_TRUE(Temp.Files(QStringLiteral("ZRM")).isEmpty());
    EXPECT_FALSE(WaveRecording || grid->IsBusy());
}

TEST_F(WordsGridSound, InsertedFilesAreConvertedOrStoredAsTheyAreOnTheRememberedRow)
{
    // A WAV in another format is converted.
    const std::string wav
            = WriteFile(Temp.File("in.wav"),
                        TWavBytes::Canonical(1, 2, 22050, 8, std::string(22050 * 2, '\x90')));
    grid->SelectCellAt(SoundCol(), 2);
    grid->InsertSoundFile(wav);
    ASSERT_NE(nullptr, list->GetSound(1));
    EXPECT_GE(list->GetSound(1)->Offset, 0);
    EXPECT_EQ(std::string("\xFF\xFB", 2), SoundOf(1).substr(0, 2));
    EXPECT_EQ(std::make_pair(SoundCol(), 2), std::make_pair(grid->Col(), grid->Row()));
    grid->Undo();
    EXPECT_EQ(nullptr, list->GetSound(1));

    // An MP3 is stored unchanged, on the row the command began on.
    const std::string tagged = std::string("ID3\x03\x00\x00\x00\x00\x00\x00", 10) + Mp3;
    grid->SelectCellAt(1, 3);
    grid->InsertSoundFile(WriteFile(Temp.File("in.mp3"), tagged));
    EXPECT_EQ((TCommands{"InputOpen"}), player.Take());
    grid->SelectCellAt(1, 1);
    player.Deliver();
    EXPECT_EQ((TCommands{"InputClose"}), player.Take());
    EXPECT_EQ(tagged, SoundOf(2));
    EXPECT_GE(list->GetSound(2)->Offset, 0);
    EXPECT_EQ(std::make_pair(SoundCol(), 3), std::make_pair(grid->Col(), grid->Row()));
    EXPECT_EQ(TUndoKind::SoundChange, grid->GetUndoKind());
    EXPECT_FALSE(Mp3InputOpen || grid->IsBusy());

    // Neither: the word keeps its sound and the user is told.
    grid->InsertSoundFile(WriteFile(Temp.File("in.txt"), "Only some text.\n"));
    player.Deliver();
    EXPECT_EQ(TCommands{NumberedText(TEntry::NotASoundFile) + "."}, box.Take());
    EXPECT_EQ(tagged, SoundOf(2));
    EXPECT_EQ(Mp3, SoundOf(0));
}

// A microphone that does not open and a sound outside the store are said; the cell stays idle.
TEST_F(WordsGridSound, FailuresToRecordOrToReadTheSoundAreSaid)
{
    grid->SelectCellAt(SoundCol(), 1);
    Click(TSoundPanel::sbRecord);
    EXPECT_EQ(TCommands{"The sound device \"test\" cannot record: there is no microphone."},
              box.Take());
    EXPECT_EQ("ede", Buttons());
    EXPECT_FALSE(grid->IsBusy() || WaveRecording || WaveDeviceOpen);

    // A record that points beyond the store: Play says so and asks nothing of the player.
    list->SetSound(1, 1000000, 500);
    grid->SelectCellAt(SoundCol(), 2);
    EXPECT_EQ("ede", Buttons());
    Click(TSoundPanel::sbPlay);
    EXPECT_EQ(TCommands{"The word's sound lies outside the sound store and cannot be played."},
              box.Take());
    EXPECT_TRUE(player.Take().empty());
    EXPECT_EQ("ede", Buttons());
    EXPECT_NE(nullptr, list->GetSound(1));
    EXPECT_FALSE(grid->IsBusy());
}

// The grid going away stops what it started: its recording is dropped, its playback stopped and
// closed, and no later notice reaches it.
TEST_F(WordsGridSound, TheGridsEndStopsItsRecordingAndItsPlayback)
{
    Backend.CaptureFile
            = WriteFile(Temp.File("voice.wav"),
                        TWavBytes::Canonical(1, 1, 44100, 16, Pcm16(SpeechLike(44100, 2))));
    Backend.Slowdown = 1;
    grid->SelectCellAt(SoundCol(), 1);
    Click(TSoundPanel::sbRecord);
    ASSERT_TRUE(WaveRecording);
    DestroyGrid();
    EXPECT_FALSE(WaveRecording || WaveDeviceOpen);

    // The panel went with the grid it lay in.
    grid = new TWordsGrid(&window);
    panel = new TSoundPanel(&window);
    grid->BindSoundPanel(panel);
    grid->SetXAPlayer(&player);
    grid->resize(1000, 400);
    grid->SetWordList(TListBuilder().Words(3, "mot#", "woord#").Take());
    list = grid->GetWordList();
    GiveSound(*list, 0, Mp3);
    grid->SelectCellAt(SoundCol(), 1);
    Click(TSoundPanel::sbPlay);
    player.Deliver();
    ASSERT_TRUE(Mp3Playing && Mp3InputOpen);
    player.Take();
    DestroyGrid();
    EXPECT_EQ((TCommands{"Stop", "InputClose", "OutputClose"}), player.Take());
    EXPECT_FALSE(Mp3Playing || Mp3InputOpen);
    EXPECT_FALSE(player.OnNotifyAck || player.OnNotifyPong || player.OnNotifyPlayerState);
    EXPECT_TRUE(box.Take().empty());
}

// The real player at the pace of the sound: Play during the playback changes nothing, Stop ends
// it long before the sound would; an output that does not open is said and the cell ends idle.
TEST_F(WordsGridSound, ClicksDuringARealPlaybackAndAnOutputThatDoesNotOpen)
{
    TXaudioPlayer real;
    grid->SetXAPlayer(&real);
    Backend.Slowdown = 1;
    GiveSound(*list, 1, Mp3Bytes(SpeechLike(44100, 2)));
    grid->SelectCellAt(SoundCol(), 2);
    QElapsedTimer timer;
    timer.start();
    Click(TSoundPanel::sbPlay);
    ASSERT_TRUE(QTest::qWaitFor([] { return Mp3Playing.load(); }, 5000));
    QTest::qWait(300);
    EXPECT_EQ("e+ed", Buttons());
    Click(TSoundPanel::sbPlay);
    EXPECT_EQ("e+ed", Buttons());
    EXPECT_TRUE(Mp3Playing);
    Click(TSoundPanel::sbStop);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !grid->IsBusy(); }, 5000));
    EXPECT_LT(timer.elapsed(), 1500);
    EXPECT_EQ("ede", Buttons());
    EXPECT_FALSE(Mp3Playing || Mp3InputOpen);

    Backend.NoPlayback = true;
    Backend.Slowdown = 0;
    Click(TSoundPanel::sbPlay);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !box.Texts.empty(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Mp3InputOpen && !grid->IsBusy(); }, 5000));
    EXPECT_EQ(TCommands{"The sound device \"test\" cannot play: there is no playback device."},
              box.Take());
    EXPECT_EQ("ede", Buttons());
    grid->SetXAPlayer(&player);
}

// What today's recorders write is inserted; a WAV that cannot be converted is said, never
// dropped in silence.
TEST_F(WordsGridSound, InsertedWavsOfOtherKindsConvertOrAreRefusedAloud)
{
    std::string samples;
    for (int16_t sample : SpeechLike(48000, 0.3)) {
        const std::string frame = Le16(static_cast<uint16_t>(sample));
        // 24 bits, two channels.
        samples += std::string(1, '\0') + frame + std::string(1, '\0') + frame;
    }
    const std::string wav = WriteFile(
            Temp.File("24bit.wav"),
            TWavBytes().Format(1, 2, 48000, 24).Data(samples).Chunk("LIST", "INFOISFT").Bytes());
    grid->SelectCellAt(SoundCol(), 2);
    grid->InsertSoundFile(wav);
    EXPECT_TRUE(box.Take().empty());
    ASSERT_NE(nullptr, list->GetSound(1));
    EXPECT_EQ(std::string("\xFF\xFB", 2), SoundOf(1).substr(0, 2));

    const std::string adpcm = WriteFile(
            Temp.File("adpcm.wav"),
            TWavBytes().Format(2, 1, 22050, 4, 20).Data(std::string(4000, '\x11')).Bytes());
    grid->SelectCellAt(SoundCol(), 1);
    grid->InsertSoundFile(adpcm);
    EXPECT_EQ(TCommands{NumberedText(TEntry::NotASoundFile) + "."}, box.Take());
    EXPECT_EQ(Mp3, SoundOf(0));
}
