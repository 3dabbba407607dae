#include "core/Unit_WordList.h"

#include "core/Texts.h"
#include "core/Unit_GlobalSettings.h"
#include "core/Unit_LanguagePack.h"
#include "core/Unit_Streams.h"
#include "platform/CodePage.h"
#include "platform/TempFile.h"

#include <QFile>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

namespace {

constexpr int32_t MaxScore = 30;
constexpr int32_t MaxCount = 5;
constexpr qint64 RecordingBlock = 256 * 1024;

int RecentScore(int32_t count, uint32_t history)
{
    const int right = std::popcount(history & 0x1F);
    if (count == 0 || count == MaxCount)
        return right;
    return MaxCount * right / count;
}

void RecordAnswer(int32_t &score, int32_t &count, uint32_t &history, bool right)
{
    if (right)
        score = std::min(score + 1, MaxScore);
    count = std::min(count + 1, MaxCount);
    history = (history << 1) | (right ? 1U : 0U);
}

} // namespace

TWord::TWord(std::string forWord, std::string refWord, std::string lesson)
    : ForWord(std::move(forWord))
    , RefWord(std::move(refWord))
    , Lesson(std::move(lesson))
{ }

std::unique_ptr<TWord> TWord::Clone() const
{
    auto copy = std::make_unique<TWord>(ForWord, RefWord, Lesson);
    copy->PartOfSpeech = PartOfSpeech;
    copy->Context = Context;
    copy->Sound = Sound ? Sound->Clone() : nullptr;
    copy->Level1 = Level1;
    copy->Score1 = Score1;
    copy->Count1 = Count1;
    copy->History1 = History1;
    copy->Level2 = Level2;
    copy->Score2 = Score2;
    copy->Count2 = Count2;
    copy->History2 = History2;
    copy->SortIndex = SortIndex;
    return copy;
}

int TWord::RecentScore1() const
{
    return RecentScore(Count1, History1);
}

int TWord::RecentScore2() const
{
    return RecentScore(Count2, History2);
}

int LevelThreshold(int level)
{
    if (level < 1 || level > 3)
        return 0;
    return ExerciseOptions.LevelThresholds[static_cast<size_t>(level)];
}

TWordList::TWordList()
{
    RecordTempFile = CreateTempFile("ZRW");
    try {
        SoundTempFile = CreateTempFile("ZRS");
    } catch (...) {
        std::remove(RecordTempFile.c_str());
        throw;
    }
}

TWordList::~TWordList()
{
    std::remove(RecordTempFile.c_str());
    std::remove(SoundTempFile.c_str());
}

void TWordList::InitLanguages(const std::string &forLanguage, uint8_t forCharset,
                              const std::string &forFontName, int forSize,
                              const std::string &refLanguage, uint8_t refCharset,
                              const std::string &refFontName, int refSize)
{
    ForLanguage = forLanguage;
    RefLanguage = refLanguage;
    ForFont = std::make_unique<TListFont>(TListFont{forFontName, forCharset, forSize});
    RefFont = std::make_unique<TListFont>(TListFont{refFontName, refCharset, refSize});
    Saved = false;
}

void TWordList::SetForWord(int index, std::string text)
{
    Word(index).ForWord = std::move(text);
    Saved = false;
}

void TWordList::SetRefWord(int index, std::string text)
{
    Word(index).RefWord = std::move(text);
    Saved = false;
}

void TWordList::SetPartOfSpeech(int index, std::string text)
{
    Word(index).PartOfSpeech = std::move(text);
    Saved = false;
}

void TWordList::SetLesson(int index, std::string text)
{
    Word(index).Lesson = std::move(text);
    Saved = false;
}

void TWordList::SetContext(int index, std::string text)
{
    Word(index).Context = std::move(text);
    Saved = false;
}

void TWordList::SetSound(int index, int32_t offset, int32_t size)
{
    auto &sound = Word(index).Sound;
    if (size == 0) {
        sound.reset();
    } else {
        if (!sound)
            sound = std::make_unique<TSoundRec>();
        sound->Offset = offset;
        sound->Size = size;
    }
    Saved = false;
}

void TWordList::SetLevel1(int index, uint8_t level)
{
    Word(index).Level1 = level;
    Saved = false;
}

void TWordList::SetLevel2(int index, uint8_t level)
{
    Word(index).Level2 = level;
    Saved = false;
}

void TWordList::SetScore1(int index, int32_t score)
{
    Word(index).Score1 = score;
    Saved = false;
}

void TWordList::SetScore2(int index, int32_t score)
{
    Word(index).Score2 = score;
    Saved = false;
}

void TWordList::SetCount1(int index, int32_t count)
{
    Word(index).Count1 = count;
    Saved = false;
}

void TWordList::SetCount2(int index, int32_t count)
{
    Word(index).Count2 = count;
    Saved = false;
}

void TWordList::SetHistory1(int index, uint32_t history)
{
    Word(index).History1 = history;
    Saved = false;
}

