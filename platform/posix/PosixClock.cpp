#include "PosixClock.h"

#include <ctime>
#include <limits>

namespace qv {
namespace {

CivilTime FromTm(const std::tm& tm, long nanoseconds) {
    CivilTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.dayOfWeek = tm.tm_wday;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.milliseconds = static_cast<int>(nanoseconds / 1000000);
    return t;
}

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

}  // namespace

CivilTime PosixClock::UtcNow() const {
    const timespec now = Now();
    std::tm tm{};
    gmtime_r(&now.tv_sec, &tm);
    return FromTm(tm, now.tv_nsec);
}

CivilTime PosixClock::LocalNow() const {
    const timespec now = Now();
    std::tm tm{};
    localtime_r(&now.tv_sec, &tm);
    return FromTm(tm, now.tv_nsec);
}

std::optional<std::int64_t> PosixClock::MakeLocalTime(const CivilTime& local) const {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    // -1 is also one second before 1970, so failure shows as an untouched
    // weekday instead.
    tm.tm_wday = -1;
    const std::time_t value = std::mktime(&tm);
    if (value == static_cast<std::time_t>(-1) && tm.tm_wday == -1) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

std::optional<CivilTime> PosixClock::BreakLocalTime(std::int64_t value) const {
    if (value < std::numeric_limits<std::time_t>::min() ||
        value > std::numeric_limits<std::time_t>::max()) {
        return std::nullopt;
    }
    const std::time_t t = static_cast<std::time_t>(value);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) return std::nullopt;
    return FromTm(tm, 0);
}

}  // namespace qv
