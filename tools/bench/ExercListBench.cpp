#include "core/Unit_WordList.h"
#include "exercises/Unit_ExercList.h"

#include "tools/bench/BenchTiming.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

// Building the list of an exercise and of a test over a large word list, and what the window does
// with it before the first question: the shuffle and one multiple-choice question.
namespace {

const int Repeats = Runs(9);
constexpr int Words = 100000;

void Generate(TWordList &list)
{
    for (int i = 0; i < Words; ++i) {
        auto word
                = std::make_unique<TWord>("mot " + std::to_string(i), "woord " + std::to_string(i),
                                          "les " + std::to_string(i % 40));
        word->PartOfSpeech = i % 3 == 0 ? "zn" : "ww";
        word->Level1 = static_cast<uint8_t>(i % 4);
        word->Level2 = static_cast<uint8_t>((i / 4) % 4);
        word->Score1 = i % 9;
        word->Count1 = i % 6;
        word->History1 = static_cast<uint32_t>(i * 7);
        word->Score2 = i % 7;
        word->Count2 = (i / 3) % 6;
        word->History2 = static_cast<uint32_t>(i * 13);
        list.Add(std::move(word));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TWordList list;
    Generate(list);
    uint8_t status = 0;
    int taken = 0;
    const double exercise
            = MedianMs(Repeats, [&] { taken = TExercList(list, true, status).Count(); });
    const double test = MedianMs(Repeats, [&] { TExercList(list, false, status); });
    TExercList built(list, true, status);
    const double shuffle = MedianMs(Repeats, [&] {
        TExercList source(list, true, status);
        auto shuffled = source.Shuffle();
    });
    const double choices = MedianMs(Repeats, [&] { built.GetChoices(0); });
    std::printf("%d words: exercise list %.2f ms (%d entries), test list %.2f ms, "
                "exercise list + shuffle %.2f ms, one multiple-choice question %.2f ms\n",
                Words, exercise, taken, test, shuffle, choices);
    return 0;
}
