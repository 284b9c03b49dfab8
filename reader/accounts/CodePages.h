#pragma once
// The system code pages that account.ini is read with. The reader's systems
// are US/Western Windows: ANSI is Windows-1252 and OEM is code page 437. Only
// these two functions know that, so a build that asks the system for its
// real pages changes nothing else.

#include <string>
#include <string_view>

namespace qv {

std::wstring AnsiToWide(std::string_view bytes);

// Bytes below 0x80 stay the control and ASCII characters they are; the upper
// half gives the accented letters, box drawing and symbols of the page.
std::wstring OemToWide(std::string_view bytes);

}  // namespace qv
