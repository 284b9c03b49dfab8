#pragma once
// Day numbers of the proleptic Gregorian calendar: days since 1970-01-01,
// exact for any year an int holds. The one home of the calendar arithmetic.

#include <cstdint>

namespace qv {

struct CivilDay {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr CivilDay CivilFromDays(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    CivilDay d;
    d.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.year = static_cast<int>(era * 400 + yearOfEra + (d.month <= 2 ? 1 : 0));
    return d;
}

constexpr bool IsLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// month 1..12.
constexpr int DaysInMonth(std::int64_t year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// 0 = Sunday; 1970-01-01 was a Thursday.
constexpr int DayOfWeekFromDays(std::int64_t days) {
    return static_cast<int>(((days % 7) + 11) % 7);
}

static_assert(DaysFromCivil(1970, 1, 1) == 0);
static_assert(DaysFromCivil(2000, 3, 1) == 11017);
static_assert(CivilFromDays(-1).year == 1969 && CivilFromDays(-1).day == 31);
static_assert(DayOfWeekFromDays(0) == 4 && DayOfWeekFromDays(-1) == 3);
static_assert(DaysInMonth(2000, 2) == 29 && DaysInMonth(1900, 2) == 28 && DaysInMonth(2009, 12) == 31);

}  // namespace qv
