#pragma once
// The database password of an SQLite file: Jet keeps its password inside the
// file, so these files keep a salted, stretched SHA-256 of it in the table
// below, never the password itself.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv::ado_detail {

inline constexpr wchar_t kSecurityTable[] = L"__qv_security";

std::array<std::uint8_t, 32> Sha256(std::string_view bytes);

// Lower-case hex of the password's hash under the salt (hex text).
std::wstring HashDatabasePassword(std::wstring_view salt, std::wstring_view password);

// 16 random bytes as hex.
std::wstring MakePasswordSalt();

}  // namespace qv::ado_detail
