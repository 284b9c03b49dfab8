#include "PosixClock.h"

#include <ctime>
#include <limits>

#include "CalendarTm.h"

namespace qv {
namespace {

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
    return CivilFromTm(tm, static_cast<int>(now.tv_nsec / 1000000));
}

CivilTime PosixClock::LocalNow() const {
    const timespec now = Now();
    std::tm tm{};
    localtime_r(&now.tv_sec, &tm);
    return CivilFromTm(tm, static_cast<int>(now.tv_nsec / 1000000));
}

std::optional<std::int64_t> PosixClock::MakeLocalTime(const CivilTime& local) const {
    std::tm tm = TmFromCivil(local);
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
    return CivilFromTm(tm);
}

}  // namespace qv
