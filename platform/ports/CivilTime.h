#pragma once
// A calendar date and wall-clock time, laid out like the Windows SYSTEMTIME
// record so that registry time-zone data maps onto it field for field.

#include <cstdint>

namespace qv {

struct CivilTime {
    int year = 0;
    int month = 0;        // 1..12
    int dayOfWeek = 0;    // 0 = Sunday
    int day = 0;          // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

constexpr CivilTime MakeCivilTime(int year, int month, int day, int hour = 0, int minute = 0,
                                  int second = 0, int milliseconds = 0) {
    CivilTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.milliseconds = milliseconds;
    return t;
}

}  // namespace qv
