#pragma once

#include "core/Unit_WordList.h"

#include <array>
#include <cstdint>

// Which word a question shows: direction 1 asks the foreign word, direction 2 the reference word.
enum class TDirection : uint8_t {
    Foreign,
    Reference,
};

inline constexpr std::array<TDirection, 2> BothDirections{TDirection::Foreign,
                                                          TDirection::Reference};

// The answers a recent score, the running totals and the row of marks look back on.
inline constexpr int RecentAnswers = 5;

// One direction's part of a word's learning record. It reads the word at every call, so it follows
// answers booked meanwhile and the level thresholds as they are set now.
class TDirectionRecord
{
public:
    TDirectionRecord(const TWord &word, TDirection direction)
        : Word(&word)
        , Foreign(direction == TDirection::Foreign)
    { }

    uint8_t Level() const { return Foreign ? Word->Level1 : Word->Level2; }
    int32_t Score() const { return Foreign ? Word->Score1 : Word->Score2; }
    int32_t Count() const { return Foreign ? Word->Count1 : Word->Count2; }
    uint32_t History() const { return Foreign ? Word->History1 : Word->History2; }
    int RecentScore() const { return Foreign ? Word->RecentScore1() : Word->RecentScore2(); }

    // The right answers the level needs; a direction below 1 is not practised.
    int Threshold() const { return LevelThreshold(Level()); }
    bool Enabled() const { return Threshold() >= 1; }
    bool NeedsPractice() const;
    // The right answers among the Count() newest ones that the history holds.
    int RightAmongCounted() const;

private:
    const TWord *Word;
    bool Foreign;
};

// A word some direction of which has a level, even one whose threshold is 0.
bool HasAnyLevel(const TWord &word);
