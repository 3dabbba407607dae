#include "core/Unit_Sort.h"
#include "core/Unit_WordList.h"

#include "tools/bench/BenchTiming.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <utility>
#include <vector>

// Sorting a large word list by each column, at 100,000 and 1,000,000 words; each run starts from
// the same shuffled list. Wall-clock and processor time of all threads, medians.
namespace {

constexpr int SmallList = 100000;
constexpr int LargeList = 1000000;

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

void Generate(TWordList &list, int words)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(0, 3), score(0, 30), count(0, 5), history(0, 255);
    list.InitLanguages("Frans", 0, "Arial", 12, "Nederlands", 0, "Arial", 10);
    for (int i = 0; i < words; ++i) {
        auto word = std::make_unique<TWord>(RandomWord(random), RandomWord(random),
                                            "les " + std::to_string(i % 40));
        word->Context = RandomWord(random) + " " + RandomWord(random) + " " + RandomWord(random);
        word->PartOfSpeech = i % 3 == 0 ? "zn" : "ww";
        if (i % 3 == 0)
            word->Sound = std::make_unique<TSoundRec>(TSoundRec{i, 1});
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

double CpuMs()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Median wall-clock and processor milliseconds of sorting a fresh copy of the list.
std::pair<double, double> Measure(const TWordCompare &compare, int words)
{
    std::vector<double> times;
    std::vector<double> cpu;
    for (int run = 0; run < Runs(words > SmallList ? 3 : 7); ++run) {
        TWordList list;
        Generate(list, words);
        const double cpuStart = CpuMs();
        QElapsedTimer timer;
        timer.start();
        list.Sort(compare);
        times.push_back(ElapsedMs(timer));
        cpu.push_back(CpuMs() - cpuStart);
    }
    return {Median(times), Median(cpu)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::pair<const TWordCompare *, const char *> columns[]{
            {&CompareForWord, "foreign word"}, {&CompareRefWord, "reference word"},
            {&CompareContext, "context"},      {&ComparePartOfSpeech, "part of speech"},
            {&CompareLesson, "lesson"},        {&CompareSound, "sound"},
            {&CompareLevel1, "level 1"},       {&CompareLevel2, "level 2"},
            {&CompareScore, "score"}};
    const bool large = Runs(2) > 1;
    std::printf("%-16s %25s %25s %8s\n", "sort by", "100000 words (wall / cpu)",
                "1000000 words (wall / cpu)", "growth");
    for (const auto &[compare, name] : columns) {
        const auto [small, smallCpu] = Measure(*compare, SmallList);
        std::printf("%-16s %9.1f / %9.1f ms", name, small, smallCpu);
        if (large) {
            const auto [big, bigCpu] = Measure(*compare, LargeList);
            std::printf(" %9.1f / %9.1f ms %7.1fx", big, bigCpu, big / small);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}
