#include "exercises/DirectionRecord.h"

#include "core/Unit_GlobalSettings.h"

#include <algorithm>
#include <bit>

namespace {

// The bits a history holds; a count read from a file may exceed them.
constexpr int32_t HistoryBits = 32;

} // namespace

bool TDirectionRecord::NeedsPractice() const
{
    const int threshold = Threshold();
    return threshold >= 1 && (Score() < threshold || RecentScore() < ExerciseOptions.RequiredScore);
}

int TDirectionRecord::RightAmongCounted() const
{
    const int32_t count = Count();
    if (count <= 0)
        return 0;
    const uint32_t mask = count >= HistoryBits ? ~0U : (1U << count) - 1U;
    return std::popcount(History() & mask);
}

bool HasAnyLevel(const TWord &word)
{
    return std::ranges::any_of(BothDirections, [&word](TDirection direction) {
        return TDirectionRecord(word, direction).Level() != 0;
    });
}
