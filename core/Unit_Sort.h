#pragma once

#include <QCollatorSortKey>
#include <cstdint>
#include <vector>

struct TWord;

// What a sort prepares once before it compares: the collation keys of one text column (its
// code page follows the font the column is drawn in), or each word's need of practice.
enum class TSortKey {
    None,
    ForWord,
    RefWord,
    Context,
    PartOfSpeech,
    Lesson,
    Score
};

// How much a word still needs practice: the right answers its enabled directions need, how many
// of those it has, and its recent score over both directions (0..10).
struct TPracticeNeed
{
    int64_t Needed;
    int64_t Progress;
    int Recent;
};

// The prepared keys, one per word, indexed by the word's SortIndex; only the kind the column
// asks for is filled. A comparison never decodes, collates or counts anything itself.
struct TSortKeys
{
    std::vector<QCollatorSortKey> Texts;
    std::vector<TPracticeNeed> Needs;
};

// The order of one grid column. Compare returns a negative number when a goes first, a positive
// one when b does, and 0 only for the same word: every tie goes to the position before the sort.
struct TWordCompare
{
    TSortKey Key;
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
