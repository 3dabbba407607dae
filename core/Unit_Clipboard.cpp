#include "core/Unit_Clipboard.h"

#include "core/Unit_Streams.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/TempFile.h"
#include "platform/WorkBlocks.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr size_t MaxWordBytes = 512;
constexpr size_t MaxShortBytes = 64;
constexpr size_t MaxContextBytes = 1000;
constexpr int64_t CopyBlock = 256 * 1024;
const std::string EndMark = "\r";
constexpr int RecordTexts = 5;

// Writes go through a stream writer's buffer; the file keeps none of its own, so a failed write
// leaves nothing behind that could stop the store being cut back.
void OpenStore(QFile &store, QIODevice::OpenMode mode)
{
    if (!store.open(mode))
        throw EInOutError(FileErrorText(store));
}

// Reads sounds out of the store. The whole store is looked at through one mapping, so copying
// many words costs no seek and read per sound; where the store cannot be mapped it is read in
// bounded blocks.
class TStoreReader
{
public:
    explicit TStoreReader(QFile &store)
        : Store(store)
        , Size(store.size())
        , View(Size > 0 ? store.map(0, Size) : nullptr)
    { }
    ~TStoreReader()
    {
        if (View)
            Store.unmap(View);
    }
    TStoreReader(const TStoreReader &) = delete;
    TStoreReader &operator=(const TStoreReader &) = delete;

    // Whether several threads may copy at once: reading the mapping moves no file position.
    bool ReadsInParallel() const { return View || Size == 0; }

    void Copy(const TSoundRec &sound, TStreamWriter &out)
    {
        if (sound.Offset < 0 || sound.Size <= 0 || int64_t{sound.Offset} + sound.Size > Size)
            throw EInOutError(Store.fileName().toStdString()
                              + ": a sound lies outside the sound store");
        if (View) {
            out.WriteBytes(reinterpret_cast<const char *>(View) + sound.Offset,
                           static_cast<size_t>(sound.Size));
            return;
        }
        if (!Store.seek(sound.Offset))
            throw EInOutError(FileErrorText(Store));
        std::vector<char> block(static_cast<size_t>(std::min<int64_t>(sound.Size, CopyBlock)));
        for (int64_t left = sound.Size; left > 0;) {
            const auto part = static_cast<qint64>(std::min<int64_t>(left, CopyBlock));
            if (Store.read(block.data(), part) != part)
                throw EInOutError(FileErrorText(Store));
            out.WriteBytes(block.data(), static_cast<size_t>(part));
            left -= part;
        }
    }

private:
    QFile &Store;
    const int64_t Size;
    uchar *const View;
};

bool ReadSound(TStreamReader &in, TStreamWriter &store, int64_t storeEnd, TWord &word)
{
    int32_t size = 0;
    if (!in.ReadInt(size) || size < 0 || size > in.Remaining())
        return false;
    if (size == 0)
        return true;
    const int64_t offset = storeEnd + store.Position();
    if (offset + size > INT32_MAX || !CopyBytes(in, store, size))
        return false;
    word.Sound = std::make_unique<TSoundRec>(TSoundRec{static_cast<int32_t>(offset), size});
    return true;
}

bool ReadEndMark(TStreamReader &in)
{
    std::string mark;
    return in.ReadStr(mark, EndMark.size()) && mark == EndMark;
}

void WriteClipboardRecord(TStreamWriter &out, const TWord &word, TStoreReader &store)
{
    out.WriteStr(word.ForWord);
    out.WriteStr(word.RefWord);
    out.WriteStr(word.PartOfSpeech);
    out.WriteStr(word.Lesson);
    out.WriteStr(word.Context);
    if (word.Sound) {
        out.WriteInt(word.Sound->Size);
        store.Copy(*word.Sound, out);
    } else {
        out.WriteInt(0);
    }
    WriteCounters(out, word);
    out.WriteStr(EndMark);
}

