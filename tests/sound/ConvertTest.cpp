#include "core/Unit_WordList.h"
#include "platform/Mp3Decoder.h"
#include "platform/TempFile.h"
#include "sound/AudioConvert.h"
#include "sound/SoundFiles.h"
#include "sound/Unit_ConvertForm.h"
#include "sound/Unit_ConvertThread.h"
#include "sound/Unit_Sound.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"
#include "support/WordListFixtures.h"
#include "ui_ConvertForm.h"

#include <QKeyEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// What an MP3 file holds, frame by frame from its first byte.
struct TMp3Frames
{
    int Count = 0;
    // Every header is FF FB 50 C0 (52 when padded) and every frame 208 or 209 bytes long, up to
    // the file's end.
    bool Plain = true;
};

TMp3Frames Frames(const std::string &bytes)
{
    TMp3Frames frames;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const bool padded = pos + 2 < bytes.size() && bytes[pos + 2] == '\x52';
        const std::string header = bytes.substr(pos, 4);
        if (header != std::string("\xFF\xFB\x50\xC0", 4) && header != "\xFF\xFB\x52\xC0") {
            frames.Plain = false;
            break;
        }
        ++frames.Count;
        pos += padded ? 209 : 208;
    }
    frames.Plain = frames.Plain && pos == bytes.size() && frames.Count > 0;
    return frames;
}

// The decoded sound of an MP3 file: its rate, channels and samples.
struct TDecoded
{
    int Rate = 0;
    int Channels = 0;
    std::vector<int16_t> Samples;
};

TDecoded Decode(const std::string &fileName)
{
    TDecoded decoded;
    TMp3Decoder decoder;
    int error = 0;
    if (!decoder.Open(fileName, error))
        return decoded;
    decoded.Rate = decoder.Rate();
    decoded.Channels = decoder.Channels();
    std::vector<int16_t> block(4096);
    for (long got; (got = decoder.Read(block.data(), 4096 / decoded.Channels)) > 0;)
        decoded.Samples.insert(decoded.Samples.end(), block.begin(),
                               block.begin() + got * decoded.Channels);
    return decoded;
}

// LAME's delay and the last frame's filling: what a decoder gives beyond the samples encoded.
constexpr int EncoderSlack = 3 * 1152;

// Records the bars and can stop the conversion at a chosen moment.
class TRecordingView : public IConvertView
{
public:
    void InitCurrentProgress(int64_t chunkCount) override
    {
        Chunks.push_back(chunkCount);
        if (TerminateAtSound == static_cast<int>(Chunks.size()) && Thread)
            Thread->Terminate();
    }
    void StepCurrentProgress() override { ++Steps; }
    void UpdateTotalProgress(int percent) override { Totals.push_back(percent); }

    TConvertThread *Thread = nullptr;
    int TerminateAtSound = 0;
    std::vector<int64_t> Chunks;
    int Steps = 0;
    std::vector<int> Totals;
};

class ConvertTest : public ::testing::Test
{
protected:
    std::string Write(const std::string &name, const std::string &bytes)
    {
        return WriteFile(Temp.File(name), bytes);
    }
    // Runs the conversion here, its steps directly.
    int Run(const TConvertTask &task, TRecordingView &view)
    {
        TConvertThread thread(task, &view, nullptr);
        view.Thread = &thread;
        thread.Execute();
        view.Thread = nullptr;
        return thread.Result;
    }
    int ConvertFile(const std::string &source, const std::string &dest)
    {
        TRecordingView view;
        TConvertTask task;
        task.Mode = cmOneFile;
        task.SourceFile = source;
        task.DestFile = dest;
        return Run(task, view);
    }

    TTempFolder Temp;
};

} // namespace

