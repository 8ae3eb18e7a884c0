#pragma once
// Timing for the Windows benchmarks that draw: each case is called often enough for about
// 30 ms a round, the cases take turns round by round (so a busy moment of the machine hits
// them alike), and the best round counts.
#include <windows.h>

#include <functional>
#include <vector>

namespace LorvikBench {

struct TBenchCase {
    const char* name;
    std::function<void()> draw;
};

inline double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Run(const std::function<void()>& draw, int calls)
{
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i)
        draw();
    GdiFlush();
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

inline int Calibrate(const std::function<void()>& draw)
{
    Run(draw, 3);
    int calls = 1;
    while (Run(draw, calls) < 0.03 && calls < (1 << 20))
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
            best[i] = perCall < best[i] ? perCall : best[i];
        }
    }
    return best;
}

}  // namespace LorvikBench
