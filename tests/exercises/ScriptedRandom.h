#pragma once

#include "exercises/Random.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

// A random source that answers from a script and records the bound of every draw; installed for
// the lifetime of the object.
class TScriptedRandom : public IRandomSource
{
public:
    explicit TScriptedRandom(std::deque<int> script = {})
        : Script(std::move(script))
        , Previous(SetRandomSource(this))
    { }
    ~TScriptedRandom() override { SetRandomSource(Previous); }

    int RandomBelow(int n) override
    {
        Bounds.push_back(n);
        if (Script.empty()) {
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
    IRandomSource *Previous;
};

// Answers every draw with a counter modulo its bound, so a run is repeatable and uses both
// directions; records the bounds.
class TCountingRandom : public IRandomSource
{
public:
    TCountingRandom()
        : Previous(SetRandomSource(this))
    { }
    ~TCountingRandom() override { SetRandomSource(Previous); }
    int RandomBelow(int n) override
    {
        Bounds.push_back(n);
        return Next++ % n;
    }
    std::vector<int> Bounds;
    int Next = 0;

private:
    IRandomSource *Previous;
};