// The bytes WriteClipboardRecord writes for the word.
size_t ClipboardRecordBytes(const TWord &word)
{
    const auto stringBytes = [](const std::string &text) { return text.size() + 1; };
    return stringBytes(word.ForWord) + stringBytes(word.RefWord) + stringBytes(word.PartOfSpeech)
            + stringBytes(word.Lesson) + stringBytes(word.Context) + sizeof(int32_t)
            + (word.Sound ? static_cast<size_t>(std::max(word.Sound->Size, 0)) : 0) + CountersBytes
            + stringBytes(EndMark);
}

// A run of bytes the caller owns, written from its start and never past its end: each thread
// that copies words fills its own part of one payload.
class TSpanDevice : public QIODevice
{
public:
    TSpanDevice(char *begin, size_t size)
        : Begin(begin)
        , Size(size)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (size < 0 || static_cast<size_t>(size) > Size - Written)
            return -1;
        std::memcpy(Begin + Written, data, static_cast<size_t>(size));
        Written += static_cast<size_t>(size);
        return size;
    }

private:
    char *const Begin;
    const size_t Size;
    size_t Written = 0;
};

// Words are pasted by several threads, each reading its own run of records. Records differ in
// length, so one walk over their lengths finds where each run starts and where its sounds go
// in the store.
struct TRecordRun
{
    size_t Begin = 0;
    size_t End = 0;
    size_t FirstWord = 0;
    size_t Words = 0;
    int64_t StoreEnd = 0;
};

// The end of the record at next, from its lengths alone; null when the payload ends inside it or
// its sound size is out of range, which reading it would find too. What lengths cannot show (a
// text over its limit, a level out of range, a wrong end mark) is left to the reading.
const char *SkipRecord(const char *next, const char *end, int64_t &soundBytes)
{
    for (int text = 0; text < RecordTexts; ++text) {
        const auto *zero = static_cast<const char *>(std::memchr(next, 0, end - next));
        if (!zero)
            return nullptr;
        next = zero + 1;
    }
    if (end - next < static_cast<ptrdiff_t>(sizeof(int32_t)))
        return nullptr;
    const auto size = qFromBigEndian<int32_t>(next);
    next += sizeof(int32_t);
    const auto tail = static_cast<int64_t>(CountersBytes + EndMark.size() + 1);
    if (size < 0 || size > end - next || end - next - size < tail)
        return nullptr;
    soundBytes += size;
    return next + size + tail;
}

// The runs of the records the payload's count announces, up to the first record cut short.
std::vector<TRecordRun> SplitRecords(const QByteArray &payload, int64_t storeEnd)
{
    const char *begin = payload.constData();
    const char *end = begin + payload.size();
    const int32_t count
            = payload.size() >= qsizetype{sizeof(int32_t)} ? qFromBigEndian<int32_t>(begin) : 0;
    const size_t words = static_cast<size_t>(std::max(count, 0));
    const unsigned runs = WorkerThreads(words);
    std::vector<TRecordRun> result;
    const char *next = begin + sizeof(int32_t);
    int64_t soundBytes = 0;
    size_t walked = 0;
    for (unsigned run = 0; run < runs; ++run) {
        TRecordRun &current = result.emplace_back();
        current.Begin = static_cast<size_t>(next - begin);
        current.FirstWord = walked;
        current.StoreEnd = storeEnd + soundBytes;
        const size_t last = BlockStart(words, run + 1, runs);
        for (; walked < last; ++walked) {
            const char *after = SkipRecord(next, end, soundBytes);
            if (!after)
                break;
            next = after;
        }
        current.End = static_cast<size_t>(next - begin);
        current.Words = walked - current.FirstWord;
        if (walked < last)
            break;
    }
    return result;
}

// What reading one run gave: its words, the store's end after the last of their sounds, and the
// store's complaint when a sound could not be written.
struct TRunResult
{
    size_t Words = 0;
    int64_t StoreEnd = 0;
    std::string Error;
};

