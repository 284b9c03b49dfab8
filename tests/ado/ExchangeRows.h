#pragma once
// The rows that cross from the Wine side to the native side in one file.

#include <filesystem>
#include <string>

namespace qv::adotest {

inline constexpr wchar_t kExchangePassword[] = L"Grüße €1";
inline constexpr wchar_t kExchangeFile[] = L"Exchange.mdb";
inline constexpr wchar_t kExchangeTable[] = L"zoë";

// Writes the rows through the layer into folder/data/Exchange.mdb (made
// afresh). Returns an empty text, or what went wrong.
std::string WriteExchangeRows(const std::filesystem::path& folder);

// Reads them back through the layer and compares every value.
std::string CheckExchangeRows(const std::filesystem::path& folder);

}  // namespace qv::adotest
