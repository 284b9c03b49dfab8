#include "TimeZoneConversion.h"

#include <cstdint>

#include "CivilDays.h"

namespace qv {
namespace {

constexpr std::int64_t kMsPerMinute = 60 * 1000;
constexpr std::int64_t kMsPerDay = 24 * 60 * kMsPerMinute;

CivilTime CivilFromMs(std::int64_t ms) {
    std::int64_t days = ms / kMsPerDay;
    std::int64_t msOfDay = ms % kMsPerDay;
    if (msOfDay < 0) {
        msOfDay += kMsPerDay;
        --days;
    }
    const CivilDay date = CivilFromDays(days);
    CivilTime t;
    t.dayOfWeek = DayOfWeekFromDays(days);
    t.year = date.year;
    t.month = date.month;
    t.day = date.day;
    t.hour = static_cast<int>(msOfDay / (60 * kMsPerMinute));
    t.minute = static_cast<int>(msOfDay / kMsPerMinute % 60);
    t.second = static_cast<int>(msOfDay / 1000 % 60);
    t.milliseconds = static_cast<int>(msOfDay % 1000);
    return t;
}

// The range a Windows FILETIME can carry, which is all the system converts.
bool IsValidUtc(const CivilTime& t) {
    return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
           t.minute <= 59 && t.second >= 0 && t.second <= 59 && t.milliseconds >= 0 &&
           t.milliseconds <= 999;
}

bool IsValidTransition(const CivilTime& t) {
    if (t.month < 1 || t.month > 12) return false;
    if (t.year == 0) return t.day >= 1 && t.day <= 5 && t.dayOfWeek >= 0 && t.dayOfWeek <= 6;
    return t.day >= 1 && t.day <= 31;
}

std::int64_t MsOfDay(const CivilTime& t) {
    return ((static_cast<std::int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 +
           t.milliseconds;
}

// Wall-clock instant (as milliseconds on the local time line) of the
// transition in the given year. An absolute date recurs every year: the
// system looks only at its month, day and time.
std::int64_t TransitionIn(int year, const CivilTime& rule) {
    int day = rule.day;
    if (rule.year == 0) {
        const int firstDayOfWeek = DayOfWeekFromDays(DaysFromCivil(year, rule.month, 1));
        day = 1 + (rule.dayOfWeek - firstDayOfWeek + 7) % 7 + (rule.day - 1) * 7;
        // Week 5 means the last such weekday, which may be the fourth.
        if (day > DaysInMonth(year, rule.month)) day -= 7;
    }
    return DaysFromCivil(year, rule.month, day) * kMsPerDay + MsOfDay(rule);
}

}  // namespace

std::optional<CivilTime> UtcToZoneLocal(const TimeZoneRules& rules, const CivilTime& utc) {
    if (!IsValidUtc(utc)) return std::nullopt;
    const std::int64_t utcMs =
        DaysFromCivil(utc.year, utc.month, utc.day) * kMsPerDay + MsOfDay(utc);
    // A record without a standard date has no daylight time. One without a
    // daylight date breaks the rule that both be given; the system then
    // keeps to standard time too. Either way only the bias applies.
    if (rules.standardDate.month == 0 || rules.daylightDate.month == 0) {
        return CivilFromMs(utcMs - std::int64_t{rules.bias} * kMsPerMinute);
    }
    if (!IsValidTransition(rules.standardDate) || !IsValidTransition(rules.daylightDate)) {
        return std::nullopt;
    }

    const std::int64_t standardOffset =
        (std::int64_t{rules.bias} + rules.standardBias) * kMsPerMinute;
    const std::int64_t daylightOffset =
        (std::int64_t{rules.bias} + rules.daylightBias) * kMsPerMinute;
    const std::int64_t standardMs = utcMs - standardOffset;
    const std::int64_t daylightMs = utcMs - daylightOffset;
    // Both transitions are taken from one year, that of the standard clock,
    // so that a time near the new year is not judged against rules of two
    // different years. The daylight start is written in standard wall-clock
    // time and the standard start in daylight wall-clock time.
    const int year = CivilFromMs(standardMs).year;
    const bool afterDaylightStart = standardMs >= TransitionIn(year, rules.daylightDate);
    const bool beforeStandardStart = daylightMs < TransitionIn(year, rules.standardDate);
    const bool northern = rules.daylightDate.month < rules.standardDate.month;
    const bool daylight = northern ? afterDaylightStart && beforeStandardStart
                                   : afterDaylightStart || beforeStandardStart;
    return CivilFromMs(daylight ? daylightMs : standardMs);
}

std::optional<TimeZoneRules> ParseRegistryTzi(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kTziSize = 44;
    if (data == nullptr || size != kTziSize) return std::nullopt;

    std::size_t pos = 0;
    auto u16 = [&] {
        const unsigned value = data[pos] | (data[pos + 1] << 8);
        pos += 2;
        return static_cast<int>(value);
    };
    auto i32 = [&] {
        const std::uint32_t value = static_cast<std::uint32_t>(data[pos]) |
                                    (static_cast<std::uint32_t>(data[pos + 1]) << 8) |
                                    (static_cast<std::uint32_t>(data[pos + 2]) << 16) |
                                    (static_cast<std::uint32_t>(data[pos + 3]) << 24);
        pos += 4;
        return static_cast<std::int32_t>(value);
    };
    auto systemTime = [&] {
        CivilTime t;
        t.year = u16();
        t.month = u16();
        t.dayOfWeek = u16();
        t.day = u16();
        t.hour = u16();
        t.minute = u16();
        t.second = u16();
        t.milliseconds = u16();
        return t;
    };

    TimeZoneRules rules;
    rules.bias = i32();
    rules.standardBias = i32();
    rules.daylightBias = i32();
    rules.standardDate = systemTime();
    rules.daylightDate = systemTime();
    return rules;
}

}  // namespace qv