TEST_F(ConvertTest, AnyPcmWavBecomesPlainCbrFramesOfTheRightLength)
{
    // 8-bit stereo at 22050 Hz, one second: rewritten in the recording format, then encoded.
    std::string stereo;
    for (int16_t sample : SpeechLike(22050, 1.0)) {
        stereo += static_cast<char>((sample >> 8) + 128);
        stereo += static_cast<char>((sample >> 8) + 128);
    }
    const std::string source = Write("s.wav", TWavBytes::Canonical(1, 2, 22050, 8, stereo));
    const std::string dest = Temp.File("s.mp3");
    ASSERT_EQ(crDone, ConvertFile(source, dest));
    const std::string rewritten = ReadFile(source);
    ASSERT_GE(rewritten.size(), 44u);
    EXPECT_EQ(TWavBytes::Canonical(1, 1, 44100, 16, rewritten.substr(44)), rewritten);
    EXPECT_NEAR(88200, static_cast<double>(rewritten.size() - 44), 8);

    const std::string mp3 = ReadFile(dest);
    const TMp3Frames frames = Frames(mp3);
    EXPECT_TRUE(frames.Plain) << frames.Count;
    // About 8000 bytes a second.
    EXPECT_NEAR(40, frames.Count, 2);
    const TDecoded decoded = Decode(dest);
    EXPECT_EQ(44100, decoded.Rate);
    EXPECT_EQ(1, decoded.Channels);
    EXPECT_GE(static_cast<int>(decoded.Samples.size()), 44100 - 2);
    EXPECT_LE(static_cast<int>(decoded.Samples.size()), 44100 + EncoderSlack);
    EXPECT_EQ(static_cast<size_t>(frames.Count) * 1152, decoded.Samples.size());

    // A canonical recording is encoded as it is, from byte 48 on.
    const std::string recording
            = TWavBytes::Canonical(1, 1, 44100, 16, Pcm16(Sine(44100, 300, 0.3, 9000)));
    const std::string canonical = Write("c.wav", recording);
    ASSERT_EQ(crDone, ConvertFile(canonical, dest));
    EXPECT_EQ(recording, ReadFile(canonical));
    EXPECT_TRUE(Frames(ReadFile(dest)).Plain);
}

TEST_F(ConvertTest, HeadersOfOtherShapesAreReadByTheirChunks)
{
    const std::string dest = Temp.File("out.mp3");
    const std::string silence(2 * 22050, '\0');
    // A LIST chunk before the samples: its bytes must not be encoded as a click.
    const std::string listFirst = Write("list.wav",
                                        TWavBytes()
                                                .Format(1, 1, 44100, 16)
                                                .Chunk("LIST", std::string(600, '\x7F'))
                                                .Data(silence)
                                                .Bytes());
    ASSERT_EQ(crDone, ConvertFile(listFirst, dest));
    const TDecoded decoded = Decode(dest);
    ASSERT_FALSE(decoded.Samples.empty());
    EXPECT_LT(*std::max_element(decoded.Samples.begin(), decoded.Samples.end()), 64);
    EXPECT_GE(static_cast<int>(decoded.Samples.size()), 22050 - 2);
    EXPECT_LE(static_cast<int>(decoded.Samples.size()), 22050 + EncoderSlack);

    // A data length far beyond the file: cut to what it holds.
    const std::string huge = Write("huge.wav",
                                   TWavBytes()
                                           .Format(1, 1, 11025, 16)
                                           .Data(Pcm16(Sine(11025, 200, 0.5, 5000)), 0xFFFFFFFF)
                                           .Bytes());
    ASSERT_EQ(crDone, ConvertFile(huge, dest));
    EXPECT_NEAR(22050 + EncoderSlack / 2, static_cast<double>(Decode(dest).Samples.size()),
                EncoderSlack / 2 + 2);

    // What cannot be converted fails without an MP3, and without a crash: an extended header, no
    // channels, no rate, 12 bits, an MP3 or a text.
    for (const std::string &bytes :
         {TWavBytes().Format(0xFFFE, 1, 44100, 16, 40).Data(silence).Bytes(),
          TWavBytes().Format(1, 0, 44100, 16).Data(silence).Bytes(),
          TWavBytes().Format(1, 1, 0, 16).Data(silence).Bytes(),
          TWavBytes().Format(1, 1, 44100, 12).Data(silence).Bytes(), ReadFile(dest),
          std::string("Not a sound at all.\n")}) {
        const std::string source = Write("bad.wav", bytes);
        QFile::remove(QString::fromStdString(Temp.File("bad.mp3")));
        EXPECT_EQ(crFailed, ConvertFile(source, Temp.File("bad.mp3")));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Temp.File("bad.mp3"))));
    }
}

