#include "core/Unit_GlobalSettings.h"
#include "sound/SoundFiles.h"
#include "sound/Unit_ExtractSpeechThread.h"
#include "sound/WavFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "support/WavBytes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int Threshold = 4 * SpeechSplit::NoiseStep;

// One 4000-byte block of the detector: 'S' speech, '.' silence, 'E' speech with exactly 1500
// samples just under the threshold, 'e' silence with 1501 of them (both with the loud samples at
// the threshold itself and the signs mixed).
std::string Block(char kind)
{
    std::vector<int16_t> samples(SpeechSplit::BlockSamples, 0);
    const int quiet = kind == 'E' ? SpeechSplit::QuietSamples : SpeechSplit::QuietSamples + 1;
    for (int i = 0; i < SpeechSplit::BlockSamples; ++i) {
        const int sign = i % 2 == 0 ? 1 : -1;
        if (kind == 'S')
            samples[static_cast<size_t>(i)] = static_cast<int16_t>(sign * 9000);
        else if (kind == 'E' || kind == 'e')
            samples[static_cast<size_t>(i)]
                    = static_cast<int16_t>(sign * (i < quiet ? Threshold - 1 : Threshold));
    }
    return Pcm16(samples);
}

// A canonical recording whose examined sound, from byte 5000 on, is the blocks of the pattern.
std::string Recording(const std::string &pattern, const std::string &tail = {})
{
    std::string samples(SpeechSplit::FirstByte - CanonicalHeaderSize, '\0');
    for (char kind : pattern)
        samples += Block(kind);
    samples += tail;
    return TWavBytes::Canonical(1, 1, 44100, 16, samples);
}

struct TSpan
{
    int32_t Start;
    int32_t End;
    friend bool operator==(const TSpan &, const TSpan &) = default;
};

std::vector<TSpan> Spans(const std::string &bytes, uint8_t noiseLevel = 4)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    std::vector<TSpan> spans;
    for (const TSpeechPart &part : FindSpeechParts(buffer, noiseLevel))
        spans.push_back({part.Start, part.End});
    return spans;
}

// The byte just past block k of the pattern.
constexpr int32_t EndOfBlock(int k)
{
    return static_cast<int32_t>(SpeechSplit::FirstByte + SpeechSplit::BlockBytes * (k + 1));
}