// Reads the words of one run into their places, from words on; each run writes its sounds into
// the store at its own offset, through a file handle of its own.
TRunResult ReadRun(const QByteArray &payload, const TRecordRun &run, const std::string &storeName,
                   std::unique_ptr<TWord> *words)
{
    TRunResult result;
    result.StoreEnd = run.StoreEnd;
    QFile storeFile(QString::fromStdString(storeName));
    OpenStore(storeFile, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!storeFile.seek(run.StoreEnd)) {
        result.Error = FileErrorText(storeFile);
        return result;
    }
    QBuffer device;
    device.setData(QByteArray::fromRawData(payload.constData() + run.Begin,
                                           static_cast<qsizetype>(run.End - run.Begin)));
    device.open(QIODevice::ReadOnly);
    TStreamReader in(device);
    TStreamWriter store(storeFile);
    for (; result.Words < run.Words; ++result.Words) {
        auto word = ReadClipboardRecord(in, store, run.StoreEnd);
        if (!word)
            break;
        words[result.Words] = std::move(word);
        result.StoreEnd = run.StoreEnd + store.Position();
    }
    if (!store.Flush() || !storeFile.flush())
        result.Error = FileErrorText(storeFile);
    return result;
}

// The bytes from the device's position on; a buffer's are looked at where they are.
QByteArray RemainingBytes(QIODevice &device)
{
    if (auto *buffer = qobject_cast<QBuffer *>(&device)) {
        const qint64 from = std::min(buffer->pos(), buffer->size());
        return QByteArray::fromRawData(buffer->data().constData() + from, buffer->size() - from);
    }
    return device.readAll();
}

} // namespace

std::unique_ptr<TWord> ReadClipboardRecord(TStreamReader &in, TStreamWriter &store,
                                           int64_t storeEnd)
{
    std::string forWord, refWord, partOfSpeech, lesson, context;
    if (!in.ReadStr(forWord, MaxWordBytes) || !in.ReadStr(refWord, MaxWordBytes)
        || !in.ReadStr(partOfSpeech, MaxShortBytes) || !in.ReadStr(lesson, MaxShortBytes)
        || !in.ReadStr(context, MaxContextBytes))
        return nullptr;
    auto word = std::make_unique<TWord>(std::move(forWord), std::move(refWord), std::move(lesson));
    word->PartOfSpeech = std::move(partOfSpeech);
    word->Context = std::move(context);
    if (!ReadSound(in, store, storeEnd, *word) || !ReadCounters(in, *word) || !ReadEndMark(in))
        return nullptr;
    return word;
}

// Each thread writes its own words' records into its own part of the payload, so every record is
// measured first; the payload then also gets its whole room at once rather than being moved as
// it grows.
std::unique_ptr<QBuffer> TWordList::CopyToStream(int first, int last)
{
    for (int i = first; i <= last; ++i)
        StoreRecordedSound(i);
    QFile storeFile(QString::fromStdString(SoundTempFile));
    OpenStore(storeFile, QIODevice::ReadOnly);
    TStoreReader store(storeFile);
    const int count = std::max(last - first + 1, 0);
    const unsigned blocks = store.ReadsInParallel() ? WorkerThreads(static_cast<size_t>(count)) : 1;
    std::vector<size_t> starts(blocks + 1, 0);
    InBlocks(static_cast<size_t>(count), blocks, [&](unsigned block, size_t begin, size_t end) {
        size_t bytes = block == 0 ? sizeof(int32_t) : 0;
        for (size_t i = begin; i < end; ++i)
            bytes += ClipboardRecordBytes(Word(first + static_cast<int>(i)));
        starts[block + 1] = bytes;
    });
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    QByteArray payload(static_cast<qsizetype>(starts.back()), Qt::Uninitialized);
    char *bytes = payload.data();
    InBlocksRethrowing(
            static_cast<size_t>(count), blocks, [&](unsigned block, size_t begin, size_t end) {
                TSpanDevice part(bytes + starts[block], starts[block + 1] - starts[block]);
                TStreamWriter out(part);
                if (block == 0)
                    out.WriteInt(count);
                for (size_t i = begin; i < end; ++i)
                    WriteClipboardRecord(out, Word(first + static_cast<int>(i)), store);
            });
    auto stream = std::make_unique<QBuffer>();
    stream->setData(payload);
    stream->open(QIODevice::ReadWrite);
    stream->seek(stream->size());
    return stream;
}

