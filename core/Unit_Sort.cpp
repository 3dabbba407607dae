#include "core/Unit_Sort.h"

#include "core/Unit_WordList.h"
#include "platform/CodePage.h"

#include <QCollator>
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
    const int order = keys[static_cast<size_t>(a.SortIndex)].compare(
            keys[static_cast<size_t>(b.SortIndex)]);
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

// How much a word still needs practice: the right answers its enabled directions need (Needed),
// how many of those it has (Progress) and its recent score over both directions, 0..10.
struct TNeed
{
    int64_t Needed;
    int64_t Progress;
    int Recent;
};

TNeed NeedOf(const TWord &word)
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

int CompareScores(const TSortKeys &, const TWord &a, const TWord &b)
{
    const TNeed needA = NeedOf(a);
    const TNeed needB = NeedOf(b);
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

const std::string &TextOf(const TWord &word, TSortText text)
{
    switch (text) {
    case TSortText::RefWord:
        return word.RefWord;
    case TSortText::Context:
        return word.Context;
    case TSortText::PartOfSpeech:
        return word.PartOfSpeech;
    case TSortText::Lesson:
        return word.Lesson;
    default:
        return word.ForWord;
    }
}

int CodePageOf(const TWordList &list, TSortText text)
{
    const TListFont *font = nullptr;
    if (text == TSortText::ForWord || text == TSortText::Context)
        font = list.ForFont.get();
    else if (text == TSortText::RefWord)
        font = list.RefFont.get();
    return font ? CodePage::ForCharset(font->Charset) : CodePage::Default;
}

// The collation keys of one column, in list order; the words' SortIndex must be their index.
TSortKeys SortKeys(const TWordList &list, TSortText text)
{
    TSortKeys keys;
    if (text == TSortText::None)
        return keys;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseSensitive);
    const int codePage = CodePageOf(list, text);
    keys.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        keys.push_back(collator.sortKey(CodePage::ToUnicode(TextOf(list.Word(i), text), codePage)));
    return keys;
}

} // namespace

int CompareSortIndex(const TWord &a, const TWord &b)
{
    return Sign(int64_t{a.SortIndex} - b.SortIndex);
}

const TWordCompare CompareForWord{TSortText::ForWord, CompareTexts};
const TWordCompare CompareRefWord{TSortText::RefWord, CompareTexts};
const TWordCompare CompareContext{TSortText::Context, CompareTexts};
const TWordCompare ComparePartOfSpeech{TSortText::PartOfSpeech, CompareTexts};
const TWordCompare CompareLesson{TSortText::Lesson, CompareTexts};
const TWordCompare CompareSound{TSortText::None, CompareSounds};
const TWordCompare CompareLevel1{TSortText::None, CompareLevels1};
const TWordCompare CompareLevel2{TSortText::None, CompareLevels2};
const TWordCompare CompareScore{TSortText::None, CompareScores};

void TWordList::Sort(const TWordCompare &compare)
{
    for (int i = 0; i < Count(); ++i)
        Word(i).SortIndex = i;
    const TSortKeys keys = SortKeys(*this, compare.Text);
    std::sort(Words.begin(), Words.end(),
              [&](const auto &a, const auto &b) { return compare.Compare(keys, *a, *b) < 0; });
    Saved = false;
}
