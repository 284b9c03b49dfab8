#pragma once
// System clock and the machine's local time zone.

#include <cstdint>
#include <optional>

#include "CivilTime.h"

namespace qv {

class IClock {
public:
    virtual ~IClock() = default;

    // Current time in UTC.
    virtual CivilTime UtcNow() const = 0;
    // Current wall-clock time in the machine's time zone.
    virtual CivilTime LocalNow() const = 0;
    // Seconds since 1970-01-01 UTC of a wall-clock time in the machine's
    // time zone, daylight saving decided by the system; nothing when the
    // system cannot represent it.
    virtual std::optional<std::int64_t> MakeLocalTime(const CivilTime& local) const = 0;
    // Breakdown of a time value in the machine's time zone; nothing when the
    // system cannot convert it.
    virtual std::optional<CivilTime> BreakLocalTime(std::int64_t value) const = 0;
};

}  // namespace qv
