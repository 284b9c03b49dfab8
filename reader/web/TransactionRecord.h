#pragma once
// One row of the marketplace's transactions report: sixteen fixed-width text
// fields. A field of width W holds at most W - 1 characters followed by a
// terminating zero, as the stored rows and the data page expect; longer text
// is cut when it is set. A new record is zero-filled (every field empty).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "TextConvert.h"

namespace qv {

enum class RecordField : std::size_t {
    EMail,
    Date,
    Time,
    Receipt,
    Tid,
    PaymentMethod,
    Currency,
    TxnType,
    Item,
    Amount,
    Vendor,
    Affiliate,
    Cc,
    State,
    LastName,
    FirstName,
};

inline constexpr std::size_t kRecordFieldCount = 16;

namespace record_detail {
inline constexpr std::array<std::size_t, kRecordFieldCount> kWidths = {
    64, 16, 16, 16, 32, 16, 8, 16, 16, 16, 32, 12, 8, 32, 32, 32};
inline constexpr std::array<const wchar_t*, kRecordFieldCount> kColumns = {
    L"EMail", L"Date",   L"Time",   L"Receipt",   L"TID", L"Pmt", L"Currency",  L"Txn Type",
    L"Item",  L"Amount", L"Vendor", L"Affiliate", L"CC",  L"St",  L"Last Name", L"First Name"};

constexpr std::size_t Offset(std::size_t index) {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < index; ++i) offset += kWidths[i];
    return offset;
}
inline constexpr std::size_t kTotalWidth = Offset(kRecordFieldCount);
}  // namespace record_detail

class TransactionRecord {
public:
    // Width of a field in characters, terminating zero included.
    static constexpr std::size_t Width(RecordField field) {
        return record_detail::kWidths[static_cast<std::size_t>(field)];
    }

    // The name of the database column the field is stored in.
    static constexpr const wchar_t* ColumnName(RecordField field) {
        return record_detail::kColumns[static_cast<std::size_t>(field)];
    }

    // Keeps at most Width(field) - 1 characters of text. Where wchar_t is a
    // UTF-16 unit, a surrogate pair that would be split by the cut is left out
    // whole rather than stored half.
    void Set(RecordField field, std::wstring_view text) {
        wchar_t* slot = Slot(field);
        const std::size_t n = FieldLength(text, Width(field));
        std::size_t i = 0;
        for (; i < n; ++i) slot[i] = text[i];
        for (; i < Width(field); ++i) slot[i] = L'\0';
    }

    // The field's text up to its terminating zero.
    std::wstring_view Get(RecordField field) const {
        const wchar_t* slot = Slot(field);
        std::size_t n = 0;
        while (n < Width(field) && slot[n] != L'\0') ++n;
        return {slot, n};
    }

    std::wstring GetString(RecordField field) const { return std::wstring(Get(field)); }

    bool IsEmpty(RecordField field) const { return Slot(field)[0] == L'\0'; }

    friend bool operator==(const TransactionRecord& a, const TransactionRecord& b) {
        return a.chars_ == b.chars_;
    }

private:
    wchar_t* Slot(RecordField field) {
        return chars_.data() + record_detail::Offset(static_cast<std::size_t>(field));
    }
    const wchar_t* Slot(RecordField field) const {
        return chars_.data() + record_detail::Offset(static_cast<std::size_t>(field));
    }

    std::array<wchar_t, record_detail::kTotalWidth> chars_{};
};

}  // namespace qv
