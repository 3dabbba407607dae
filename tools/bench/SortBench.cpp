#include "core/Unit_Sort.h"
#include "core/Unit_WordList.h"

#include "tools/bench/BenchTiming.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

// Sorting a large word list by a text column and by score; each run starts from the same
// shuffled list.
namespace {

constexpr int Words = 100000;
const int Repeats = Runs(7);

std::string RandomWord(std::mt19937 &random)
{
    static const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                       "\xE0\xE2\xE7\xE8\xE9\xEA\xEB\xEE\xEF\xF4\xF9\xFB -'";
    std::uniform_int_distribution<size_t> length(3, 14);
    std::uniform_int_distribution<size_t> letter(0, letters.size() - 1);
    std::string word;
    for (size_t n = length(random); n > 0; --n)
        word += letters[letter(random)];
    return word;
}

void Generate(TWordList &list)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(0, 3), score(0, 30), count(0, 5), history(0, 255);
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    for (int i = 0; i < Words; ++i) {
        auto word = std::make_unique<TWord>(RandomWord(random), RandomWord(random), "les 1");
        word->Level1 = static_cast<uint8_t>(level(random));
        word->Level2 = static_cast<uint8_t>(level(random));
        word->Score1 = score(random);
        word->Score2 = score(random);
        word->Count1 = count(random);
        word->Count2 = count(random);
        word->History1 = static_cast<uint32_t>(history(random));
        word->History2 = static_cast<uint32_t>(history(random));
        list.Add(std::move(word));
    }
}

void Measure(const char *name, const TWordCompare &compare, double target)
{
    std::vector<double> times;
    for (int run = 0; run < Repeats; ++run) {
        TWordList list;
        Generate(list);
        QElapsedTimer timer;
        timer.start();
        list.Sort(compare);
        times.push_back(ElapsedMs(timer));
    }
    std::printf("sort %d words by %-14s median %7.1f ms  (target %.0f ms)\n", Words, name,
                Median(times), target);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Measure("foreign word", CompareForWord, 200);
    Measure("score", CompareScore, 50);
    Measure("level 1", CompareLevel1, 50);
    return 0;
}
