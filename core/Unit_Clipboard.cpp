#include "core/Unit_Clipboard.h"

#include "core/Unit_Streams.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/TempFile.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>
#include <vector>

namespace {

constexpr size_t MaxWordBytes = 512;
constexpr size_t MaxShortBytes = 64;
constexpr size_t MaxContextBytes = 1000;
constexpr int64_t CopyBlock = 256 * 1024;
const std::string EndMark = "\r";

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

} // namespace

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

std::unique_ptr<QBuffer> TWordList::CopyToStream(int first, int last)
{
    for (int i = first; i <= last; ++i)
        StoreRecordedSound(i);
    QFile storeFile(QString::fromStdString(SoundTempFile));
    OpenStore(storeFile, QIODevice::ReadOnly);
    TStoreReader store(storeFile);
    // The payload is measured first and given its room at once: grown as it is written, a large
    // one would be moved several times, into memory the system must hand out anew each time.
    size_t bytes = sizeof(int32_t);
    for (int i = first; i <= last; ++i)
        bytes += ClipboardRecordBytes(Word(i));
    auto stream = std::make_unique<QBuffer>();
    stream->buffer().reserve(static_cast<qsizetype>(bytes));
    stream->open(QIODevice::ReadWrite);
    TStreamWriter out(*stream);
    out.WriteInt(std::max(last - first + 1, 0));
    for (int i = first; i <= last; ++i)
        WriteClipboardRecord(out, Word(i), store);
    out.Flush();
    return stream;
}

int TWordList::PasteFromStream(QIODevice &stream, int index)
{
    QFile storeFile(QString::fromStdString(SoundTempFile));
    OpenStore(storeFile, QIODevice::ReadWrite | QIODevice::Unbuffered);
    const int64_t storeEnd = storeFile.size();
    if (!storeFile.seek(storeEnd))
        throw EInOutError(FileErrorText(storeFile));
    TStreamReader in(stream);
    TStreamWriter store(storeFile);
    std::vector<std::unique_ptr<TWord>> words;
    int32_t count = 0;
    if (in.ReadInt(count)) {
        while (static_cast<int>(words.size()) < count) {
            auto word = ReadClipboardRecord(in, store, storeEnd);
            if (!word)
                break;
            words.push_back(std::move(word));
        }
    }
    // The words read may point at bytes that never reached the store: none goes in then.
    if (!store.Flush() || !storeFile.flush()) {
        const std::string error = FileErrorText(storeFile);
        storeFile.resize(storeEnd);
        throw EInOutError(error);
    }
    const int inserted = static_cast<int>(words.size());
    InsertRange(index, std::move(words));
    return inserted;
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
