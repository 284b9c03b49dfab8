#pragma once
// The US Pacific rules in force since 2007, for systems that have no
// time-zone list of their own in the Windows layout.

#include <optional>

#include "PacificZoneSource.h"

namespace qv {

class BuiltInPacificZone : public IPacificZoneSource {
public:
    std::optional<TimeZoneRules> ReadPacificZone() const override;
};

}  // namespace qv
