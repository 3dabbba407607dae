#include "core/Unit_TextFile.h"

#include "core/Unit_Streams.h"
#include "core/Unit_WLFile.h"
#include "core/Unit_WordList.h"
#include "platform/CodePage.h"
#include "platform/ReadOpen.h"
#include "platform/TempFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

// Tab-separated text: one word a line, ForWord TAB RefWord TAB Context TAB PartOfSpeech TAB
// Lesson, the bytes as they are stored. Lines end in CR LF when written; CR, LF or CR LF are read.

namespace {

constexpr size_t MaxFieldBytes = 1000;
// A field of 1000 bytes in a code page takes at most three bytes of UTF-8 per byte (four per byte
// pair), so a UTF-8 file's fields are read this far before their own limits are judged.
constexpr size_t MaxUtf8FieldBytes = 4 * MaxFieldBytes;
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr size_t MaxWordBytes = 512;
constexpr size_t MaxContextBytes = 1000;
constexpr size_t MaxShortBytes = 64;
constexpr size_t CopyBlock = 256 * 1024;
constexpr size_t TextBlock = 256 * 1024;
constexpr char Tab = '\t';
constexpr char Lf = '\n';
constexpr char Cr = '\r';

// A column's code page, and whether its ASCII reads the same in UTF-8: true for the single-byte
// code pages, while a double-byte one may give an ASCII byte a sign of its own (Johab's backslash
// is the won sign).
struct TColumnCoding
{
    explicit TColumnCoding(int codePage)
        : CodePage(codePage)
        , AsciiAsIs(!CodePage::IsDoubleByte(codePage))
    { }
    int CodePage;
    bool AsciiAsIs;
};

TColumnCoding ColumnCoding(const std::unique_ptr<TListFont> &font)
{
    return TColumnCoding(font ? CodePage::ForCharset(font->Charset) : CodePage::Default);
}

// How a text file's fields become the list's bytes: as they are, or, for a UTF-8 file, decoded and
// encoded into the code page of their column.
struct TFieldCoding
{
    bool Utf8 = false;
    TColumnCoding For{CodePage::Default};
    TColumnCoding Ref{CodePage::Default};
    TColumnCoding Own{CodePage::Default};
};

bool IsAscii(const std::string &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool SameInUtf8(const std::string &text, const TColumnCoding &column)
{
    return column.AsciiAsIs && IsAscii(text);
}

// A field holding a 0 byte is refused: the list would save it as a string cut short there, and
// the file would no longer open. A UTF-8 field is encoded into its column's code page first; a
// character that code page cannot hold fails the field as a field over its limit does.
bool TakeField(int end, std::string &text, size_t limit, bool utf8, const TColumnCoding &column)
{
    if (end == TextTooLong || text.find('\0') != std::string::npos)
        return false;
    if (utf8 && !SameInUtf8(text, column)) {
        std::string encoded;
        if (!CodePage::FromUtf8(text, column.CodePage, encoded))
            return false;
        text = std::move(encoded);
    }
    return text.size() <= std::min(limit, MaxFieldBytes);
}

// One text record; null when it breaks a rule. end tells how its last field ended.
std::unique_ptr<TWord> ReadTextRecord(TWLFile &file, const TFieldCoding &coding, int &end)
{
    std::string forWord, refWord, context, partOfSpeech, lesson;
    end = file.ReadTextField(forWord);
    if (end != TextTab || !TakeField(end, forWord, MaxWordBytes, coding.Utf8, coding.For))
        return nullptr;
    end = file.ReadTextField(refWord);
    if (!TakeField(end, refWord, MaxWordBytes, coding.Utf8, coding.Ref))
        return nullptr;
    if (end == TextTab) {
        end = file.ReadTextField(context);
        if (!TakeField(end, context, MaxContextBytes, coding.Utf8, coding.For))
            return nullptr;
    }
    if (end == TextTab) {
        end = file.ReadTextField(partOfSpeech);
        if (!TakeField(end, partOfSpeech, MaxShortBytes, coding.Utf8, coding.Own))
            return nullptr;
    }
    if (end == TextTab) {
        end = file.ReadTextField(lesson);
        if (end == TextTab || !TakeField(end, lesson, MaxShortBytes, coding.Utf8, coding.Own))
            return nullptr;
    }
    auto word = std::make_unique<TWord>(std::move(forWord), std::move(refWord), std::move(lesson));
    word->PartOfSpeech = std::move(partOfSpeech);
    word->Context = std::move(context);
    return word;
}

// Checks UTF-8 block by block: well-formed (no overlong forms, no surrogates, nothing past
// U+10FFFF) and whether anything beyond ASCII came.
class TUtf8Check
{
public:
    void Feed(const unsigned char *data, size_t size)
    {
        // Locals, as the bytes may alias the members; ASCII, the most of any text, goes eight
        // bytes at a time.
        bool valid = Valid;
        int pending = Pending;
        unsigned char low = Low;
        unsigned char high = High;
        size_t i = 0;
        while (i < size && valid) {
            if (pending == 0 && size - i >= sizeof(uint64_t)) {
                uint64_t word;
                std::memcpy(&word, data + i, sizeof word);
                if ((word & 0x8080808080808080ULL) == 0) {
                    i += sizeof word;
                    continue;
                }
            }
            const unsigned char byte = data[i++];
            if (pending == 0) {
                if (byte < 0x80)
                    continue;
                NonAscii = true;
                low = 0x80;
                high = 0xBF;
                if (byte >= 0xC2 && byte <= 0xDF) {
                    pending = 1;
                } else if (byte >= 0xE0 && byte <= 0xEF) {
                    pending = 2;
                    low = byte == 0xE0 ? 0xA0 : 0x80;
                    high = byte == 0xED ? 0x9F : 0xBF;
                } else if (byte >= 0xF0 && byte <= 0xF4) {
                    pending = 3;
                    low = byte == 0xF0 ? 0x90 : 0x80;
                    high = byte == 0xF4 ? 0x8F : 0xBF;
                } else {
                    valid = false;
                }
                continue;
            }
            if (byte < low || byte > high) {
                valid = false;
                continue;
            }
            --pending;
            low = 0x80;
            high = 0xBF;
        }
        Valid = valid;
        Pending = pending;
        Low = low;
        High = high;
    }
    bool Done() const { return !Valid; }
    // Well-formed to its end and not plain ASCII, which reads the same either way.
    bool IsUtf8Text() const { return Valid && Pending == 0 && NonAscii; }

private:
    bool Valid = true;
    bool NonAscii = false;
    int Pending = 0;
    unsigned char Low = 0x80;
    unsigned char High = 0xBF;
};

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

// A file that starts with the UTF-8 byte-order mark, or is well-formed UTF-8 beyond ASCII, is a
// desktop's text; any other is 8-bit text in the lists' own code pages and is read as bytes.
bool TWLFile::TextIsUtf8()
{
    TextNext = TextEnd = 0;
    TUtf8Check check;
    bool first = true;
    while (!check.Done() && RefillText()) {
        if (first && std::string_view(TextBuffer.data(), TextEnd).starts_with(Utf8Bom))
            return true;
        first = false;
        check.Feed(reinterpret_cast<const unsigned char *>(TextBuffer.data()), TextEnd);
    }
    return check.IsUtf8Text();
}

int TWLFile::ImportText(int index, TWordList &list)
{
    TFieldCoding coding;
    coding.Utf8 = TextIsUtf8();
    coding.For = ColumnCoding(list.ForFont);
    coding.Ref = ColumnCoding(list.RefFont);
    if (!Device.seek(0))
        throw EInOutError(FileErrorText(Device));
    TextNext = TextEnd = 0;
    TextFieldLimit = coding.Utf8 ? MaxUtf8FieldBytes : MaxFieldBytes;
    if (coding.Utf8 && RefillText()
        && std::string_view(TextBuffer.data(), TextEnd).starts_with(Utf8Bom))
        TextNext = Utf8Bom.size();
    std::vector<std::unique_ptr<TWord>> words;
    for (int end = TextLineEnd; end != TextFileEnded;) {
        auto word = ReadTextRecord(*this, coding, end);
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
        const size_t room = TextFieldLimit - text.size();
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

// Written in the desktop's encoding: on a UTF-8 desktop each text is decoded from its column's code
// page, elsewhere the bytes go out as they are stored.
void TWLFile::ExportText(const TWordList &list)
{
    const bool utf8 = CodePage::TextFileEncoding() == CodePage::Utf8;
    const TColumnCoding forColumn = ColumnCoding(list.ForFont);
    const TColumnCoding refColumn = ColumnCoding(list.RefFont);
    const TColumnCoding ownColumn(CodePage::Default);
    const auto write = [&](const std::string &text, const TColumnCoding &column) {
        WriteText(utf8 && !SameInUtf8(text, column) ? CodePage::ToUtf8(text, column.CodePage)
                                                    : text);
    };
    for (int i = 0; i < list.Count(); ++i) {
        const TWord &word = list.Word(i);
        write(word.ForWord, forColumn);
        WriteTab();
        write(word.RefWord, refColumn);
        WriteTab();
        write(word.Context, forColumn);
        WriteTab();
        write(word.PartOfSpeech, ownColumn);
        WriteTab();
        write(word.Lesson, ownColumn);
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
