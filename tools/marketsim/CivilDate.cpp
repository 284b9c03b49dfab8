#include "CivilDate.h"

#include <cstdio>

#include "CivilDays.h"

namespace qv::marketsim {

namespace {

// Day number of the n-th Sunday (1-based) of a month.
int64_t NthSunday(int year, int month, int n) {
    const int64_t first = qv::DaysFromCivil(year, month, 1);
    const int64_t weekday = qv::DayOfWeekFromDays(first);
    return first + (7 - weekday) % 7 + 7 * (n - 1);
}

}  // namespace

int64_t CivilDate::DayNumber() const {
    return qv::DaysFromCivil(year, month, day);
}

CivilDate CivilDate::FromDayNumber(int64_t z) {
    const qv::CivilDay d = qv::CivilFromDays(z);
    return CivilDate{d.year, d.month, d.day};
}

std::string CivilDate::ToString() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d", year, month, day);
    return buffer;
}

std::optional<CivilDate> CivilDate::Parse(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i != 4 && i != 7 && (text[i] < '0' || text[i] > '9')) return std::nullopt;
    }
    CivilDate date{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                   std::stoi(text.substr(8, 2))};
    if (date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

CivilDate PacificToday(std::time_t utcNow) {
    const int64_t utc = static_cast<int64_t>(utcNow);
    const int64_t standard = utc - 8 * 3600;
    const int year = CivilDate::FromDayNumber(standard / 86400 - (standard % 86400 < 0)).year;
    // Both switches happen at 02:00 local standard time, i.e. 10:00 UTC.
    const int64_t dstStart = NthSunday(year, 3, 2) * 86400 + 10 * 3600;
    const int64_t dstEnd = NthSunday(year, 11, 1) * 86400 + 9 * 3600;
    const int64_t local = (utc >= dstStart && utc < dstEnd) ? utc - 7 * 3600 : standard;
    int64_t day = local / 86400;
    if (local % 86400 < 0) --day;
    return CivilDate::FromDayNumber(day);
}

}  // namespace qv::marketsim
