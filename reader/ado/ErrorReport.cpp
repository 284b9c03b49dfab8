#include "ErrorReport.h"

#include <cstdio>

#include "AdoFailure.h"

namespace qv::ado_detail {

std::wstring CodeMeaning(std::int32_t code) {
    switch (code) {
    case codes::kUnspecified: return L"Unspecified error";
    case codes::kInvalidPointer: return L"Invalid pointer";
    case codes::kOutOfMemory: return L"Not enough memory resources are available to complete this operation.";
    case codes::kTypeMismatch: return L"Type mismatch.";
    default: break;
    }
    const auto value = static_cast<std::uint32_t>(code);
    wchar_t buffer[32];
    if (value > 0x80040200u && value <= 0x8004FFFFu) {
        std::swprintf(buffer, 32, L"IDispatch error #%d", static_cast<int>(value - 0x80040200u));
    } else {
        std::swprintf(buffer, 32, L"Unknown error 0x%0X", static_cast<unsigned>(value));
    }
    return buffer;
}

std::wstring FailureReport(const wchar_t* heading, std::int32_t code, const std::wstring& source,
                           const std::wstring& description) {
    wchar_t number[16];
    std::swprintf(number, 16, L"%08x", static_cast<unsigned>(static_cast<std::uint32_t>(code)));
    std::wstring report = heading;
    report += L"\n\tCode = ";
    report += number;
    report += L"\n\tCode meaning = " + CodeMeaning(code);
    report += L"\n\tSource = " + source;
    report += L"\n\tDescription = " + description + L"\n";
    return report;
}

}  // namespace qv::ado_detail
