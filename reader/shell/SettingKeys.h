#pragma once
// Sections and keys of QVSetting.ini that more than one part reads or writes.

namespace qv {

inline constexpr wchar_t kGeneralSection[] = L"General Settings";
inline constexpr wchar_t kIntervalKey[] = L"Time";
inline constexpr wchar_t kTimeoutKey[] = L"Timeout";
inline constexpr wchar_t kLastLoginSection[] = L"Last Login";

}  // namespace qv
