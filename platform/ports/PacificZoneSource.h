#pragma once
// Where the rules of the US Pacific time zone come from: the time-zone list
// of the registry on Windows, built-in rules elsewhere.

#include <optional>

#include "TimeZoneRules.h"

namespace qv {

class IPacificZoneSource {
public:
    virtual ~IPacificZoneSource() = default;
    // Nothing when the rules cannot be read (missing key, malformed record).
    virtual std::optional<TimeZoneRules> ReadPacificZone() const = 0;
};

}  // namespace qv
