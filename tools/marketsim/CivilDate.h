#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace qv::marketsim {

// A calendar date of the marketplace's report (the US Pacific calendar).
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    // Days since 1970-01-01; lets ranges and spans be plain integers.
    int64_t DayNumber() const;
    static CivilDate FromDayNumber(int64_t days);

    // "%d-%02d-%02d", the form the report's query carries.
    std::string ToString() const;
    // Reads exactly YYYY-MM-DD with a real month and day; anything else is no date.
    static std::optional<CivilDate> Parse(const std::string& text);

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Today's date on the US Pacific clock (standard UTC-8, daylight UTC-7 from the
// second Sunday of March 02:00 to the first Sunday of November 02:00 local).
CivilDate PacificToday(std::time_t utcNow);

}  // namespace qv::marketsim
