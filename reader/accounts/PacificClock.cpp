#include "PacificClock.h"

#include "TimeZoneConversion.h"

namespace qv {

PacificClock::PacificClock(const IPacificZoneSource& zone, const IClock& clock)
    : zone_(zone), clock_(clock) {}

bool PacificClock::UpdatePacificNow(bool withCutoff) {
    pacificNow_ = 0;
    if (withCutoff) cutoff_ = 0;

    const auto rules = zone_.ReadPacificZone();
    if (!rules) return false;
    const auto pacific = UtcToZoneLocal(*rules, clock_.UtcNow());
    if (!pacific) return false;

    // The machine's zone stands in for Pacific here: the value it gives to
    // the Pacific wall clock breaks back down into that wall clock (short of
    // an hour the machine's own zone skips).
    if (pacific->year >= 1900) pacificNow_ = clock_.MakeLocalTime(*pacific).value_or(0);
    if (withCutoff) cutoff_ = pacificNow_ - kCutoffSeconds;
    return true;
}

}  // namespace qv
