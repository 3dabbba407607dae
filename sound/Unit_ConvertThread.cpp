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

namespace {

// The encoder reads the samples from here on: four bytes past the canonical header.
constexpr qint64 EncodeFrom = 48;
constexpr int BytesPerSample = 2;
constexpr int Percent = 100;
constexpr int64_t MaxDataLength = std::numeric_limits<uint32_t>::max() - CanonicalHeaderSize;
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
    if (!OpenRegularFile(file) || !ParseWav(file, info) || !CanConvertToRecordingFormat(info.Format)
        || !file.seek(info.DataOffset))
        return false;
    const QByteArray samples = file.read(info.DataLength);
    file.close();
    std::vector<int16_t> converted;
    if (samples.size() != info.DataLength
        || !ConvertToRecordingFormat(info.Format, samples.constData(),
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
    TWaveFormat format;
    if (!GetWaveFormat(source, format))
        return mp3Failed;
    TWaveInfo info;
    if (!ParseWav(source, info))
        return mp3Failed;
    // Extra chunks would be encoded as noise: such a file is rewritten like one in another format.
    if ((!InRecordingFormat(format) || !info.Canonical) && !RewriteInRecordingFormat(source))
        return mp3Failed;

    QFile in(FileNameOf(source));
    QFile out(FileNameOf(dest));
    if (!OpenRegularFile(in) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return mp3Failed;
    const qint64 size = in.size();
    if (!in.seek(std::min(size, EncodeFrom)))
        return mp3Failed;
    BE_CONFIG config;
    uint32_t samplesPerChunk = 0;
    uint32_t bufferSize = 0;
    HBE_STREAM stream = nullptr;
    if (beInitStream(&config, &samplesPerChunk, &bufferSize, &stream) != BE_ERR_SUCCESSFUL)
        return mp3Failed;
    const qint64 chunk = qint64{samplesPerChunk} * BytesPerSample;
    InitCurrentProgress(size / chunk);
    std::vector<int16_t> samples(samplesPerChunk);
    std::vector<uint8_t> encoded(bufferSize);
    bool cancelled = false;
    bool failed = false;
    while (!cancelled && !failed && in.pos() < size) {
        const qint64 got = in.read(reinterpret_cast<char *>(samples.data()), chunk);
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
// convert is taken from its word; so is every sound when the store cannot be moved.
void TConvertThread::ExecuteWordList()
{
    TWordList *const list = Task.WordList;
    if (!list) {
        Result = crFailed;
        return;
    }
    int count = 0;
    std::string store;
    Synchronize([&] {
        count = list->Count();
        store = list->SoundTempFile;
    });
    auto dropSound = [&](int index) { Synchronize([&] { list->SetSound(index, 0, 0); }); };

    std::string oldStore;
    std::string wav;
    std::string mp3;
    QFile oldFile;
    QFile newFile(FileNameOf(store));
    bool ready = false;
    try {
        oldStore = CreateTempFile("ZRS");
        wav = CreateTempFile("ZRW");
        mp3 = CreateTempFile("ZRM");
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
    for (int i = 0; i < count && !cancelled; ++i) {
        std::optional<TSoundRec> sound;
        Synchronize([&] {
            if (const TSoundRec *rec = list->GetSound(i))
                sound = *rec;
        });
        if (!sound)
            continue;
        int result = mp3Failed;
        if (ready && sound->Offset >= 0 && sound->Size > 0
            && qint64{sound->Offset} + sound->Size <= oldFile.size()) {
            QFile wavFile(FileNameOf(wav));
            if (oldFile.seek(sound->Offset)
                && wavFile.open(QIODevice::WriteOnly | QIODevice::Truncate)
                && CopyBlocks(oldFile, wavFile, sound->Size) && wavFile.flush()) {
                wavFile.close();
                result = ConvertToMp3(wav, mp3);
            }
        }
        if (result == mp3Done) {
            QFile mp3File(FileNameOf(mp3));
            const qint64 offset = newFile.pos();
            const qint64 size = FileSize(mp3);
            if (mp3File.open(QIODevice::ReadOnly) && offset + size <= MaxStoreSize
                && CopyBlocks(mp3File, newFile, size)) {
                Done += sound->Size;
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
    }
    newFile.close();
    oldFile.close();
    RemoveFile(wav);
    RemoveFile(mp3);
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