TEST_F(ConvertTest, ListConversionDropsWhatFailsAndKeepsNoScratchFiles)
{
    std::unique_ptr<TWordList> list = FrenchList(5);
    for (int i = 0; i < 5; ++i)
        GiveSound(
                *list, i,
                i == 2 ? std::string("RIFF damaged")
                       : TWavBytes::Canonical(1, 1, 8000 * (i + 1), 8, std::string(4000, '\x90')));
    const QStringList before = Temp.Files();
    TRecordingView view;
    TConvertTask task;
    task.Mode = cmWordList;
    task.WordList = list.get();
    EXPECT_EQ(crFailed, Run(task, view));
    EXPECT_EQ(nullptr, list->GetSound(2));
    const std::string store = ReadFile(list->SoundTempFile);
    int32_t end = 0;
    for (int i : {0, 1, 3, 4}) {
        SCOPED_TRACE(i);
        const TSoundRec *sound = list->GetSound(i);
        ASSERT_NE(nullptr, sound);
        EXPECT_EQ(end, sound->Offset);
        const std::string mp3 = store.substr(static_cast<size_t>(sound->Offset),
                                             static_cast<size_t>(sound->Size));
        EXPECT_TRUE(Frames(mp3).Plain);
        end += sound->Size;
    }
    EXPECT_EQ(static_cast<size_t>(end), store.size());
    // The damaged sound's bytes are never done.
    EXPECT_EQ(99, view.Totals.back());
    EXPECT_EQ(before, Temp.Files());
}

TEST_F(ConvertTest, PartsGetRunningOffsetsAndACancelDeletesEveryFileOfTheRun)
{
    std::unique_ptr<TWordList> list = FrenchList(5);
    GiveSound(*list, 0, std::string(1000, 'x'));
    auto parts = [this] {
        std::vector<TSpeechPart> made;
        for (int i = 0; i < 5; ++i) {
            const std::string samples = Pcm16(Sine(44100, 200 + 100 * i, 0.2 + 0.1 * i, 8000));
            made.push_back({0, static_cast<int32_t>(samples.size()), CreateTempFile("ZRW"), {}});
            WriteFile(made.back().WavFile, TWavBytes::Canonical(1, 1, 44100, 16, samples));
        }
        return made;
    };

    std::vector<TSpeechPart> done = parts();
    std::vector<TSoundRec> records;
    TConvertTask task;
    task.Mode = cmParts;
    task.WordList = list.get();
    task.First = 0;
    task.Last = 4;
    task.Parts = &done;
    task.SoundRecs = &records;
    TRecordingView view;
    EXPECT_EQ(crDone, Run(task, view));
    ASSERT_EQ(5u, records.size());
    int32_t offset = 1000;
    for (size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(offset, records[i].Offset);
        EXPECT_EQ(FileSize(done[i].Mp3File), records[i].Size);
        EXPECT_TRUE(Frames(ReadFile(done[i].Mp3File)).Plain);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(done[i].WavFile)));
        offset += records[i].Size;
        RemoveFile(done[i].Mp3File);
    }
    EXPECT_EQ(1000, FileSize(list->SoundTempFile));
    EXPECT_EQ((std::vector<int>{10, 25, 45, 70, 100}), view.Totals);

    // Cancelled in the third of five parts.
    const QStringList before = Temp.Files();
    std::vector<TSpeechPart> cancelled = parts();
    records.clear();
    task.Parts = &cancelled;
    TRecordingView stopping;
    stopping.TerminateAtSound = 3;
    EXPECT_EQ(crCancelled, Run(task, stopping));
    EXPECT_EQ(2u, records.size());
    EXPECT_EQ(before, Temp.Files());

    // A part that fails ends the run the same way.
    std::vector<TSpeechPart> failing = parts();
    WriteFile(failing[1].WavFile, "no sound");
    records.clear();
    task.Parts = &failing;
    TRecordingView failed;
    EXPECT_EQ(crFailed, Run(task, failed));
    EXPECT_EQ(1u, records.size());
    EXPECT_EQ(before, Temp.Files());
}

