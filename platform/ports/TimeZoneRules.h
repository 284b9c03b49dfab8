#pragma once
// The rules of one time zone in the Windows layout (TIME_ZONE_INFORMATION):
// biases in minutes, UTC = local + bias; transition dates as SYSTEMTIME
// records where year 0 means "the dayOfWeek-th such weekday of the month"
// (5 = the last one).

#include <cstdint>
#include <string>

#include "CivilTime.h"

namespace qv {

struct TimeZoneRules {
    std::int32_t bias = 0;
    std::int32_t standardBias = 0;
    std::int32_t daylightBias = 0;
    CivilTime standardDate;  // start of standard time, in daylight local time
    CivilTime daylightDate;  // start of daylight time, in standard local time
    std::wstring standardName;
    std::wstring daylightName;
};

}  // namespace qv
