#pragma once
// The benchmarks' timing: the performance counter's ticks between two readings, a piece of
// work run with GDI's batch flushed before the clock stops, and two ways to keep the best
// time. Best times single runs, one after the other; BestOfRounds calls each case often
// enough for about 30 ms a round and lets the cases take turns round by round (so a busy
// moment of the machine hits them alike).
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace LorvikBench {

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    return 1000.0 * Seconds(from, to);
}

// Seconds for `calls` runs of the work, GDI's batch flushed inside.
inline double Run(const std::function<void()>& work, int calls)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i)
        work();
    GdiFlush();
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

// The best of `rounds` single runs after one to warm up, in milliseconds.
inline double Best(int rounds, const std::function<void()>& work)
{
    work();
    double best = 1e30;
    for (int round = 0; round < rounds; ++round)
        best = std::min(best, 1000.0 * Run(work, 1));
    return best;
}

struct TBenchCase {
    const char* name;
    std::function<void()> draw;
};

// How many calls of the work take about 30 ms, after three to warm up.
inline int Calibrate(const std::function<void()>& work)
{
    Run(work, 3);
    int calls = 1;
    while (Run(work, calls) < 0.03 && calls < (1 << 20))
        calls *= 2;
    return calls;
}

// Microseconds per call of each case, the best of rounds.
inline std::vector<double> BestOfRounds(const std::vector<TBenchCase>& cases, int rounds)
{
    std::vector<int> calls;
    std::vector<double> best(cases.size(), 1e30);
    for (const TBenchCase& c : cases)
        calls.push_back(Calibrate(c.draw));
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const double perCall = Run(cases[i].draw, calls[i]) / calls[i] * 1e6;
            best[i] = std::min(perCall, best[i]);
        }
    }
    return best;
}

}  // namespace LorvikBench
