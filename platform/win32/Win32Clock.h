#pragma once
// The system clock and the machine's time zone through the Win32 API and
// the C runtime, whose 64-bit time functions follow the zone of the system
// (or TZ when it is set).

#include "Clock.h"

namespace qv {

class Win32Clock : public IClock {
public:
    CivilTime UtcNow() const override;
    CivilTime LocalNow() const override;
    std::optional<std::int64_t> MakeLocalTime(const CivilTime& local) const override;
    std::optional<CivilTime> BreakLocalTime(std::int64_t value) const override;
};

}  // namespace qv
