#include "core/ModalResult.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "sound/PcmBackend.h"
#include "sound/SoundFiles.h"
#include "sound/Unit_BatchRec.h"
#include "sound/Unit_ConvertForm.h"
#include "sound/Unit_Sound.h"
#include "support/ScriptedMessageBox.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"
#include "ui_BatchRecForm.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t Rate = 44100;

class BatchRecTest : public ::testing::Test
{
protected:
    BatchRecTest()
    {
        Previous = SetPcmBackend(&Backend);
        PreviousConvert = std::exchange(ConvertForm, &Convert);
        SavedLevel = std::exchange(OtherOptions.NoiseLevel, uint8_t{4});
        Form.WordList = List.get();
        Form.SoundRecs = &Records;
    }
    ~BatchRecTest() override
    {
        Form.Recording = false;
        Form.Extracting = false;
        Form.close();
        StopPlayback();
        ConvertForm = PreviousConvert;
        OtherOptions.NoiseLevel = SavedLevel;
        SetPcmBackend(Previous);
    }

    // A take of tone bursts, each followed by a pause of 1.2 seconds, after a short silence.
    void Speak(int words)
    {
        std::vector<int16_t> samples(Rate / 5, 0);
        for (int i = 0; i < words; ++i) {
            const std::vector<int16_t> tone = Sine(Rate, 220 + 40 * i, 0.4, 8000);
            samples.insert(samples.end(), tone.begin(), tone.end());
            samples.insert(samples.end(), static_cast<size_t>(Rate * 1.2), 0);
        }
        Backend.CaptureFile = WriteFile(Temp.File("voice.wav"),
                                        TWavBytes::Canonical(1, 1, Rate, 16, Pcm16(samples)));
        Frames = static_cast<int64_t>(samples.size());
    }

    static bool WaitFor(const std::function<bool()> &done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }

    // Shows the window, records the whole take and waits for its parts.
    void RecordTake()
    {
        Form.show();
        Ui::TBatchRecForm &ui = Form.Controls();
        ui.RecStopButton->click();
        ASSERT_TRUE(Form.Recording);
        ASSERT_TRUE(WaitFor([&] { return Backend.FramesCaptured >= Frames; }));
        // Recording cannot be closed away.
        Form.close();
        EXPECT_TRUE(Form.isVisible());
        EXPECT_FALSE(ui.CloseButton->isEnabled());
        ui.RecStopButton->click();
        EXPECT_FALSE(ui.RecStopButton->isVisible());
        ASSERT_TRUE(WaitFor([&] { return !Form.Extracting; }));
        EXPECT_FALSE(QFile::exists(FileNameOf(RecordingFile)));
    }

    // The WAV files in the temporary folder beside the list's own recording file.
    int PartFiles() const { return static_cast<int>(Temp.Files("ZRW").size()) - 1; }

    std::vector<bool> Selection() const
    {
        std::vector<bool> selected;
        for (int row = 0; row < Form.Controls().ListView->count(); ++row)
            selected.push_back(Form.Controls().ListView->item(row)->isSelected());
        return selected;
    }

    TTempFolder Temp;
    TNumberedPack Pack;
    TScriptedBox Box;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
    TConvertForm Convert;
    TConvertForm *PreviousConvert = nullptr;
    uint8_t SavedLevel = 0;
    std::unique_ptr<TWordList> List = FrenchList(20);
    std::vector<TSoundRec> Records;
    TBatchRecForm Form;
    int64_t Frames = 0;
};

} // namespace

TEST_F(BatchRecTest, SelectedPartsGoToTheTargetWordsInOrderAndTooManyAreRefused)
{
    Speak(5);
    Form.First = 4;
    Form.Last = 6;
    Form.UseSelection = true;
    RecordTake();
    Ui::TBatchRecForm &ui = Form.Controls();
    ASSERT_EQ(Form.Parts.size(), 5u);
    EXPECT_EQ(ui.ListView->item(4)->text().toStdString(), "Uitspraak 5");
    EXPECT_EQ(Selection(), std::vector<bool>(5, true));
    EXPECT_EQ(ui.InstructLabel->text().toStdString(), NumberedText(TEntry::BatchRecChoose));
    EXPECT_TRUE(ui.InsertButton->isEnabled() && ui.InsertButton->isDefault());

    // Five parts for three selected words: refused, nothing converted, the window stays.
    ui.InsertButton->click();
    EXPECT_EQ(Box.Take(),
              std::vector<std::string>{NumberedText(TEntry::BatchRecTooManySelected) + "."});
    EXPECT_TRUE(Form.isVisible());
    EXPECT_TRUE(Records.empty());
    EXPECT_EQ(PartFiles(), 5);

    std::vector<int32_t> keptStarts;
    for (size_t i : {0u, 2u, 4u})
        keptStarts.push_back(Form.Parts[i].Start);
    ui.ListView->item(1)->setSelected(false);
    ui.ListView->item(3)->setSelected(false);
    ui.InsertButton->click();
    EXPECT_TRUE(Box.Take().empty());
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(Form.result(), mrOk);
    EXPECT_EQ(Form.Last, 6);
    ASSERT_EQ(Form.Parts.size(), 3u);
    ASSERT_EQ(Records.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Form.Parts[i].Start, keptStarts[i]);
        EXPECT_GT(FileSize(Form.Parts[i].Mp3File), 0);
        EXPECT_EQ(Records[i].Size, FileSize(Form.Parts[i].Mp3File));
    }
    EXPECT_EQ(PartFiles(), 0);
    for (const TSpeechPart &part : Form.Parts)
        RemoveFile(part.Mp3File);
}

