#pragma once

#include <chrono>
#include <cstdint>

// steady_clock is CLOCK_MONOTONIC on Linux: one clock for every process, so a
// probe can measure from a moment its parent noted before starting it.
inline std::int64_t monotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
