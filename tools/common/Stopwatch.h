#pragma once
// Wall-clock timing for the benchmark programs.

#include <chrono>

namespace qv::tools {

// How long the work took, in milliseconds.
template <typename F>
double Milliseconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace qv::tools
