#include "Win32Clock.h"

#include <windows.h>

#include <ctime>

namespace qv {
namespace {

CivilTime FromSystemTime(const SYSTEMTIME& st) {
    CivilTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.dayOfWeek = st.wDayOfWeek;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.milliseconds = st.wMilliseconds;
    return t;
}

}  // namespace

CivilTime Win32Clock::UtcNow() const {
    SYSTEMTIME st{};
    ::GetSystemTime(&st);
    return FromSystemTime(st);
}

CivilTime Win32Clock::LocalNow() const {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return FromSystemTime(st);
}

std::optional<std::int64_t> Win32Clock::MakeLocalTime(const CivilTime& local) const {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    // The runtime cannot go below 1970, so -1 is never a valid result.
    const __time64_t value = ::_mktime64(&tm);
    if (value == -1) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

std::optional<CivilTime> Win32Clock::BreakLocalTime(std::int64_t value) const {
    const __time64_t t = value;
    std::tm tm{};
    if (::_localtime64_s(&tm, &t) != 0) return std::nullopt;
    CivilTime c;
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.dayOfWeek = tm.tm_wday;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    return c;
}

}  // namespace qv