std::string ReadAll(const std::string &fileName)
{
    QFile file(FileNameOf(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void WriteAll(const std::string &fileName, const std::string &bytes)
{
    QFile file(FileNameOf(fileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes.data(), static_cast<qint64>(bytes.size())),
              static_cast<qint64>(bytes.size()));
}

} // namespace

TEST(ExtractSpeech, PausesSplitFromTwentyQuietBlocksAndThresholdsAreStrict)
{
    // A 19-block pause stays inside the first part; 20 quiet blocks end it one block after its
    // last speech block, and the next part starts one block before its first.
    const std::string pattern = "SSS" + std::string(19, '.') + "SS" + std::string(20, '.') + "S"
            + std::string(25, '.');
    EXPECT_EQ(Spans(Recording(pattern)),
              (std::vector<TSpan>{{1000, EndOfBlock(23) + 4000},
                                  {EndOfBlock(44) - 8000, EndOfBlock(44) + 4000}}));

    // 1500 quiet samples are still speech, 1501 are silence; a sample at the threshold is loud.
    EXPECT_EQ(Spans(Recording("..E" + std::string(20, 'e') + "..")),
              (std::vector<TSpan>{{EndOfBlock(2) - 8000, EndOfBlock(2) + 4000}}));

    // Noise level 0 hears speech everywhere: one part from byte 1000 to the end of the file.
    const std::string silent = Recording(std::string(30, '.'), std::string(1000, '\0'));
    EXPECT_EQ(Spans(silent, 0), (std::vector<TSpan>{{1000, static_cast<int32_t>(silent.size())}}));
    EXPECT_TRUE(Spans(silent).empty());
}

TEST(ExtractSpeech, TheLastPartClosesAtTheEndOfTheRecordingOrAfterItsSpeech)
{
    // Ending in speech: the part runs to the file's last byte, a cut-off block included.
    const std::string inSpeech = Recording("..SS", std::string(1000, '\x40'));
    EXPECT_EQ(Spans(inSpeech),
              (std::vector<TSpan>{{EndOfBlock(2) - 8000, static_cast<int32_t>(inSpeech.size())}}));
    // Ending in a short pause: one block after the last speech block.
    EXPECT_EQ(Spans(Recording("SS.....")), (std::vector<TSpan>{{1000, EndOfBlock(1) + 4000}}));
    // Under 9000 bytes nothing is examined; exactly 9000 is one block.
    EXPECT_TRUE(Spans(Recording("") + std::string(3999, '\x7f')).empty());
    EXPECT_EQ(Spans(Recording("S")), (std::vector<TSpan>{{1000, 9000}}));
    EXPECT_TRUE(Spans(std::string(100, '\x7f')).empty());
}

TEST(ExtractSpeech, PartsAreWrittenByteExactTheRecordingIsDeletedAndTheWindowIsTold)
{
    TTempFolder temp;
    const std::string pattern = "SS" + std::string(20, '.') + "S.S" + std::string(3, '.');
    std::string recording = Recording(pattern);
    // The recording's own format goes into the parts' headers.
    const TWaveFormat format{WaveFormatPcm, 1, 22050, 44100, 2, 16, 0};
    recording.replace(0, CanonicalHeaderSize,
                      CanonicalHeader(format, static_cast<uint32_t>(recording.size() - 44)));
    const std::string fileName = temp.File("take.wav");
    WriteAll(fileName, recording);

    const uint8_t savedLevel = OtherOptions.NoiseLevel;
    OtherOptions.NoiseLevel = 4;
    std::vector<TSpeechPart> parts;
    QObject window;
    Qt::HANDLE toldOn = nullptr;
    int told = 0;
    size_t partsWhenTold = 0;
    auto *thread = new TExtractSpeechThread(fileName, &parts, &window, [&] {
        ++told;
        toldOn = QThread::currentThreadId();
        partsWhenTold = parts.size();
    });
    // The level is the one at the start: a later change does not reach the running split.
    OtherOptions.NoiseLevel = 0;
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    QElapsedTimer timer;
    timer.start();
    while (told == 0 && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    OtherOptions.NoiseLevel = savedLevel;

    ASSERT_EQ(told, 1);
    EXPECT_EQ(toldOn, QThread::currentThreadId());
    EXPECT_EQ(partsWhenTold, 2u);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].Start, 1000);
    EXPECT_EQ(parts[0].End, EndOfBlock(1) + 4000);
    EXPECT_EQ(parts[1].Start, EndOfBlock(22) - 8000);
    EXPECT_EQ(parts[1].End, EndOfBlock(24) + 4000);
    for (const TSpeechPart &part : parts) {
        const auto length = static_cast<size_t>(part.End - part.Start);
        EXPECT_EQ(ReadAll(part.WavFile),
                  CanonicalHeader(format, static_cast<uint32_t>(length))
                          + recording.substr(static_cast<size_t>(part.Start), length));
        EXPECT_TRUE(part.Mp3File.empty());
    }
    EXPECT_FALSE(QFile::exists(FileNameOf(fileName)));
    EXPECT_EQ(temp.Files().size(), 2u);
    for (const TSpeechPart &part : parts)
        RemoveFile(part.WavFile);
}

TEST(ExtractSpeech, UnreadableFormatsAndFailuresLeaveNoCorruptOrStrayFiles)
{
    TTempFolder temp;
    QObject window;
    int told = 0;
    auto execute = [&](const std::string &fileName, std::vector<TSpeechPart> &parts) {
        TExtractSpeechThread thread(fileName, &parts, &window, [&] { ++told; });
        thread.Execute();
        return thread.Failed;
    };

    // A header that does not read: the parts are headed in the recording format.
    std::string recording = Recording("SS...");
    recording.replace(0, 4, "JUNK");
    const std::string damaged = temp.File("damaged.wav");
    WriteAll(damaged, recording);
    std::vector<TSpeechPart> parts{{1, 2, "stale", ""}};
    EXPECT_FALSE(execute(damaged, parts));
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(ReadAll(parts[0].WavFile).substr(0, CanonicalHeaderSize),
              CanonicalHeader(RecordingFormat, static_cast<uint32_t>(parts[0].End - 1000)));
    RemoveFile(parts[0].WavFile);
    EXPECT_EQ(told, 1);

    // A silent take gives no part and the window is still told.
    const std::string silent = temp.File("silent.wav");
    WriteAll(silent, Recording(std::string(40, '.')));
    EXPECT_FALSE(execute(silent, parts));
    EXPECT_TRUE(parts.empty());
    EXPECT_EQ(told, 2);

    // A missing recording, and parts that cannot be written: failure, no part, no file left.
    EXPECT_TRUE(execute(temp.File("missing.wav"), parts));
    EXPECT_TRUE(parts.empty());
    // The first part (12044 bytes) is written, the second does not fit: the first goes again.
    const std::string take = temp.File("take.wav");
    WriteAll(take, Recording("S" + std::string(20, '.') + "SS..."));
    bool failed = false;
    {
        const TFileSizeLimit limit(12100);
        failed = execute(take, parts);
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(parts.empty());
    EXPECT_EQ(told, 4);
    EXPECT_TRUE(temp.Files().isEmpty());
}
