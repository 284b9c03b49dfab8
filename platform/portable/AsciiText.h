#pragma once
// ASCII-only character classes and case folding, as protocols, markup names
// and INI names use them: letters outside ASCII never fold, whatever the
// locale says.

#include <string>
#include <string_view>

namespace qv {

constexpr bool IsAsciiAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
constexpr bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

constexpr wchar_t AsciiLower(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
constexpr char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::wstring AsciiLowerCopy(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) c = AsciiLower(c);
    return lower;
}
inline std::string AsciiLowerCopy(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = AsciiLower(c);
    return lower;
}

inline bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

inline bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace qv
