#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// The median time of `runs` runs of `run`, in milliseconds: steady against a busy machine.
inline double MedianMs(int runs, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<size_t>(runs / 2)];
}
