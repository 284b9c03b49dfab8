#include "Win32Clock.h"

#include <windows.h>

#include <ctime>

#include "CalendarTm.h"
#include "SystemTimeConvert.h"

namespace qv {
CivilTime Win32Clock::UtcNow() const {
    SYSTEMTIME st{};
    ::GetSystemTime(&st);
    return win::FromSystemTime(st);
}

CivilTime Win32Clock::LocalNow() const {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return win::FromSystemTime(st);
}

std::optional<std::int64_t> Win32Clock::MakeLocalTime(const CivilTime& local) const {
    std::tm tm = TmFromCivil(local);
    // The runtime cannot go below 1970, so -1 is never a valid result.
    const __time64_t value = ::_mktime64(&tm);
    if (value == -1) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

std::optional<CivilTime> Win32Clock::BreakLocalTime(std::int64_t value) const {
    const __time64_t t = value;
    std::tm tm{};
    if (::_localtime64_s(&tm, &t) != 0) return std::nullopt;
    return CivilFromTm(tm);
}

}  // namespace qv