void TWordList::SetHistory2(int index, uint32_t history)
{
    Word(index).History2 = history;
    Saved = false;
}

void TWordList::SetForLanguage(const std::string &text)
{
    ForLanguage = text;
    Saved = false;
}

void TWordList::SetRefLanguage(const std::string &text)
{
    RefLanguage = text;
    Saved = false;
}

void TWordList::SetForeignChars(const std::string &text)
{
    ForeignChars = text;
    Saved = false;
}

void TWordList::SetForFont(std::unique_ptr<TListFont> font)
{
    if (font.get() != ForFont.get())
        ForFont = std::move(font);
    Saved = false;
}

void TWordList::SetRefFont(std::unique_ptr<TListFont> font)
{
    if (font.get() != RefFont.get())
        RefFont = std::move(font);
    Saved = false;
}

void TWordList::Add(std::unique_ptr<TWord> word)
{
    Words.push_back(std::move(word));
    Saved = false;
}

void TWordList::Insert(int index, std::unique_ptr<TWord> word)
{
    Words.insert(Words.begin() + index, std::move(word));
    Saved = false;
}

void TWordList::InsertEmpty(int index)
{
    Insert(index, std::make_unique<TWord>("", "", ""));
}

void TWordList::InsertRange(int index, std::vector<std::unique_ptr<TWord>> words)
{
    if (words.empty())
        return;
    Words.insert(Words.begin() + index, std::make_move_iterator(words.begin()),
                 std::make_move_iterator(words.end()));
    Saved = false;
}

std::unique_ptr<TWord> TWordList::Delete(int index)
{
    auto word = std::move(Words[static_cast<size_t>(index)]);
    Words.erase(Words.begin() + index);
    Saved = false;
    return word;
}

std::vector<std::unique_ptr<TWord>> TWordList::DeleteRange(int index, int count)
{
    std::vector<std::unique_ptr<TWord>> words;
    if (count <= 0)
        return words;
    const auto first = Words.begin() + index;
    const auto last = first + count;
    words.reserve(static_cast<size_t>(count));
    words.insert(words.end(), std::make_move_iterator(first), std::make_move_iterator(last));
    Words.erase(first, last);
    Saved = false;
    return words;
}

void TWordList::Move(int from, int to)
{
    auto word = std::move(Words[static_cast<size_t>(from)]);
    Words.erase(Words.begin() + from);
    Words.insert(Words.begin() + to, std::move(word));
    Saved = false;
}

void TWordList::Move(int first, int count, int to)
{
    if (count <= 0)
        return;
    const auto begin = Words.begin();
    if (to < first)
        std::rotate(begin + to, begin + first, begin + first + count);
    else
        std::rotate(begin + first, begin + first + count, begin + to + count);
    Saved = false;
}

void TWordList::RecordAnswer1(int index, bool right)
{
    TWord &word = Word(index);
    RecordAnswer(word.Score1, word.Count1, word.History1, right);
    Saved = false;
}

void TWordList::RecordAnswer2(int index, bool right)
{
    TWord &word = Word(index);
    RecordAnswer(word.Score2, word.Count2, word.History2, right);
    Saved = false;
}

