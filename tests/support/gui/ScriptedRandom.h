#pragma once

#include "exercises/Random.h"

#include <deque>
#include <gtest/gtest.h>
#include <random>
#include <utility>
#include <vector>

// A random source, installed for the lifetime of the object, that records the bound of every
// draw and answers from the script. Once the script has run out a counting source answers a
// counter modulo the bound, so that a run repeats and uses every slot; any other source fails the
// test then.
class TScriptedRandom : public IRandomSource
{
public:
    explicit TScriptedRandom(std::deque<int> script = {}, bool counting = false)
        : Script(std::move(script))
        , Counting(counting)
        , Previous(SetRandomSource(this))
    { }
    ~TScriptedRandom() override { SetRandomSource(Previous); }
    TScriptedRandom(const TScriptedRandom &) = delete;
    TScriptedRandom &operator=(const TScriptedRandom &) = delete;

    int RandomBelow(int n) override
    {
        Bounds.push_back(n);
        if (Script.empty()) {
            if (Counting)
                return Next++ % n;
            ADD_FAILURE() << "unscripted draw below " << n;
            return 0;
        }
        const int value = Script.front();
        Script.pop_front();
        EXPECT_LT(value, n) << "scripted draw out of range";
        return value;
    }

    std::deque<int> Script;
    std::vector<int> Bounds;

private:
    bool Counting;
    int Next = 0;
    IRandomSource *Previous;
};

// Answers every draw with a counter modulo its bound.
class TCountingRandom : public TScriptedRandom
{
public:
    TCountingRandom()
        : TScriptedRandom({}, true)
    { }
};

// Answers every draw from a fixed pseudo-random sequence: as varied as the program's draws, and
// the same in every run.
class TSeededRandom : public IRandomSource
{
public:
    TSeededRandom()
        : Previous(SetRandomSource(this))
    { }
    ~TSeededRandom() override { SetRandomSource(Previous); }
    TSeededRandom(const TSeededRandom &) = delete;
    TSeededRandom &operator=(const TSeededRandom &) = delete;

    int RandomBelow(int n) override
    {
        return static_cast<int>(Engine() % static_cast<unsigned>(n));
    }

private:
    std::minstd_rand Engine;
    IRandomSource *Previous;
};
