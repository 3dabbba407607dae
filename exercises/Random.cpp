#include "exercises/Random.h"

#include <chrono>
#include <random>

namespace {

class TClockRandom : public IRandomSource
{
public:
    int RandomBelow(int n) override
    {
        return std::uniform_int_distribution<int>(0, n - 1)(Generator);
    }
    void Seed()
    {
        Generator.seed(static_cast<std::mt19937::result_type>(
                std::chrono::system_clock::now().time_since_epoch().count()));
    }

private:
    std::mt19937 Generator;
};

TClockRandom ProgramRandom;
IRandomSource *Current = &ProgramRandom;

} // namespace

int RandomBelow(int n)
{
    return Current->RandomBelow(n);
}

void Randomize()
{
    ProgramRandom.Seed();
}

IRandomSource *SetRandomSource(IRandomSource *source)
{
    IRandomSource *previous = Current;
    Current = source ? source : &ProgramRandom;
    return previous == &ProgramRandom ? nullptr : previous;
}
