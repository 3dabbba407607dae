#pragma once

// The one source of random numbers of exercises and tests. The program seeds the generator once
// (Randomize); tests put a scripted source in its place.
class IRandomSource
{
public:
    virtual ~IRandomSource() = default;
    // A uniform random integer in 0 .. n-1; n is at least 1.
    virtual int RandomBelow(int n) = 0;
};

int RandomBelow(int n);
// Seeds the program's generator from the clock.
void Randomize();
// Puts source in place of the program's generator (nullptr restores it) and gives the one that
// was in place.
IRandomSource *SetRandomSource(IRandomSource *source);
