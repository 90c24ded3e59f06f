#pragma once

// Small timing helpers for the benchmark programs: the median of several
// runs, printed with the ratio against the baseline measured in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace parlix::bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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
    return median(std::move(times));
}

// The medians of two pieces of work run in turns, so that a machine busy with
// other work slows both alike.
inline std::pair<double, double> medianPairMs(int runs, const std::function<void()>& ours,
                                              const std::function<void()>& base)
{
    std::vector<double> first;
    std::vector<double> second;
    const auto timed = [](const std::function<void()>& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    ours();
    base();
    for (int i = 0; i < runs; ++i) {
        first.push_back(timed(ours));
        second.push_back(timed(base));
    }
    std::sort(first.begin(), first.end());
    std::sort(second.begin(), second.end());
    return {first[first.size() / 2], second[second.size() / 2]};
}

inline void report(const char* what, double measured, const char* baseline, double base, double limit)
{
    const double ratio = measured / base;
    std::printf("%-44s %9.2f ms\n%-44s %9.2f ms\nratio %.2fx (target at most %.2fx): %s\n\n", what, measured,
                baseline, base, ratio, limit, ratio <= limit ? "met" : "NOT met");
}

} // namespace parlix::bench
