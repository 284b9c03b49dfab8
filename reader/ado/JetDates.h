#pragma once
// Text to date/time the way Jet reads it on a US system: month before day,
// two-digit years 00-29 in the 2000s, month names, 12-hour times. Used for
// "#...#" literals and for text written into date/time columns of SQLite
// files, which keep every date/time in one canonical text so that equal
// instants compare and sort equal.

#include <optional>
#include <string>
#include <string_view>

#include "ADODatabase.h"

namespace qv::ado_detail {

// Nothing that Jet would refuse is accepted; a time alone gets the base date
// 1899-12-30 and a date alone midnight.
std::optional<CADODate> ParseJetDateText(std::wstring_view text);

// "YYYY-MM-DD HH:MM:SS".
std::wstring FormatCanonicalDate(const CADODate& date);
std::optional<CADODate> ParseCanonicalDate(std::wstring_view text);

bool IsValidDate(const CADODate& date);

}  // namespace qv::ado_detail
