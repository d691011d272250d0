#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

// Seconds per call of `run`, averaged over `runs` calls, from the performance counter.
inline double SecondsPerRun(const std::function<void()>& run, int runs) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i)
        run();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / runs;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
