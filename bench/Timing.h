#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace talvor::bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Wall seconds of one call.
template <typename F>
double timed(F f) {
    const auto start = Clock::now();
    f();
    return secondsSince(start);
}

inline double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

}  // namespace talvor::bench
