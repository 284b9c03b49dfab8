#pragma once
// The one place where text changes encoding: UTF-8 and Windows-1252 bytes
// at the edges (files, HTTP, command lines), std::wstring inside.
// wchar_t is UTF-16 on Windows and UTF-32 elsewhere; both are handled.

#include <string>
#include <string_view>

namespace qv {

std::string WideToUtf8(std::wstring_view text);
// Malformed sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view bytes);

// Windows-1252, the ANSI code page of a US/Western system. Characters that
// have no byte in it become '?', as the system conversion does by default.
std::string WideToCp1252(std::wstring_view text);
std::wstring Cp1252ToWide(std::string_view bytes);

}  // namespace qv
