// Timing shared by the benchmark programs: median wall time of repeated calls.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

inline double BenchSeconds()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double BenchMedian(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Median seconds of one call, after a warm-up call, over at least minRuns calls and
// more while they fit in about budget seconds (400 at most).
inline double BenchTime(const std::function<void()>& work, size_t minRuns = 5, double budget = 0.25)
{
    work();
    std::vector<double> times;
    const double start = BenchSeconds();
    while (times.size() < minRuns || (BenchSeconds() - start < budget && times.size() < 400)) {
        const double t0 = BenchSeconds();
        work();
        times.push_back(BenchSeconds() - t0);
    }
    return BenchMedian(times);
}
