#pragma once
// The current time on the US Pacific clock, which the marketplace reports
// by. It is kept as a time value that, broken down in the machine's own zone
// (IClock::BreakLocalTime), gives the Pacific date and time: the Pacific wall
// clock read as if it were the machine's.

#include <cstdint>

#include "Clock.h"
#include "PacificZoneSource.h"

namespace qv {

inline constexpr std::int64_t kCutoffSeconds = 90 * 24 * 60 * 60;

class PacificClock {
public:
    PacificClock(const IPacificZoneSource& zone, const IClock& clock);

    // Reads the zone and the clock again. False when the zone cannot be read
    // or the current time cannot be converted; Pacific now (and, when asked
    // for, the cutoff) is then 0. A Pacific date before 1900 also gives 0.
    // With withCutoff the cutoff becomes Pacific now less 90 days.
    bool UpdatePacificNow(bool withCutoff);

    std::int64_t PacificNow() const { return pacificNow_; }
    std::int64_t Cutoff() const { return cutoff_; }

private:
    const IPacificZoneSource& zone_;
    const IClock& clock_;
    std::int64_t pacificNow_ = 0;
    std::int64_t cutoff_ = 0;
};

}  // namespace qv
