#include "sound/Unit_ConvertThread.h"

#include "platform/Mp3Encoder.h"
#include "platform/ReadOpen.h"
#include "platform/TempFile.h"
#include "sound/AudioConvert.h"
#include "sound/SoundFiles.h"
#include "sound/Unit_Sound.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <limits>
#include <optional>
#include <thread>

namespace {

// The encoder starts four bytes into the samples, as it always has.
constexpr qint64 SkippedBytes = 4;
constexpr int BytesPerSample = 2;
constexpr int Percent = 100;
constexpr int64_t MaxDataLength = std::numeric_limits<uint32_t>::max() - CanonicalHeaderSize;
// A list's sounds are converted by at most this many threads side by side.
constexpr int MaxListWorkers = 4;
// Sound positions and sizes are 32-bit signed numbers.
constexpr int64_t MaxStoreSize = std::numeric_limits<int32_t>::max();

bool InRecordingFormat(const TWaveFormat &format)
{
    return format.FormatTag == RecordingFormat.FormatTag
            && format.Channels == RecordingFormat.Channels
            && format.SamplesPerSec == RecordingFormat.SamplesPerSec
            && format.BitsPerSample == RecordingFormat.BitsPerSample;
}

// Rewrites a WAV file in place as a canonical file in the recording format. The samples are
// those of the "data" chunk, found by walking the chunks and cut to the file and to whole frames.
bool RewriteInRecordingFormat(const std::string &fileName)
{
    TWaveInfo info;
    QFile file(FileNameOf(fileName));
    if (!OpenRegularFile(file) || !ParseWav(file, info)
        || !CanConvertToRecordingFormat(info.Format, info.SampleFormat)
        || !file.seek(info.DataOffset))
        return false;
    const QByteArray samples = file.read(info.DataLength);
    file.close();
    std::vector<int16_t> converted;
    if (samples.size() != info.DataLength
        || !ConvertToRecordingFormat(info.Format, info.SampleFormat, samples.constData(),
                                     static_cast<size_t>(samples.size()), converted))
        return false;
    const int64_t length = static_cast<int64_t>(converted.size()) * BytesPerSample;
    return length <= MaxDataLength
            && WriteCanonicalWav(fileName, RecordingFormat,
                                 reinterpret_cast<const char *>(converted.data()),
                                 static_cast<uint32_t>(length));
}

} // namespace

TConvertThread::TConvertThread(const TConvertTask &task, IConvertView *view, QObject *viewObject)
    : Task(task)
    , View(view)
    , ViewObject(viewObject)
{ }

void TConvertThread::run()
{
    Execute();
}

void TConvertThread::Terminate()
{
    TerminateRequested = true;
}

void TConvertThread::Synchronize(const std::function<void()> &step)
{
    QObject *gui = ViewObject ? ViewObject.data() : QCoreApplication::instance();
    if (!gui || QThread::currentThread() == gui->thread())
        step();
    else
        QMetaObject::invokeMethod(gui, step, Qt::BlockingQueuedConnection);
}

void TConvertThread::InitCurrentProgress(int64_t chunkCount)
{
    if (View)
        Synchronize([this, chunkCount] { View->InitCurrentProgress(chunkCount); });
}

void TConvertThread::StepCurrentProgress()
{
    if (View)
        Synchronize([this] { View->StepCurrentProgress(); });
}

void TConvertThread::UpdateTotalProgress()
{
    if (View && Total > 0)
        Synchronize(
                [this] { View->UpdateTotalProgress(static_cast<int>(Done * Percent / Total)); });
}

int TConvertThread::ConvertToMp3(const std::string &source, const std::string &dest)
{
    return Encode(source, dest, true);
}

int TConvertThread::ConvertToMp3Quietly(const std::string &source, const std::string &dest)
{
    return Encode(source, dest, false);
}

