#include "PortFakes.h"

#include "CivilDays.h"

namespace qv::test {

std::optional<std::int64_t> FakeClock::MakeLocalTime(const CivilTime& t) const {
    if (t.year < 1900) return std::nullopt;
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 +
           t.second - localOffsetSeconds;
}

std::optional<CivilTime> FakeClock::BreakLocalTime(std::int64_t value) const {
    std::int64_t local = value + localOffsetSeconds;
    std::int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    const std::int64_t secs = local - days * 86400;
    CivilTime t;
    const CivilDay date = CivilFromDays(days);
    t.dayOfWeek = DayOfWeekFromDays(days);
    t.year = date.year;
    t.month = date.month;
    t.day = date.day;
    t.hour = static_cast<int>(secs / 3600);
    t.minute = static_cast<int>(secs / 60 % 60);
    t.second = static_cast<int>(secs % 60);
    return t;
}

}  // namespace qv::test
