#include "core/Unit_Sort.h"

#include "core/Unit_WordList.h"
#include "platform/CodePage.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace {

int Sign(int64_t value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int OrElseSortIndex(int64_t order, const TWord &a, const TWord &b)
{
    return order != 0 ? Sign(order) : CompareSortIndex(a, b);
}

int CompareTexts(const TSortKeys &keys, const TWord &a, const TWord &b)
{
    const int order = keys.Texts[static_cast<size_t>(a.SortIndex)].compare(
            keys.Texts[static_cast<size_t>(b.SortIndex)]);
    return OrElseSortIndex(order, a, b);
}

int CompareSounds(const TSortKeys &, const TWord &a, const TWord &b)
{
    return OrElseSortIndex(int{!a.Sound} - int{!b.Sound}, a, b);
}

// Level 0 is off and goes after the three levels that are on.
int LevelRank(uint8_t level)
{
    return level == 0 ? 4 : level;
}

int CompareLevels1(const TSortKeys &, const TWord &a, const TWord &b)
{
    return OrElseSortIndex(LevelRank(a.Level1) - LevelRank(b.Level1), a, b);
}

int CompareLevels2(const TSortKeys &, const TWord &a, const TWord &b)
{
    return OrElseSortIndex(LevelRank(a.Level2) - LevelRank(b.Level2), a, b);
}

TPracticeNeed NeedOf(const TWord &word)
{
    const int64_t needed = LevelThreshold(word.Level1) + LevelThreshold(word.Level2);
    const int64_t progress = std::min<int64_t>(needed, int64_t{word.Score1} + word.Score2);
    int recent = word.RecentScore1() + word.RecentScore2();
    if (word.Level1 == 0)
        recent = 2 * word.RecentScore2();
    else if (word.Level2 == 0)
        recent = 2 * word.RecentScore1();
    return {needed, progress, recent};
}

int CompareScores(const TSortKeys &keys, const TWord &a, const TWord &b)
{
    const TPracticeNeed &needA = keys.Needs[static_cast<size_t>(a.SortIndex)];
    const TPracticeNeed &needB = keys.Needs[static_cast<size_t>(b.SortIndex)];
    if (needA.Needed > 0 && needB.Needed > 0) {
        if (needA.Recent != needB.Recent)
            return needA.Recent < needB.Recent ? -1 : 1;
        // Progress / Needed ascending, compared without division.
        return OrElseSortIndex(needA.Progress * needB.Needed - needB.Progress * needA.Needed, a, b);
    }
    if (needA.Needed == 0 && needB.Needed == 0)
        return CompareSortIndex(a, b);
    return needA.Needed == 0 ? 1 : -1;
}

const std::string &TextOf(const TWord &word, TSortKey text)
{
    switch (text) {
    case TSortKey::RefWord:
        return word.RefWord;
    case TSortKey::Context:
        return word.Context;
    case TSortKey::PartOfSpeech:
        return word.PartOfSpeech;
    case TSortKey::Lesson:
        return word.Lesson;
    default:
        return word.ForWord;
    }
}

int CodePageOf(const TWordList &list, TSortKey text)
{
    const TListFont *font = nullptr;
    if (text == TSortKey::ForWord || text == TSortKey::Context)
        font = list.ForFont.get();
    else if (text == TSortKey::RefWord)
        font = list.RefFont.get();
    return font ? CodePage::ForCharset(font->Charset) : CodePage::Default;
}

// The user's collation. Under the C or POSIX locale (containers, CI, minimal systems) Qt compares
// code points, which puts every capital before every small letter; the root collation stands in
// there, so the order never depends on a missing locale. English is collated by the root rules:
// CLDR tailors nothing for it.
QLocale CollationLocale()
{
    const QLocale user;
    return user.language() == QLocale::C ? QLocale(QLocale::English) : user;
}

// The keys a column asks for, in list order; the words' SortIndex must be their index.
TSortKeys SortKeys(const TWordList &list, TSortKey key)
{
    TSortKeys keys;
    if (key == TSortKey::None)
        return keys;
    const auto count = static_cast<size_t>(list.Count());
    if (key == TSortKey::Score) {
        keys.Needs.reserve(count);
        for (int i = 0; i < list.Count(); ++i)
            keys.Needs.push_back(NeedOf(list.Word(i)));
        return keys;
    }
    QCollator collator(CollationLocale());
    collator.setCaseSensitivity(Qt::CaseSensitive);
    const int codePage = CodePageOf(list, key);
    keys.Texts.reserve(count);
    for (int i = 0; i < list.Count(); ++i)
        keys.Texts.push_back(
                collator.sortKey(CodePage::ToUnicode(TextOf(list.Word(i), key), codePage)));
    return keys;
}

} // namespace

int CompareSortIndex(const TWord &a, const TWord &b)
{
    return Sign(int64_t{a.SortIndex} - b.SortIndex);
}

const TWordCompare CompareForWord{TSortKey::ForWord, CompareTexts};
const TWordCompare CompareRefWord{TSortKey::RefWord, CompareTexts};
const TWordCompare CompareContext{TSortKey::Context, CompareTexts};
const TWordCompare ComparePartOfSpeech{TSortKey::PartOfSpeech, CompareTexts};
const TWordCompare CompareLesson{TSortKey::Lesson, CompareTexts};
const TWordCompare CompareSound{TSortKey::None, CompareSounds};
const TWordCompare CompareLevel1{TSortKey::None, CompareLevels1};
const TWordCompare CompareLevel2{TSortKey::None, CompareLevels2};
const TWordCompare CompareScore{TSortKey::Score, CompareScores};

void TWordList::Sort(const TWordCompare &compare)
{
    for (int i = 0; i < Count(); ++i)
        Word(i).SortIndex = i;
    const TSortKeys keys = SortKeys(*this, compare.Key);
    std::sort(Words.begin(), Words.end(),
              [&](const auto &a, const auto &b) { return compare.Compare(keys, *a, *b) < 0; });
    Saved = false;
}
