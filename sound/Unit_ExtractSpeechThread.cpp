#include "sound/Unit_ExtractSpeechThread.h"

#include "core/Unit_GlobalSettings.h"
#include "platform/TempFile.h"
#include "sound/SoundFiles.h"
#include "sound/Unit_Sound.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace {

// Part offsets are 32-bit; sound beyond that cannot be cut out.
constexpr int64_t MaxOffset = std::numeric_limits<int32_t>::max();

int CountQuiet(const char *block, int threshold)
{
    int quiet = 0;
    for (int i = 0; i < SpeechSplit::BlockSamples; ++i) {
        const auto low = static_cast<uint8_t>(block[2 * i]);
        const auto high = static_cast<uint8_t>(block[2 * i + 1]);
        const auto sample = static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
        quiet += std::abs(int{sample}) < threshold ? 1 : 0;
    }
    return quiet;
}

} // namespace

std::vector<TSpeechPart> FindSpeechParts(QIODevice &recording, uint8_t noiseLevel)
{
    using namespace SpeechSplit;
    std::vector<TSpeechPart> parts;
    const int64_t size = std::min<int64_t>(recording.size(), MaxOffset);
    if (size < FirstByte + BlockBytes || !recording.seek(FirstByte))
        return parts;
    const int threshold = noiseLevel * NoiseStep;
    bool inSilence = true;
    uint8_t quietRun = 0;
    int64_t pos = FirstByte;
    std::array<char, BlockBytes> block{};
    while (pos <= size - BlockBytes) {
        if (recording.read(block.data(), BlockBytes) != BlockBytes)
            break;
        pos += BlockBytes;
        if (CountQuiet(block.data(), threshold) <= QuietSamples) {
            if (inSilence)
                parts.push_back(
                        {static_cast<int32_t>(std::max<int64_t>(CanonicalHeaderSize, pos - LeadIn)),
                         0,
                         {},
                         {}});
            inSilence = false;
            quietRun = 0;
        } else {
            ++quietRun;
            if (quietRun == PauseBlocks && !inSilence) {
                parts.back().End = static_cast<int32_t>(pos - Tail);
                inSilence = true;
            }
        }
    }
    if (!parts.empty() && parts.back().End == 0)
        parts.back().End
                = static_cast<int32_t>(std::min(size, pos - (int64_t{quietRun} - 1) * BlockBytes));
    return parts;
}

bool WritePartWave(QIODevice &recording, const TWaveFormat &format, TSpeechPart &part)
{
    std::string fileName;
    try {
        fileName = CreateTempFile("ZRW");
    } catch (const EInOutError &) {
        return false;
    }
    const qint64 length = int64_t{part.End} - part.Start;
    const std::string header = CanonicalHeader(format, static_cast<uint32_t>(length));
    QFile file(FileNameOf(fileName));
    const bool written = length >= 0 && recording.seek(part.Start)
            && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(header.data(), CanonicalHeaderSize) == CanonicalHeaderSize
            && CopyBlocks(recording, file, length) && file.flush();
    file.close();
    if (!written) {
        RemoveFile(fileName);
        return false;
    }
    part.WavFile = fileName;
    return true;
}

TExtractSpeechThread::TExtractSpeechThread(std::string fileName, std::vector<TSpeechPart> *parts,
                                           QObject *receiver, std::function<void()> onPartsReady)
    : FileName(std::move(fileName))
    , Parts(parts)
    , NoiseLevel(OtherOptions.NoiseLevel)
    , Receiver(receiver)
    , OnPartsReady(std::move(onPartsReady))
{ }

void TExtractSpeechThread::run()
{
    Execute();
}

void TExtractSpeechThread::Execute()
{
    {
        QFile recording(FileNameOf(FileName));
        Failed = !recording.open(QIODevice::ReadOnly);
        Parts->clear();
        if (!Failed) {
            *Parts = FindSpeechParts(recording, NoiseLevel);
            // A recording whose format does not read was still made in the recording format;
            // its parts must not carry a header of no format at all.
            TWaveFormat format;
            if (!GetWaveFormat(FileName, format))
                format = RecordingFormat;
            for (TSpeechPart &part : *Parts) {
                if (!WritePartWave(recording, format, part)) {
                    Failed = true;
                    break;
                }
            }
            if (Failed) {
                for (const TSpeechPart &part : *Parts)
                    RemoveFile(part.WavFile);
                Parts->clear();
            }
        }
    }
    RemoveFile(FileName);
    QObject *receiver = Receiver.data();
    if (!receiver || !OnPartsReady)
        return;
    if (QThread::currentThread() == receiver->thread())
        OnPartsReady();
    else
        QMetaObject::invokeMethod(receiver, OnPartsReady, Qt::BlockingQueuedConnection);
}