TEST_F(BatchRecTest, FewerPartsThanTargetsLowerLastAndTheWordingFollowsTheTargets)
{
    Speak(4);
    Form.First = 10;
    Form.Last = 19;
    RecordTake();
    ASSERT_EQ(Form.Parts.size(), 4u);
    // One word from the current one to the end cannot take two parts.
    const int last = std::exchange(Form.Last, 10);
    Form.Controls().ListView->item(0)->setSelected(false);
    Form.Controls().ListView->item(1)->setSelected(false);
    Form.Controls().InsertButton->click();
    EXPECT_EQ(Box.Take(),
              std::vector<std::string>{NumberedText(TEntry::BatchRecTooManyOneToEnd) + "."});
    Form.Last = last;
    Form.Controls().ListView->selectAll();
    Form.Controls().InsertButton->click();
    EXPECT_EQ(Form.result(), mrOk);
    EXPECT_EQ(Form.Last, 13);
    EXPECT_EQ(Records.size(), 4u);
    for (const TSpeechPart &part : Form.Parts)
        RemoveFile(part.Mp3File);
}

TEST_F(BatchRecTest, AnIconClickPlaysWithoutSelectingAndTheCloseBoxLeavesNoFile)
{
    Speak(3);
    Form.Last = 5;
    RecordTake();
    Ui::TBatchRecForm &ui = Form.Controls();
    ASSERT_EQ(Form.Parts.size(), 3u);
    ui.ListView->item(0)->setSelected(false);
    const QRect rect = ui.ListView->visualItemRect(ui.ListView->item(1));
    QTest::mouseClick(ui.ListView->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + 5, rect.center().y()));
    EXPECT_EQ(Backend.PlaybacksOpened, 1);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true, true}));
    // A click on the text selects as a list does.
    QTest::mouseClick(ui.ListView->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + 40, rect.center().y()));
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Backend.PlaybacksOpened, 1);

    Form.close();
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(Form.result(), mrCancel);
    EXPECT_TRUE(Records.empty());
    EXPECT_EQ(PartFiles(), 0);
}

TEST_F(BatchRecTest, NoMicrophoneIsSaidAndASilentTakeLeavesOnlyClosing)
{
    Form.show();
    Ui::TBatchRecForm &ui = Form.Controls();
    ui.RecStopButton->click();
    EXPECT_FALSE(Form.Recording);
    EXPECT_EQ(Box.Take(),
              std::vector<std::string>{
                      "The sound device \"test\" cannot record: there is no microphone."});
    // The window is as before the click: recording can start again, or the window close.
    EXPECT_TRUE(ui.RecStopButton->isEnabled());
    EXPECT_EQ(ui.RecStopButton->text().toStdString(), NumberedText(TEntry::BatchRecStartButton));
    EXPECT_TRUE(ui.CloseButton->isEnabled());
    ui.RecStopButton->click();
    EXPECT_EQ(Box.Take().size(), 1u);
    EXPECT_FALSE(Form.Recording || WaveRecording || WaveDeviceOpen);
    Form.close();
    EXPECT_FALSE(Form.isVisible());

    Backend.CaptureFile = WriteFile(Temp.File("quiet.wav"),
                                    TWavBytes::Canonical(1, 1, Rate, 16, std::string(88200, '\0')));
    Frames = Rate / 2;
    RecordTake();
    EXPECT_TRUE(Form.Parts.empty());
    EXPECT_EQ(ui.InstructLabel->text().toStdString(), NumberedText(TEntry::BatchRecNoParts));
    EXPECT_TRUE(ui.CloseButton->isDefault());
    EXPECT_FALSE(ui.InsertButton->isEnabled());
    ui.CloseButton->click();
    EXPECT_EQ(Form.result(), mrCancel);
    EXPECT_EQ(PartFiles(), 0);
}

// Insert while a part still plays at the pace of the sound: the playback stops first and no take
// is lost.
TEST_F(BatchRecTest, InsertDuringARealPlaybackKeepsTheTake)
{
    Speak(3);
    Form.Last = 5;
    RecordTake();
    Ui::TBatchRecForm &ui = Form.Controls();
    ASSERT_EQ(Form.Parts.size(), 3u);
    Backend.Slowdown = 1;
    const QRect rect = ui.ListView->visualItemRect(ui.ListView->item(0));
    QTest::mouseClick(ui.ListView->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + 5, rect.center().y()));
    QTest::qWait(100);
    ASSERT_TRUE(WavePlaying);
    ui.InsertButton->click();
    EXPECT_TRUE(Box.Take().empty());
    EXPECT_FALSE(WavePlaying || WaveDeviceOpen);
    EXPECT_EQ(Form.result(), mrOk);
    EXPECT_EQ(Records.size(), 3u);
    for (const TSpeechPart &part : Form.Parts) {
        EXPECT_GT(FileSize(part.Mp3File), 0);
        RemoveFile(part.Mp3File);
    }
}

// A part that cannot be played on the device is said; the window stays usable.
TEST_F(BatchRecTest, APartThatCannotPlayIsSaid)
{
    Speak(2);
    Form.Last = 5;
    RecordTake();
    Ui::TBatchRecForm &ui = Form.Controls();
    ASSERT_EQ(Form.Parts.size(), 2u);
    Backend.NoPlayback = true;
    const QRect rect = ui.ListView->visualItemRect(ui.ListView->item(1));
    QTest::mouseClick(ui.ListView->viewport(), Qt::LeftButton, {},
                      QPoint(rect.left() + 5, rect.center().y()));
    EXPECT_EQ(
            Box.Take(),
            std::vector<std::string>{"The sound device \"test\" cannot play: there is no playback "
                                     "device."});
    EXPECT_FALSE(WavePlaying || WaveDeviceOpen);
    EXPECT_TRUE(ui.InsertButton->isEnabled());
}
