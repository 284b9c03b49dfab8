#pragma once
// Mouse input for windows of the test's own process: the mouse helpers
// wait for the pointer to arrive, while this thread must keep pumping its
// own windows' messages, so each step of input runs on a thread of its own.

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "Win32UiDispatcher.h"

namespace qv::wine {

inline void Pump(std::chrono::milliseconds time) {
    win::Win32UiDispatcher::PumpUntil([] { return false; }, time);
}

// Pumps until `done` or at most five seconds; whether it came true.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    return win::Win32UiDispatcher::PumpUntil(done, timeout);
}

// Runs `input` on a worker while this thread pumps, then lets the windows
// answer; returns what `input` returned.
inline bool Drive(const std::function<bool()>& input) {
    std::atomic<int> outcome{-1};
    std::thread worker([&] { outcome = input() ? 1 : 0; });
    while (outcome.load() < 0) Pump(std::chrono::milliseconds(20));
    worker.join();
    Pump(std::chrono::milliseconds(200));
    return outcome.load() == 1;
}

}  // namespace qv::wine
