#pragma once

#include "platform/Beep.h"

#include <algorithm>
#include <utility>
#include <vector>

// Keeps every beep of the program, by kind, in place of the sound for the lifetime of the object.
class TBeepRecorder
{
public:
    TBeepRecorder()
        : Outer(std::exchange(Active, this))
        , Previous(SetBeepHandler(Record))
    { }
    ~TBeepRecorder()
    {
        SetBeepHandler(Previous);
        Active = Outer;
    }
    TBeepRecorder(const TBeepRecorder &) = delete;
    TBeepRecorder &operator=(const TBeepRecorder &) = delete;

    int Count() const { return static_cast<int>(Kinds.size()); }
    int Count(TBeepKind kind) const
    {
        return static_cast<int>(std::count(Kinds.begin(), Kinds.end(), kind));
    }

    std::vector<TBeepKind> Kinds;

private:
    static void Record(TBeepKind kind) { Active->Kinds.push_back(kind); }

    static inline TBeepRecorder *Active = nullptr;
    TBeepRecorder *Outer;
    TBeepHandler Previous;
};
