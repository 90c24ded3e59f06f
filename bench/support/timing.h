#pragma once

// Small timing helpers for the benchmark programs: the median of several
// runs, printed with the ratio against the baseline measured in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace parlix::bench {

inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    work(); // warm the caches once
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char* what, double measured, const char* baseline, double base, double limit)
{
    const double ratio = measured / base;
    std::printf("%-44s %9.2f ms\n%-44s %9.2f ms\nratio %.2fx (target at most %.2fx): %s\n\n", what, measured,
                baseline, base, ratio, limit, ratio <= limit ? "met" : "NOT met");
}

} // namespace parlix::bench
