#pragma once
// The system clock and the machine's time zone (the TZ setting or the
// system's default) through the C library.

#include "Clock.h"

namespace qv {

class PosixClock : public IClock {
public:
    CivilTime UtcNow() const override;
    CivilTime LocalNow() const override;
    std::optional<std::int64_t> MakeLocalTime(const CivilTime& local) const override;
    std::optional<CivilTime> BreakLocalTime(std::int64_t value) const override;
};

}  // namespace qv
