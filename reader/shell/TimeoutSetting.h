#pragma once
// The time-out of one web step, chosen by the index "Timeout" of "General
// Settings": 2, 3, 5 or 10 minutes.

#include "SettingKeys.h"

namespace qv {

inline constexpr int kTimeoutAtLoadMs = 120000;

// The time-out in milliseconds for the index; an index outside 0..3 (a
// missing key reads as -1) leaves the current value as it is.
constexpr int TimeoutForIndex(int index, int currentMs) {
    constexpr int kMs[] = {120000, 180000, 300000, 600000};
    return index >= 0 && index < 4 ? kMs[index] : currentMs;
}

}  // namespace qv
