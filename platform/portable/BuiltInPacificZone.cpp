#include "BuiltInPacificZone.h"

namespace qv {

std::optional<TimeZoneRules> BuiltInPacificZone::ReadPacificZone() const {
    TimeZoneRules rules;
    rules.bias = 480;
    rules.standardBias = 0;
    rules.daylightBias = -60;
    // First Sunday of November, 02:00 daylight time.
    rules.standardDate.month = 11;
    rules.standardDate.dayOfWeek = 0;
    rules.standardDate.day = 1;
    rules.standardDate.hour = 2;
    // Second Sunday of March, 02:00 standard time.
    rules.daylightDate.month = 3;
    rules.daylightDate.dayOfWeek = 0;
    rules.daylightDate.day = 2;
    rules.daylightDate.hour = 2;
    rules.standardName = L"Pacific Standard Time";
    rules.daylightName = L"Pacific Daylight Time";
    return rules;
}

}  // namespace qv
