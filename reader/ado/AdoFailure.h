#pragma once
// The failure that the layer's inner parts raise. The public classes turn it
// into their report and a CADOException; nothing outside the layer sees it.

#include <cstdint>
#include <string>

namespace qv::ado_detail {

// Codes in the HRESULT form that callers of the layer know from ADO and Jet.
namespace codes {
constexpr std::int32_t Code(std::uint32_t value) { return static_cast<std::int32_t>(value); }
inline constexpr std::int32_t kUnspecified = Code(0x80004005u);       // E_FAIL
inline constexpr std::int32_t kInvalidPointer = Code(0x80004003u);    // E_POINTER
inline constexpr std::int32_t kOutOfMemory = Code(0x8007000Eu);       // E_OUTOFMEMORY
inline constexpr std::int32_t kTypeMismatch = Code(0x80020005u);      // DISP_E_TYPEMISMATCH
inline constexpr std::int32_t kCantConvertValue = Code(0x80040E07u);  // DB_E_CANTCONVERTVALUE
inline constexpr std::int32_t kMissingParameter = Code(0x80040E10u);  // DB_E_PARAMNOTOPTIONAL
inline constexpr std::int32_t kErrorsInCommand = Code(0x80040E14u);   // DB_E_ERRORSINCOMMAND
inline constexpr std::int32_t kIntegrityViolation = Code(0x80040E2Fu);
inline constexpr std::int32_t kTimeout = Code(0x80040E31u);
inline constexpr std::int32_t kNoTable = Code(0x80040E37u);           // DB_E_NOTABLE
inline constexpr std::int32_t kAuthFailed = Code(0x80040E4Du);        // DB_SEC_E_AUTH_FAILED
inline constexpr std::int32_t kNoCurrentRecord = Code(0x800A0BCDu);
inline constexpr std::int32_t kItemNotFound = Code(0x800A0CC1u);
inline constexpr std::int32_t kObjectClosed = Code(0x800A0E78u);
inline constexpr std::int32_t kProviderNotFound = Code(0x800A0E7Au);
}  // namespace codes

struct Failure {
    std::wstring description;
    std::int32_t code = codes::kUnspecified;
    std::wstring source;
};

}  // namespace qv::ado_detail
