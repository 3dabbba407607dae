#include "core/ModalResult.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"
#include "grid/WordsGrid.h"
#include "mainwindow/Main.h"
#include "sound/PcmBackend.h"
#include "sound/Unit_BatchRec.h"
#include "support/ScriptedMessageBox.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"
#include "support/gui/ProgramFixture.h"
#include "ui_BatchRecForm.h"
#include "ui_MainForm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// Batch recording from the main window: a take of two spoken words lands on the current word and
// the one after it, and one Undo takes both sounds away again.

namespace {

constexpr uint32_t Rate = 44100;

bool WaitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

class BatchRecord : public ProgramFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ProgramFixture::SetUp());
        CreateProgram();
        ASSERT_TRUE(Start());
        Previous = SetPcmBackend(&Backend);
        SavedLevel = std::exchange(OtherOptions.NoiseLevel, uint8_t{4});
    }
    void TearDown() override
    {
        OtherOptions.NoiseLevel = SavedLevel;
        SetPcmBackend(Previous);
        ProgramFixture::TearDown();
    }

    TScriptedBox box;
    TFileTestBackend Backend;
    IPcmBackend *Previous = nullptr;
    uint8_t SavedLevel = 0;
};

} // namespace

TEST_F(BatchRecord, ATakeOfTwoWordsGivesTheCurrentWordAndTheNextTheirSoundsUnderOneUndo)
{
    std::vector<int16_t> samples(Rate / 5, 0);
    for (int i = 0; i < 2; ++i) {
        const std::vector<int16_t> tone = Sine(Rate, 220 + 40 * i, 0.4, 8000);
        samples.insert(samples.end(), tone.begin(), tone.end());
        samples.insert(samples.end(), static_cast<size_t>(Rate * 1.2), 0);
    }
    Grid().SetWordList(
            TListBuilder().Languages("Frans", 1, "Nederlands", 1).Words(4, "mot#").Take());
    Backend.CaptureFile = QDir::temp()
                                  .filePath(QStringLiteral("tarnwick-batch-voice-%1.wav")
                                                    .arg(QCoreApplication::applicationPid()))
                                  .toStdString();
    {
        QFile file(QString::fromStdString(Backend.CaptureFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = TWavBytes::Canonical(1, 1, Rate, 16, Pcm16(samples));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    const auto frames = static_cast<int64_t>(samples.size());
    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 3);

    bool driven = false;
    QTimer::singleShot(0, BatchRecForm, [&] {
        Ui::TBatchRecForm &ui = BatchRecForm->Controls();
        ui.RecStopButton->click();
        ASSERT_TRUE(WaitFor([&] { return Backend.FramesCaptured >= frames; }));
        ui.RecStopButton->click();
        ASSERT_TRUE(WaitFor([&] { return !BatchRecForm->Extracting; }));
        ASSERT_EQ(2, ui.ListView->count());
        ui.ListView->selectAll();
        ui.InsertButton->click();
        driven = true;
    });
    MainForm->UpdateCommands();
    Form().ActBatchRec->trigger();
    QFile::remove(QString::fromStdString(Backend.CaptureFile));
    ASSERT_TRUE(driven);
    EXPECT_EQ(mrOk, BatchRecForm->result());
    EXPECT_TRUE(box.Texts.empty());

    const TWordList &list = *Grid().GetWordList();
    EXPECT_EQ(nullptr, list.GetSound(1));
    for (int i : {2, 3}) {
        const TSoundRec *sound = list.GetSound(i);
        ASSERT_NE(nullptr, sound) << i;
        EXPECT_GT(sound->Size, 0) << i;
    }
    EXPECT_EQ(list.GetSound(2)->Offset + list.GetSound(2)->Size, list.GetSound(3)->Offset);
    for (const TSpeechPart &part : BatchRecForm->Parts)
        EXPECT_FALSE(QFile::exists(QString::fromStdString(part.Mp3File)));

    MainForm->UpdateCommands();
    Form().ActUndo->trigger();
    for (int i : {2, 3}) {
        const TSoundRec *sound = Grid().GetWordList()->GetSound(i);
        EXPECT_TRUE(!sound || sound->Size == 0) << i;
    }
}

// A part that cannot be copied into the store stops the insert with its name and the reason; the
// words before it have their new sounds, the later ones keep theirs, and Undo gives every word
// back what it had.
TEST_F(BatchRecord, APartThatCannotBeCopiedStopsTheInsertAndUndoRestoresEveryWord)
{
    std::vector<int16_t> samples(Rate / 5, 0);
    for (int i = 0; i < 3; ++i) {
        const std::vector<int16_t> tone = Sine(Rate, 220 + 40 * i, 0.4, 8000);
        samples.insert(samples.end(), tone.begin(), tone.end());
        samples.insert(samples.end(), static_cast<size_t>(Rate * 1.2), 0);
    }
    Grid().SetWordList(
            TListBuilder().Languages("Frans", 1, "Nederlands", 1).Words(4, "mot#").Take());
    TWordList &list = *Grid().GetWordList();
    const std::string old = Mp3Bytes(SpeechLike(Rate, 0.2));
    for (int i = 0; i < 3; ++i)
        GiveSound(list, i, old);
    std::vector<TSoundRec> before;
    for (int i = 0; i < 3; ++i)
        before.push_back(*list.GetSound(i));
    Backend.CaptureFile = QDir::temp()
                                  .filePath(QStringLiteral("tarnwick-batch-copy-%1.wav")
                                                    .arg(QCoreApplication::applicationPid()))
                                  .toStdString();
    {
        QFile file(QString::fromStdString(Backend.CaptureFile));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string bytes = TWavBytes::Canonical(1, 1, Rate, 16, Pcm16(samples));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    const auto frames = static_cast<int64_t>(samples.size());
    Grid().SelectCellAt(Grid().ColumnOfKind(ckForWord), 1);

    std::string lost;
    QTimer::singleShot(0, BatchRecForm, [&] {
        Ui::TBatchRecForm &ui = BatchRecForm->Controls();
        ui.RecStopButton->click();
        ASSERT_TRUE(WaitFor([&] { return Backend.FramesCaptured >= frames; }));
        ui.RecStopButton->click();
        ASSERT_TRUE(WaitFor([&] { return !BatchRecForm->Extracting; }));
        ASSERT_EQ(3, ui.ListView->count());
        ui.ListView->selectAll();
        ui.InsertButton->click();
        // The second part's MP3 goes before the grid copies it.
        lost = BatchRecForm->Parts.at(1).Mp3File;
        QFile::remove(QString::fromStdString(lost));
    });
    MainForm->UpdateCommands();
    Form().ActBatchRec->trigger();
    QFile::remove(QString::fromStdString(Backend.CaptureFile));
    ASSERT_FALSE(lost.empty());
    ASSERT_EQ(1u, box.Texts.size());
    EXPECT_NE(std::string::npos, box.Requests[0].Text.indexOf(QString::fromStdString(lost)))
            << box.Texts[0];
    EXPECT_TRUE(box.Requests[0].Text.startsWith(QStringLiteral("The sound \"")));

    EXPECT_NE(before[0].Offset, list.GetSound(0)->Offset);
    EXPECT_EQ(before[1].Offset, list.GetSound(1)->Offset);
    EXPECT_EQ(before[2].Offset, list.GetSound(2)->Offset);
    MainForm->UpdateCommands();
    Form().ActUndo->trigger();
    for (int i = 0; i < 3; ++i) {
        const TSoundRec *sound = Grid().GetWordList()->GetSound(i);
        ASSERT_NE(nullptr, sound) << i;
        EXPECT_EQ(before[static_cast<size_t>(i)].Offset, sound->Offset) << i;
        EXPECT_EQ(before[static_cast<size_t>(i)].Size, sound->Size) << i;
    }
}