void TWordList::StoreRecordedSound(int index)
{
    const TSoundRec *sound = GetSound(index);
    if (!sound || sound->Offset != -1)
        return;
    QFile store(QString::fromStdString(SoundTempFile));
    QFile recording(QString::fromStdString(RecordTempFile));
    if (!store.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw EInOutError(FileErrorText(store));
    if (!recording.open(QIODevice::ReadOnly))
        throw EInOutError(FileErrorText(recording));
    const qint64 end = store.size();
    const qint64 size = recording.size();
    if (end + size > INT32_MAX)
        throw EInOutError(SoundTempFile + ": the sound store is full");
    if (!store.seek(end))
        throw EInOutError(FileErrorText(store));
    std::vector<char> block(std::min<qint64>(size, RecordingBlock) + 1);
    bool read = true;
    bool written = false;
    {
        TStreamWriter out(store);
        for (qint64 left = size; left > 0 && read;) {
            const qint64 got = recording.read(block.data(), std::min<qint64>(left, block.size()));
            read = got > 0;
            if (read)
                out.WriteBytes(block.data(), static_cast<size_t>(got));
            left -= got;
        }
        written = read && out.Flush();
    }
    // Cut back only once the writer is gone: it hands over what it still holds when it goes.
    if (!written) {
        const std::string error = FileErrorText(read ? store : recording);
        store.resize(end);
        throw EInOutError(error);
    }
    SetSound(index, static_cast<int32_t>(end), static_cast<int32_t>(size));
}

int TWordList::FindCodePage(int column) const
{
    const TListFont *font = nullptr;
    if (column == FindForWord || column == FindContext)
        font = ForFont.get();
    else if (column == FindRefWord)
        font = RefFont.get();
    return font ? CodePage::ForCharset(font->Charset) : CodePage::Default;
}

namespace {

const std::string &Field(const TWord &word, int column)
{
    switch (column) {
    case FindRefWord:
        return word.RefWord;
    case FindContext:
        return word.Context;
    case FindPartOfSpeech:
        return word.PartOfSpeech;
    case FindLesson:
        return word.Lesson;
    default:
        return word.ForWord;
    }
}

// First hit of text in field at or after byte `from` that starts a character; npos if none.
size_t FindAtBoundary(const std::string &field, const std::string &text, size_t from, int codePage)
{
    const bool doubleByte = CodePage::IsDoubleByte(codePage);
    size_t boundary = 0;
    for (size_t hit = field.find(text, from); hit != std::string::npos;
         hit = field.find(text, hit + 1)) {
        if (!doubleByte)
            return hit;
        while (boundary < hit)
            boundary += CodePage::CharLength(field, boundary, codePage);
        if (boundary == hit)
            return hit;
    }
    return std::string::npos;
}

} // namespace

namespace {

// Upper case of every byte of a code page of one byte per character, as UpperCase gives it.
using TUpperTable = std::array<unsigned char, 256>;

// Built once per code page: a replace-all searches once per occurrence.
const TUpperTable &UpperTable(int codePage)
{
    static std::mutex mutex;
    static std::map<int, TUpperTable> tables;
    const std::lock_guard lock(mutex);
    auto [entry, added] = tables.try_emplace(codePage);
    if (added) {
        for (size_t byte = 0; byte < entry->second.size(); ++byte)
            entry->second[byte] = static_cast<unsigned char>(
                    CodePage::UpperCase(std::string(1, static_cast<char>(byte)), codePage)[0]);
    }
    return entry->second;
}

// Whether field holds wanted (upper case already) at byte at, ignoring case.
bool MatchesAt(const std::string &field, size_t at, const std::string &wanted,
               const TUpperTable &upper)
{
    for (size_t i = 0; i < wanted.size(); ++i) {
        if (upper[static_cast<unsigned char>(field[at + i])]
            != static_cast<unsigned char>(wanted[i]))
            return false;
    }
    return true;
}

// The search of Find in a code page of one byte per character: the same answers, without an
// upper-case copy of every text it passes.
TFindResult FindSingleByte(const std::vector<std::unique_ptr<TWord>> &words, TFindResult start,
                           int column, int mode, const std::string &wanted,
                           const TUpperTable &upper)
{
    int pos = std::max(start.Pos, 1);
    const auto count = static_cast<int>(words.size());
    for (int row = std::max(start.Row, 0); row < count; ++row, pos = 1) {
        const std::string &raw = Field(*words[static_cast<size_t>(row)], column);
        if (mode == FindContains) {
            const auto from = static_cast<size_t>(pos - 1);
            if (wanted.empty() || from > raw.size() || raw.size() - from < wanted.size())
                continue;
            for (size_t at = from; at + wanted.size() <= raw.size(); ++at) {
                if (MatchesAt(raw, at, wanted, upper))
                    return {row, static_cast<int>(at) + 1};
            }
        } else if (pos == 1) {
            if (mode == FindEquals && raw.size() == wanted.size()
                && MatchesAt(raw, 0, wanted, upper))
                return {row, 1};
            if (mode == FindBeginsWith && !wanted.empty() && raw.size() >= wanted.size()
                && MatchesAt(raw, 0, wanted, upper))
                return {row, 1};
        }
    }
    return {};
}

} // namespace

TFindResult TWordList::Find(TFindResult start, int column, int mode, const std::string &text) const
{
    const int codePage = FindCodePage(column);
    const std::string wanted = CodePage::UpperCase(text, codePage);
    if (!CodePage::IsDoubleByte(codePage))
        return FindSingleByte(Words, start, column, mode, wanted, UpperTable(codePage));
    int pos = std::max(start.Pos, 1);
    for (int row = std::max(start.Row, 0); row < Count(); ++row, pos = 1) {
        const std::string &raw = Field(Word(row), column);
        if (mode == FindContains) {
            if (wanted.empty() || static_cast<size_t>(pos - 1) > raw.size())
                continue;
            const size_t hit = FindAtBoundary(CodePage::UpperCase(raw, codePage), wanted,
                                              static_cast<size_t>(pos - 1), codePage);
            if (hit != std::string::npos)
                return {row, static_cast<int>(hit) + 1};
        } else if (pos == 1) {
            if (mode == FindEquals && raw.size() == wanted.size()
                && CodePage::UpperCase(raw, codePage) == wanted)
                return {row, 1};
            if (mode == FindBeginsWith && !wanted.empty() && raw.size() >= wanted.size()
                && CodePage::UpperCase(raw.substr(0, wanted.size()), codePage) == wanted)
                return {row, 1};
        }
    }
    return {};
}

QString TWordList::GetListName() const
{
    if (FileName.empty())
        return PackText(TEntry::NewListName);
    // The name as the file system holds it: never through a code page.
    const QString path = QFile::decodeName(QByteArray::fromStdString(FileName));
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    return name;
}
