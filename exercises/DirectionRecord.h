#pragma once

#include "core/Unit_GlobalSettings.h"
#include "core/Unit_WordList.h"

#include <algorithm>
#include <array>
#include <bit>
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
// answers booked meanwhile and the level thresholds as they are set now. Building an exercise
// list asks it for every word, hence all inline.
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
    bool NeedsPractice() const
    {
        const int threshold = Threshold();
        return threshold >= 1
                && (Score() < threshold || RecentScore() < ExerciseOptions.RequiredScore);
    }

    // The right answers among the Count() newest ones that the history holds; a count read from
    // a file may exceed its bits.
    int RightAmongCounted() const
    {
        const int32_t count = Count();
        if (count <= 0)
            return 0;
        const uint32_t mask = count >= HistoryBits ? ~0U : (1U << count) - 1U;
        return std::popcount(History() & mask);
    }

private:
    static constexpr int32_t HistoryBits = 32;

    const TWord *Word;
    bool Foreign;
};

// A word some direction of which is practised.
inline bool AnyDirectionEnabled(const TWord &word)
{
    return std::ranges::any_of(BothDirections, [&word](TDirection direction) {
        return TDirectionRecord(word, direction).Enabled();
    });
}

// A word some direction of which has a level, even one whose threshold is 0.
inline bool HasAnyLevel(const TWord &word)
{
    return std::ranges::any_of(BothDirections, [&word](TDirection direction) {
        return TDirectionRecord(word, direction).Level() != 0;
    });
}
