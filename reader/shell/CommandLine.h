#pragma once

#include <string_view>

namespace qv {

// "-A" (case-sensitive) anywhere after the first character of the whole
// command line asks the reader to start hidden in the notification area.
// The scan is deliberately that loose: the start-with-Windows value carries
// the switch after an unquoted program path.
bool HasStartHiddenSwitch(std::wstring_view commandLine);

}  // namespace qv
