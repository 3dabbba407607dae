#include "core/Unit_TextFile.h"

#include "core/Unit_Streams.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/ReadOpen.h"
#include "platform/TempFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>

// Tab-separated text: one word a line, ForWord TAB RefWord TAB Context TAB PartOfSpeech TAB
// Lesson, the bytes as they are stored. Lines end in CR LF when written; CR, LF or CR LF are read.

namespace {

constexpr size_t MaxFieldBytes = 1000;
constexpr size_t MaxWordBytes = 512;
constexpr size_t MaxContextBytes = 1000;
constexpr size_t MaxShortBytes = 64;
constexpr size_t CopyBlock = 256 * 1024;
constexpr size_t TextBlock = 256 * 1024;
constexpr char Tab = '\t';
constexpr char Lf = '\n';
constexpr char Cr = '\r';

// A field holding a 0 byte is refused: the list would save it as a string cut short there, and
// the file would no longer open.
bool FieldFits(int end, const std::string &text, size_t limit)
{
    return end != TextTooLong && text.size() <= limit && text.find('\0') == std::string::npos;
}

// One text record; null when it breaks a rule. end tells how its last field ended.
std::unique_ptr<TWord> ReadTextRecord(TWLFile &file, int &end)
{
    std::string forWord, refWord, context, partOfSpeech, lesson;
    end = file.ReadTextField(forWord);
    if (end != TextTab || !FieldFits(end, forWord, MaxWordBytes))
        return nullptr;
    end = file.ReadTextField(refWord);
    if (!FieldFits(end, refWord, MaxWordBytes))
        return nullptr;
    if (end == TextTab) {
        end = file.ReadTextField(context);
        if (!FieldFits(end, context, MaxContextBytes))
            return nullptr;
    }
    if (end == TextTab) {
        end = file.ReadTextField(partOfSpeech);
        if (!FieldFits(end, partOfSpeech, MaxShortBytes))
            return nullptr;
    }
    if (end == TextTab) {
        end = file.ReadTextField(lesson);
        if (end == TextTab || !FieldFits(end, lesson, MaxShortBytes))
            return nullptr;
    }
    auto word = std::make_unique<TWord>(std::move(forWord), std::move(refWord), std::move(lesson));
    word->PartOfSpeech = std::move(partOfSpeech);
    word->Context = std::move(context);
    return word;
}

// Appends one sound of the source store to the target store.
void CopySound(QFile &from, const TSoundRec &sound, std::vector<char> &block, TStreamWriter &to)
{
    if (sound.Offset < 0 || sound.Size <= 0 || int64_t{sound.Offset} + sound.Size > from.size()
        || !from.seek(sound.Offset))
        throw EInOutError(from.fileName().toStdString() + ": a sound lies outside the sound store");
    for (int64_t left = sound.Size; left > 0;) {
        const auto part = static_cast<qint64>(std::min<int64_t>(left, block.size()));
        if (from.read(block.data(), part) != part)
            throw EInOutError(FileErrorText(from));
        to.WriteBytes(block.data(), static_cast<size_t>(part));
        left -= part;
    }
}

} // namespace

int TWLFile::ImportList(int index, TWordList &list)
{
    index = std::clamp(index, 0, list.Count());
    {
        TWordList source;
        bool forInstalled = true, forHasFace = true, refInstalled = true, refHasFace = true;
        int format = 0;
        switch (ReadBody(source, forInstalled, forHasFace, refInstalled, refHasFace, format)) {
        case ReadOk:
            return ImportWordList(index, list, source);
        case ReadCancelled:
            return 0;
        default:
            break;
        }
    }
    if (!Device.seek(0))
        throw EInOutError(FileErrorText(Device));
    return ImportText(index, list);
}