// The words are read on several threads, each run into its own places in the list; none stays
// past the first record that breaks a limit, and none at all when a sound could not be stored.
int TWordList::PasteFromStream(QIODevice &stream, int index)
{
    QFile storeFile(QString::fromStdString(SoundTempFile));
    OpenStore(storeFile, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const int64_t storeEnd = storeFile.size();
    const QByteArray payload = RemainingBytes(stream);
    const std::vector<TRecordRun> runs = SplitRecords(payload, storeEnd);
    const size_t walked = runs.empty() ? 0 : runs.back().FirstWord + runs.back().Words;
    // Empty places for the words, made at the end and turned into place.
    const size_t before = Words.size();
    Words.resize(before + walked);
    std::rotate(Words.begin() + index, Words.begin() + static_cast<ptrdiff_t>(before), Words.end());
    std::unique_ptr<TWord> *first = Words.data() + index;
    const auto takeBack = [&](size_t kept) {
        Words.erase(Words.begin() + index + static_cast<ptrdiff_t>(kept),
                    Words.begin() + index + static_cast<ptrdiff_t>(walked));
    };
    const auto undo = [&] {
        takeBack(0);
        storeFile.resize(storeEnd);
    };
    std::vector<TRunResult> results(runs.size());
    try {
        InBlocksRethrowing(runs.size(), static_cast<unsigned>(runs.size()),
                           [&](unsigned run, size_t, size_t) {
                               results[run] = ReadRun(payload, runs[run], SoundTempFile,
                                                      first + runs[run].FirstWord);
                           });
    } catch (...) {
        undo();
        throw;
    }
    size_t inserted = 0;
    int64_t keptEnd = storeEnd;
    for (size_t run = 0; run < runs.size(); ++run) {
        // The words read may point at bytes that never reached the store: none goes in then.
        if (!results[run].Error.empty()) {
            undo();
            throw EInOutError(results[run].Error);
        }
        inserted += results[run].Words;
        keptEnd = results[run].StoreEnd;
        if (results[run].Words < runs[run].Words)
            break;
    }
    takeBack(inserted);
    // Sounds of records that were not taken are cut off again.
    if (storeFile.size() > keptEnd)
        storeFile.resize(keptEnd);
    if (inserted > 0)
        Saved = false;
    return static_cast<int>(inserted);
}

std::unique_ptr<QBuffer> TWordList::CopySoundToStream(int index)
{
    StoreRecordedSound(index);
    auto stream = std::make_unique<QBuffer>();
    stream->open(QIODevice::ReadWrite);
    if (const TSoundRec *sound = GetSound(index)) {
        QFile storeFile(QString::fromStdString(SoundTempFile));
        OpenStore(storeFile, QIODevice::ReadOnly);
        TStoreReader store(storeFile);
        TStreamWriter out(*stream);
        store.Copy(*sound, out);
        out.Flush();
    }
    return stream;
}

void TWordList::PasteSoundFromStream(QIODevice &stream, int index)
{
    QFile storeFile(QString::fromStdString(SoundTempFile));
    OpenStore(storeFile, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const int64_t end = storeFile.size();
    TStreamReader in(stream);
    const int64_t size = in.Remaining();
    if (end + size > INT32_MAX)
        throw EInOutError(SoundTempFile + ": the sound store is full");
    if (!storeFile.seek(end))
        throw EInOutError(FileErrorText(storeFile));
    TStreamWriter store(storeFile);
    const bool copied = CopyBytes(in, store, size);
    const bool flushed = store.Flush() && storeFile.flush();
    if (!copied || !flushed) {
        const std::string error = FileErrorText(storeFile);
        storeFile.resize(end);
        throw EInOutError(error);
    }
    SetSound(index, static_cast<int32_t>(end), static_cast<int32_t>(size));
}
