#pragma once
// The report text that the database and the recordset keep after a failure.

#include <cstdint>
#include <string>

namespace qv::ado_detail {

// A readable meaning of the code: the system's text for the common codes,
// else "IDispatch error #n" (n = code - 0x80040200) for 0x80040201..0x8004FFFF,
// else "Unknown error 0x...".
std::wstring CodeMeaning(std::int32_t code);

// heading is "CADODataBase Error" or "CADORecordset Error".
std::wstring FailureReport(const wchar_t* heading, std::int32_t code, const std::wstring& source,
                           const std::wstring& description);

}  // namespace qv::ado_detail
