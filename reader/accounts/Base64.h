#pragma once
// Decoding of the Base64 lines of account.ini.

#include <string>
#include <string_view>

namespace qv {

// Standard alphabet. Decoding stops at the first '=' or the first character
// outside the alphabet, judged by the low byte of each UTF-16 unit as the
// file's writer and reader have always done; whatever follows is ignored.
// Four characters give three bytes, a final two or three give one or two,
// and a single trailing character gives nothing.
std::string DecodeBase64(std::wstring_view text);

}  // namespace qv