int TConvertThread::Encode(const std::string &source, const std::string &dest, bool showProgress)
{
    TWaveFormat format;
    if (!GetWaveFormat(source, format))
        return mp3Failed;
    TWaveInfo info;
    if (!ParseWav(source, info))
        return mp3Failed;
    // Anything else than the canonical recording format is rewritten into it, also a file with
    // chunks after its samples: only the samples of the data chunk are encoded.
    if (!InRecordingFormat(format) || info.SampleFormat != WaveFormatPcm || !info.Canonical) {
        if (!RewriteInRecordingFormat(source) || !ParseWav(source, info))
            return mp3Failed;
    }

    QFile in(FileNameOf(source));
    QFile out(FileNameOf(dest));
    if (!OpenRegularFile(in) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return mp3Failed;
    // Whole samples of the data chunk only, whatever its header claims.
    const qint64 size = info.DataOffset + (info.DataLength & ~qint64{1});
    if (!in.seek(std::min(size, info.DataOffset + SkippedBytes)))
        return mp3Failed;
    BE_CONFIG config;
    uint32_t samplesPerChunk = 0;
    uint32_t bufferSize = 0;
    HBE_STREAM stream = nullptr;
    if (beInitStream(&config, &samplesPerChunk, &bufferSize, &stream) != BE_ERR_SUCCESSFUL)
        return mp3Failed;
    const qint64 chunk = qint64{samplesPerChunk} * BytesPerSample;
    if (showProgress)
        InitCurrentProgress(size / chunk);
    std::vector<int16_t> samples(samplesPerChunk);
    std::vector<uint8_t> encoded(bufferSize);
    bool cancelled = false;
    bool failed = false;
    while (!cancelled && !failed && in.pos() < size) {
        const qint64 got = in.read(reinterpret_cast<char *>(samples.data()),
                                   std::min(chunk, size - in.pos()));
        if (got <= 0) {
            failed = true;
            break;
        }
        uint32_t length = 0;
        beEncodeChunk(stream, static_cast<uint32_t>(got / BytesPerSample), samples.data(),
                      encoded.data(), &length);
        failed = out.write(reinterpret_cast<const char *>(encoded.data()), length) != length;
        if (Terminated())
            cancelled = true;
        if (showProgress)
            StepCurrentProgress();
    }
    uint32_t length = 0;
    beDeinitStream(stream, encoded.data(), &length);
    failed = failed || out.write(reinterpret_cast<const char *>(encoded.data()), length) != length
            || !out.flush();
    beCloseStream(stream);
    if (failed)
        return mp3Failed;
    return cancelled ? mp3Cancelled : mp3Done;
}

void TConvertThread::Execute()
{
    switch (Task.Mode) {
    case cmWordList:
        ExecuteWordList();
        break;
    case cmOneFile:
        switch (ConvertToMp3(Task.SourceFile, Task.DestFile)) {
        case mp3Done:
            Result = crDone;
            break;
        case mp3Cancelled:
            Result = crCancelled;
            break;
        default:
            Result = crFailed;
            break;
        }
        break;
    case cmParts:
        ExecuteParts();
        break;
    default:
        Result = crFailed;
        break;
    }
}

// The store is moved aside and every sound is converted into a new one. A sound that does not
// convert is taken from its word; so is every sound when the store cannot be moved. The encoder
// alone runs at about 200 times real time, so a list's sounds are converted a few at a time side
// by side, each in scratch files of its own, and appended to the new store in list order. The
// current bar counts the sounds of each such round.
void TConvertThread::ExecuteWordList()
{
    TWordList *const list = Task.WordList;
    if (!list) {
        Result = crFailed;
        return;
    }
    std::vector<std::optional<TSoundRec>> sounds;
    std::string store;
    Synchronize([&] {
        sounds.resize(static_cast<size_t>(list->Count()));
        for (size_t i = 0; i < sounds.size(); ++i)
            if (const TSoundRec *rec = list->GetSound(static_cast<int>(i)))
                sounds[i] = *rec;
        store = list->SoundTempFile;
    });
    auto dropSound = [&](int index) { Synchronize([&] { list->SetSound(index, 0, 0); }); };

    const int workers
            = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, MaxListWorkers);
    std::string oldStore;
    std::vector<std::string> wavs;
    std::vector<std::string> mp3s;
    QFile oldFile;
    QFile newFile(FileNameOf(store));
    bool ready = false;
    try {
        oldStore = CreateTempFile("ZRS");
        for (int k = 0; k < workers; ++k) {
            wavs.push_back(CreateTempFile("ZRW"));
            mp3s.push_back(CreateTempFile("ZRM"));
        }
        oldFile.setFileName(FileNameOf(oldStore));
        ready = QFile::remove(FileNameOf(oldStore))
                && QFile::rename(FileNameOf(store), FileNameOf(oldStore))
                && newFile.open(QIODevice::WriteOnly | QIODevice::Truncate)
                && oldFile.open(QIODevice::ReadOnly);
    } catch (const EInOutError &) {
        ready = false;
    }
    bool failed = !ready;
    bool cancelled = false;
    Total = ready ? oldFile.size() : 0;
    Done = 0;
    const int count = static_cast<int>(sounds.size());
    for (int first = 0; first < count && !cancelled;) {
        // One round: the next sounds, one for each worker.
        std::vector<int> round;
        for (; first < count && static_cast<int>(round.size()) < workers; ++first)
            if (sounds[static_cast<size_t>(first)])
                round.push_back(first);
        if (round.empty())
            break;
        InitCurrentProgress(static_cast<int64_t>(round.size()));
        std::vector<int> results(round.size(), mp3Failed);
        std::vector<std::thread> threads;
        for (size_t k = 0; k < round.size(); ++k) {
            const TSoundRec &sound = *sounds[static_cast<size_t>(round[k])];
            if (!ready || sound.Offset < 0 || sound.Size <= 0
                || qint64{sound.Offset} + sound.Size > oldFile.size())
                continue;
            QFile wavFile(FileNameOf(wavs[k]));
            if (oldFile.seek(sound.Offset)
                && wavFile.open(QIODevice::WriteOnly | QIODevice::Truncate)
                && CopyBlocks(oldFile, wavFile, sound.Size) && wavFile.flush()) {
                wavFile.close();
                threads.emplace_back([this, &results, &wavs, &mp3s, k] {
                    results[k] = ConvertToMp3Quietly(wavs[k], mp3s[k]);
                });
            }
        }
        for (std::thread &thread : threads)
            thread.join();
        for (size_t k = 0; k < round.size() && !cancelled; ++k) {
            const int i = round[k];
            const TSoundRec &sound = *sounds[static_cast<size_t>(i)];
            int result = results[k];
            if (result == mp3Done) {
                QFile mp3File(FileNameOf(mp3s[k]));
                const qint64 offset = newFile.pos();
                const qint64 size = FileSize(mp3s[k]);
                if (mp3File.open(QIODevice::ReadOnly) && offset + size <= MaxStoreSize
                    && CopyBlocks(mp3File, newFile, size)) {
                    Done += sound.Size;
                    Synchronize([&] {
                        list->SetSound(i, static_cast<int32_t>(offset), static_cast<int32_t>(size));
                    });
                    UpdateTotalProgress();
                } else {
                    result = mp3Failed;
                }
            }
            if (result == mp3Cancelled || Terminated())
                cancelled = true;
            else if (result == mp3Failed) {
                failed = true;
                dropSound(i);
            }
            StepCurrentProgress();
        }
    }
    newFile.close();
    oldFile.close();
    for (size_t k = 0; k < wavs.size(); ++k) {
        RemoveFile(wavs[k]);
        RemoveFile(mp3s[k]);
    }
    if (ready)
        RemoveFile(oldStore);
    else if (!oldStore.empty() && !QFile::exists(FileNameOf(store)))
        QFile::rename(FileNameOf(oldStore), FileNameOf(store));
    Result = cancelled ? crCancelled : failed ? crFailed : crDone;
}

