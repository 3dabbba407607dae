#pragma once

#include <QCollatorSortKey>
#include <vector>

struct TWord;

// The text a column sorts by; its code page follows the font the column is drawn in.
enum class TSortText {
    None,
    ForWord,
    RefWord,
    Context,
    PartOfSpeech,
    Lesson
};

// Collation keys of the sorted column's texts, one per word, indexed by the word's SortIndex.
// The sort builds them once, so a comparison never decodes or collates a text itself.
using TSortKeys = std::vector<QCollatorSortKey>;

// The order of one grid column. Compare returns a negative number when a goes first, a positive
// one when b does, and 0 only for the same word: every tie goes to the position before the sort.
struct TWordCompare
{
    TSortText Text;
    int (*Compare)(const TSortKeys &keys, const TWord &a, const TWord &b);
};

int CompareSortIndex(const TWord &a, const TWord &b);

extern const TWordCompare CompareForWord;
extern const TWordCompare CompareRefWord;
extern const TWordCompare CompareContext;
extern const TWordCompare ComparePartOfSpeech;
extern const TWordCompare CompareLesson;
// Words with a sound before words without.
extern const TWordCompare CompareSound;
// Quick, normal, intensive, then off.
extern const TWordCompare CompareLevel1;
extern const TWordCompare CompareLevel2;
// The words that most need practice first; words with both directions off last.
extern const TWordCompare CompareScore;
