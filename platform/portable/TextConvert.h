#pragma once
// The one place where text changes encoding: UTF-8 and Windows-1252 bytes
// at the edges (files, HTTP, command lines), std::wstring inside.
// wchar_t is UTF-16 on Windows and UTF-32 elsewhere; both are handled.

#include <filesystem>
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
// The character of a Windows-1252 byte from 0x80 to 0x9F; 0 for the five
// bytes that have none, and for any byte outside that range.
char32_t Cp1252HighCharacter(unsigned char byte);

// The code point at text[i], with i moved past it: a surrogate pair is one
// code point where wchar_t is 16 bits; a lone surrogate stays as it is.
char32_t NextCodePoint(std::wstring_view text, std::size_t& i);
// Appends a code point, as a surrogate pair where wchar_t is 16 bits.
void AppendCodePoint(std::wstring& out, char32_t c);

// How much of the text fits a zero-terminated field of `width` characters:
// at most width - 1, and where wchar_t is a UTF-16 unit a surrogate pair is
// never cut in half.
std::size_t FieldLength(std::wstring_view text, std::size_t width);

// printf's "%02d": at least two characters, a sign counting as one.
std::wstring TwoDigits(int value);

// A path in wide text as the file system takes it: UTF-16 on Windows, the
// UTF-8 bytes of the name elsewhere.
std::filesystem::path ToFsPath(std::wstring_view path);
// The other way: a file system path as wide text.
std::wstring FromFsPath(const std::filesystem::path& path);

}  // namespace qv