// All sounds reach the target store before any word is inserted, so a failure inserts nothing
// and leaves the store as it was.
int TWLFile::ImportWordList(int index, TWordList &target, TWordList &source)
{
    QFile from(QString::fromStdString(source.SoundTempFile));
    QFile to(QString::fromStdString(target.SoundTempFile));
    if (!from.open(QIODevice::ReadOnly))
        throw EInOutError(FileErrorText(from));
    if (!to.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw EInOutError(FileErrorText(to));
    const qint64 end = to.size();
    std::vector<std::unique_ptr<TWord>> words;
    words.reserve(static_cast<size_t>(source.Count()));
    try {
        if (!to.seek(end))
            throw EInOutError(FileErrorText(to));
        TStreamWriter store(to);
        std::vector<char> block(CopyBlock);
        for (int i = 0; i < source.Count(); ++i) {
            auto word = source.Word(i).Clone();
            if (word->Sound) {
                const int64_t offset = end + store.Position();
                if (offset + word->Sound->Size > INT32_MAX)
                    throw EInOutError(target.SoundTempFile + ": the sound store is full");
                CopySound(from, *word->Sound, block, store);
                word->Sound->Offset = static_cast<int32_t>(offset);
            }
            words.push_back(std::move(word));
        }
        if (!store.Flush() || !to.flush())
            throw EInOutError(FileErrorText(to));
    } catch (...) {
        to.resize(end);
        throw;
    }
    const int count = static_cast<int>(words.size());
    target.InsertRange(index, std::move(words));
    return count;
}

int TWLFile::ImportText(int index, TWordList &list)
{
    TextNext = TextEnd = 0;
    std::vector<std::unique_ptr<TWord>> words;
    for (int end = TextLineEnd; end != TextFileEnded;) {
        auto word = ReadTextRecord(*this, end);
        if (!word)
            break;
        words.push_back(std::move(word));
    }
    const int count = static_cast<int>(words.size());
    list.InsertRange(index, std::move(words));
    return count;
}

// Only called once the block is used up, so no byte is lost. A read error ends the text.
bool TWLFile::RefillText()
{
    if (TextBuffer.empty())
        TextBuffer.resize(TextBlock);
    const qint64 got = Device.read(TextBuffer.data(), static_cast<qint64>(TextBuffer.size()));
    TextNext = 0;
    TextEnd = static_cast<size_t>(std::max<qint64>(got, 0));
    return TextEnd > 0;
}

int TWLFile::ReadTextField(std::string &text)
{
    text.clear();
    for (;;) {
        if (TextNext == TextEnd && !RefillText())
            return TextFileEnded;
        const char *start = TextBuffer.data() + TextNext;
        const char *end = TextBuffer.data() + TextEnd;
        const char *stop = start;
        while (stop != end && *stop != Tab && *stop != Cr && *stop != Lf)
            ++stop;
        const size_t room = MaxFieldBytes - text.size();
        if (static_cast<size_t>(stop - start) > room) {
            text.append(start, room);
            TextNext += room + 1;
            return TextTooLong;
        }
        text.append(start, stop);
        TextNext += static_cast<size_t>(stop - start);
        if (stop == end)
            continue;
        ++TextNext;
        if (*stop == Tab)
            return TextTab;
        if (*stop == Cr && (TextNext != TextEnd || RefillText()) && TextBuffer[TextNext] == Lf)
            ++TextNext;
        return TextLineEnd;
    }
}

TStreamWriter &TWLFile::TextOut()
{
    if (!TextWriter)
        TextWriter = std::make_unique<TStreamWriter>(Device);
    return *TextWriter;
}

void TWLFile::WriteText(const std::string &text)
{
    TextOut().WriteBytes(text.data(), text.size());
}

void TWLFile::WriteTab()
{
    TextOut().WriteByte(Tab);
}

void TWLFile::WriteLineEnd()
{
    TextOut().WriteBytes("\r\n", 2);
}

void TWLFile::ExportText(const TWordList &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TWord &word = list.Word(i);
        WriteText(word.ForWord);
        WriteTab();
        WriteText(word.RefWord);
        WriteTab();
        WriteText(word.Context);
        WriteTab();
        WriteText(word.PartOfSpeech);
        WriteTab();
        WriteText(word.Lesson);
        WriteLineEnd();
    }
    if (!TextOut().Flush())
        throw EInOutError(FileErrorText(Device));
}

int TWordList::ImportFile(int index, const std::string &fileName)
{
    const QString path = QString::fromStdString(fileName);
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    QFile file(path);
    std::string openError;
    if (!OpenRegularFile(file, &openError))
        throw EInOutError(openError);
    const int count = TWLFile(file).ImportList(index, *this);
    if (count > 0)
        Saved = false;
    return count;
}

// Written beside the target and renamed over it, so a failed export keeps the file that was there.
void TWordList::ExportTextFile(const std::string &fileName)
{
    QSaveFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EInOutError(FileErrorText(file));
    TWLFile(file).ExportText(*this);
    if (!file.commit())
        throw EInOutError(FileErrorText(file));
}
