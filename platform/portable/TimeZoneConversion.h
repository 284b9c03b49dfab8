#pragma once
// UTC to zone-local conversion with the rules of the Windows time-zone
// records, so that the result matches what Windows itself computes from the
// same record (SystemTimeToTzSpecificLocalTime), on any system.

#include <cstddef>
#include <optional>

#include "CivilTime.h"
#include "TimeZoneRules.h"

namespace qv {

// Local time in the zone for a UTC time (its dayOfWeek is ignored; the
// result's is filled). Nothing when the UTC time is not a valid date and time
// of the years 1601..30827 or the rules name an impossible transition date.
std::optional<CivilTime> UtcToZoneLocal(const TimeZoneRules& rules, const CivilTime& utc);

// Rules from the registry's 44-byte "TZI" value (REG_TZI_FORMAT, little-
// endian). Nothing for any other size. The names are left empty: the record
// does not carry them.
std::optional<TimeZoneRules> ParseRegistryTzi(const unsigned char* data, std::size_t size);

}  // namespace qv