// Each part is converted into an MP3 file of its own; the store is written by the caller. The
// offsets count on from the store's present end.
void TConvertThread::ExecuteParts()
{
    TWordList *const list = Task.WordList;
    const int parts = Task.Last - Task.First + 1;
    if (!list || !Task.Parts || !Task.SoundRecs || parts < 0) {
        Result = crFailed;
        return;
    }
    int64_t nextOffset = 0;
    Done = 0;
    Total = 0;
    Synchronize([&] {
        nextOffset = FileSize(list->SoundTempFile);
        for (int i = 0; i < parts && i < static_cast<int>(Task.Parts->size()); ++i) {
            const TSpeechPart &part = (*Task.Parts)[static_cast<size_t>(i)];
            Total += int64_t{part.End} - part.Start;
        }
    });
    bool failed = false;
    bool cancelled = false;
    int converted = 0;
    for (int partIndex = 0; partIndex < parts && !failed && !cancelled; ++partIndex) {
        std::optional<TSpeechPart> part;
        Synchronize([&] {
            if (partIndex < static_cast<int>(Task.Parts->size()))
                part = (*Task.Parts)[static_cast<size_t>(partIndex)];
        });
        std::string mp3;
        try {
            mp3 = CreateTempFile("ZRM");
        } catch (const EInOutError &) {
            failed = true;
            break;
        }
        const int result = part ? ConvertToMp3(part->WavFile, mp3) : mp3Failed;
        const int64_t size = FileSize(mp3);
        if (result == mp3Done && nextOffset + size <= MaxStoreSize) {
            Done += int64_t{part->End} - part->Start;
            const TSoundRec record{static_cast<int32_t>(nextOffset), static_cast<int32_t>(size)};
            nextOffset += size;
            Synchronize([&] {
                Task.SoundRecs->push_back(record);
                (*Task.Parts)[static_cast<size_t>(partIndex)].Mp3File = mp3;
            });
            RemoveFile(part->WavFile);
            ++converted;
            UpdateTotalProgress();
            cancelled = Terminated();
        } else {
            RemoveFile(mp3);
            cancelled = result == mp3Cancelled;
            failed = !cancelled;
        }
    }
    if (failed || cancelled) {
        Synchronize([&] {
            for (int i = 0; i < parts && i < static_cast<int>(Task.Parts->size()); ++i) {
                const TSpeechPart &part = (*Task.Parts)[static_cast<size_t>(i)];
                RemoveFile(i < converted ? part.Mp3File : part.WavFile);
            }
        });
    }
    Result = cancelled ? crCancelled : failed ? crFailed : crDone;
}