TEST_F(ConvertTest, TheWindowStaysUntilItsThreadHasStopped)
{
    TNumberedPack pack;
    TConvertForm form;
    form.ApplyLanguage();
    Ui::TConvertForm &ui = form.Controls();
    EXPECT_EQ(NumberedText(TEntry::ConvertCaption), form.windowTitle().toStdString());
    EXPECT_EQ(NumberedText(TEntry::ConvertTotalLabel), ui.TotalLabel->text().toStdString());
    EXPECT_EQ(NumberedText(TEntry::CancelButton), ui.CancelButton->text().toStdString());

    const std::string source
            = Write("long.wav", TWavBytes::Canonical(1, 1, 44100, 16, Pcm16(SpeechLike(44100, 3))));
    form.Task.Mode = cmOneFile;
    form.Task.SourceFile = source;
    form.Task.DestFile = Temp.File("long.mp3");
    bool stayed = false;
    QMetaObject::Connection once;
    once = QObject::connect(ui.CurrentProgressBar, &QProgressBar::valueChanged, &form,
                            [&](int value) {
                                if (value != 1)
                                    return;
                                QObject::disconnect(once);
                                QTest::keyClick(&form, Qt::Key_Escape);
                                form.close();
                                stayed = form.isVisible() && form.Running();
                            });
    EXPECT_EQ(crCancelled, form.exec());
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Running());
    // One file: the short window, without the total bar.
    EXPECT_EQ(163 - 27, form.height());
    EXPECT_EQ(96, ui.CancelButton->y());
    EXPECT_FALSE(ui.TotalProgressBar->isVisibleTo(&form));
    EXPECT_EQ(NumberedText(TEntry::ConvertingOneSound), ui.ConvLabel->text().toStdString());
    EXPECT_EQ(NumberedText(TEntry::ConvertProgressLabel), ui.CurrentLabel->text().toStdString());

    // A list: the tall window with both bars; it ends by itself.
    std::unique_ptr<TWordList> list = FrenchList(1);
    GiveSound(*list, 0, TWavBytes::Canonical(1, 1, 8000, 8, std::string(800, '\x80')));
    form.Task = {};
    form.Task.Mode = cmWordList;
    form.Task.WordList = list.get();
    EXPECT_EQ(crDone, form.exec());
    EXPECT_EQ(201 - 27, form.height());
    EXPECT_EQ(136, ui.CancelButton->y());
    EXPECT_TRUE(ui.TotalProgressBar->isVisibleTo(&form));
    EXPECT_EQ(100, ui.TotalProgressBar->value());
    EXPECT_EQ(NumberedText(TEntry::ConvertingSounds), ui.ConvLabel->text().toStdString());
    EXPECT_EQ(NumberedText(TEntry::CurrentSoundLabel), ui.CurrentLabel->text().toStdString());
    ASSERT_NE(nullptr, list->GetSound(0));
    EXPECT_TRUE(Frames(ReadFile(list->SoundTempFile)).Plain);
}
