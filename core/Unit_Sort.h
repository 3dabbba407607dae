#pragma once

#include <QLocale>

// The order of one grid column kind. Every order is ascending, and words that the column ranks
// equal keep the order they had before the sort.
enum class TSortKey {
    ForWord,
    RefWord,
    Context,
    PartOfSpeech,
    Lesson,
    Sound,
    Level1,
    Level2,
    Score
};

struct TWordCompare
{
    TSortKey Key;
};

// Texts by the collation of the user's locale, letter case counting.
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
// The words that most need practice first: the smaller recent score, then the smaller share of
// the right answers their levels need; words with both directions off last.
extern const TWordCompare CompareScore;

// The locale whose collation orders the texts: the user's. Under the C or POSIX locale
// (containers, CI, minimal systems) the root collation stands in, so the order never depends on
// a missing locale; English is collated by the root rules, as CLDR tailors nothing for it.
QLocale SortCollationLocale();
