#pragma once
// CivilTime and the C runtime's broken-down time, both ways.

#include <ctime>

#include "CivilTime.h"

namespace qv {

inline CivilTime CivilFromTm(const std::tm& tm, int milliseconds = 0) {
    CivilTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.dayOfWeek = tm.tm_wday;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.milliseconds = milliseconds;
    return t;
}

// Daylight saving is left for the runtime to decide (tm_isdst = -1).
inline std::tm TmFromCivil(const CivilTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    return tm;
}

}  // namespace qv
