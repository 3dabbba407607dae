#pragma once

#include <QElapsedTimer>
#include <QtGlobal>
#include <algorithm>
#include <vector>

// The small timing harness the benchmarks share: medians of repeated runs, in milliseconds.

// How often to repeat a measurement: once when TARNWICK_BENCH_QUICK is set, as the test command
// does to see that every benchmark still runs.
inline int Runs(int wanted)
{
    return qEnvironmentVariableIsEmpty("TARNWICK_BENCH_QUICK") ? wanted : 1;
}

inline double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double ElapsedMs(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

template<class TWork> double MedianMs(int runs, TWork &&work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(ElapsedMs(timer));
    }
    return Median(times);
}
