#include "ReportParser.h"

#include <climits>
#include <cstdint>
#include <new>

namespace qv {
namespace {

constexpr std::size_t npos = std::wstring_view::npos;

constexpr std::wstring_view kFamilyLink = L"showtransactions.htm?transactionfamilyid";

// Positions as signed numbers, -1 for a marker that is not there, so that the
// report's arithmetic on missing markers keeps its meaning.
std::ptrdiff_t Find(std::wstring_view text, std::wstring_view marker, std::ptrdiff_t from = 0) {
    if (from < 0) from = 0;
    if (static_cast<std::size_t>(from) > text.size()) return -1;
    const std::size_t at = text.find(marker, static_cast<std::size_t>(from));
    return at == npos ? -1 : static_cast<std::ptrdiff_t>(at);
}

// At most `length` characters from `start` on; negative values count as 0.
std::wstring_view Mid(std::wstring_view text, std::ptrdiff_t start,
                      std::ptrdiff_t length = PTRDIFF_MAX) {
    if (start < 0) start = 0;
    if (length < 0) length = 0;
    if (static_cast<std::size_t>(start) >= text.size()) return {};
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
}

// All that follows the marker's first occurrence; where it is missing, the
// marker counts as standing at -1.
std::wstring_view TextAfter(std::wstring_view text, std::wstring_view marker) {
    const std::ptrdiff_t at = Find(text, marker);
    return Mid(text, at + static_cast<std::ptrdiff_t>(marker.size()));
}

bool IsWhiteSpace(wchar_t c) {
    switch (c) {
        case L' ':
        case L'\t':
        case L'\n':
        case L'\v':
        case L'\f':
        case L'\r':
        case 0x0085:
        case 0x00A0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default:
            return c >= 0x2000 && c <= 0x200A;
    }
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

wchar_t LowerChar(wchar_t w) {
    const auto c = static_cast<std::uint32_t>(w);
    std::uint32_t r = c;
    if (c >= 'A' && c <= 'Z')
        r = c + 32;
    else if (c < 0xC0)
        r = c;
    else if (c <= 0xDE && c != 0xD7)
        r = c + 32;
    else if (c == 0x130)
        r = 'i';
    else if (c >= 0x100 && c <= 0x137)
        r = (c % 2 == 0) ? c + 1 : c;
    else if (c >= 0x139 && c <= 0x148)
        r = (c % 2 == 1) ? c + 1 : c;
    else if (c >= 0x14A && c <= 0x177)
        r = (c % 2 == 0) ? c + 1 : c;
    else if (c == 0x178)
        r = 0xFF;
    else if (c >= 0x179 && c <= 0x17E)
        r = (c % 2 == 1) ? c + 1 : c;
    else if (c == 0x386)
        r = 0x3AC;
    else if (c >= 0x388 && c <= 0x38A)
        r = c + 37;
    else if (c == 0x38C)
        r = 0x3CC;
    else if (c == 0x38E || c == 0x38F)
        r = c + 63;
    else if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        r = c + 32;
    else if (c >= 0x400 && c <= 0x40F)
        r = c + 80;
    else if (c >= 0x410 && c <= 0x42F)
        r = c + 32;
    return static_cast<wchar_t>(r);
}

wchar_t UpperChar(wchar_t w) {
    const auto c = static_cast<std::uint32_t>(w);
    std::uint32_t r = c;
    if (c >= 'a' && c <= 'z')
        r = c - 32;
    else if (c < 0xE0)
        r = c;
    else if (c <= 0xFE && c != 0xF7)
        r = c - 32;
    else if (c == 0xFF)
        r = 0x178;
    else if (c == 0x131)
        r = 'I';
    else if (c >= 0x100 && c <= 0x137)
        r = (c % 2 == 1) ? c - 1 : c;
    else if (c >= 0x139 && c <= 0x148)
        r = (c % 2 == 0) ? c - 1 : c;
    else if (c >= 0x14A && c <= 0x177)
        r = (c % 2 == 1) ? c - 1 : c;
    else if (c >= 0x179 && c <= 0x17E)
        r = (c % 2 == 0) ? c - 1 : c;
    else if (c == 0x3AC)
        r = 0x386;
    else if (c >= 0x3AD && c <= 0x3AF)
        r = c - 37;
    else if (c == 0x3C2)
        r = 0x3A3;
    else if (c == 0x3CC)
        r = 0x38C;
    else if (c == 0x3CD || c == 0x3CE)
        r = c - 63;
    else if (c >= 0x3B1 && c <= 0x3C9)
        r = c - 32;
    else if (c >= 0x430 && c <= 0x44F)
        r = c - 32;
    else if (c >= 0x450 && c <= 0x45F)
        r = c - 80;
    return static_cast<wchar_t>(r);
}

std::wstring FirstUpper(std::wstring text) {
    if (!text.empty()) text[0] = UpperChar(text[0]);
    return text;
}

// Leading white space, an optional sign, then digits up to the first other
// character; 0 without digits. Values beyond int saturate.
int DecimalValue(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsWhiteSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// Reads one row after another from the lower-cased text of the table.
class RowReader {
public:
    explicit RowReader(std::wstring_view text) : text_(text) {}

    // False when no row is left, or when a pass over a malformed row could
    // not move on (an unclosed centre element with no cell after it): reading
    // it again would give the same row forever.
    bool Next(TransactionRecord& record) {
        const std::size_t before = cursor_;
        const std::optional<std::wstring> email = ReadEmailSegment(text_, cursor_);
        if (!email) return false;

        record = TransactionRecord{};
        record.Set(RecordField::EMail, *email);
        record.Set(RecordField::Date, ReadCell(text_, cursor_));
        record.Set(RecordField::Time, ReadCell(text_, cursor_));
        record.Set(RecordField::Receipt, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::Tid, ToUpperText(ReadCell(text_, cursor_)));
        SkipFamilyLinkCell(text_, cursor_);
        SkipFamilyLinkCell(text_, cursor_);
        record.Set(RecordField::PaymentMethod, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::Currency, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::TxnType, FirstUpper(ReadCell(text_, cursor_)));
        record.Set(RecordField::Item, ReadCell(text_, cursor_));
        record.Set(RecordField::Amount, ReadCell(text_, cursor_));
        record.Set(RecordField::Vendor, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::Affiliate, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::Cc, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::State, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::LastName, ToUpperText(ReadCell(text_, cursor_)));
        record.Set(RecordField::FirstName, ToUpperText(ReadCell(text_, cursor_)));
        return cursor_ != before;
    }

private:
    std::wstring_view text_;
    std::size_t cursor_ = 0;
};

// The table's text as the rows are read from it: lower case, header gone.
std::wstring PrepareTable(std::wstring_view html) {
    std::wstring text = ToLowerText(html);
    const std::ptrdiff_t open = Find(text, L"<thead");
    const std::ptrdiff_t close = Find(text, L"</thead>");
    if (open >= 0 && close >= 0) {
        const std::ptrdiff_t end = close + 8;
        if (end > open)
            text.erase(static_cast<std::size_t>(open), static_cast<std::size_t>(end - open));
    }
    return text;
}

}  // namespace

std::wstring ToLowerText(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = LowerChar(c);
    return out;
}

std::wstring ToUpperText(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = UpperChar(c);
    return out;
}

int ReadReportItemCount(std::optional<std::wstring_view> countElementHtml, int& itemCount) {
    if (!countElementHtml) return -1;
    const std::wstring lowered = ToLowerText(*countElementHtml);
    std::wstring_view text = lowered;
    if (Find(text, L"</style>") >= 0) text = TextAfter(text, L"</style>");

    const std::ptrdiff_t found = Find(text, L"found");
    const std::ptrdiff_t items = Find(text, L"items");
    std::wstring_view between;
    if (found >= 0 || items >= 0) between = Mid(text, found + 5, items - found - 5);
    if (between.empty() && text.size() >= 9000) {
        const std::ptrdiff_t all = Find(text, L"all", 9000);
        const std::ptrdiff_t results = Find(text, L"results", 9000);
        if (all >= 0 && results >= 0) between = Mid(text, all + 3, results - all - 3);
    }

    std::wstring count;
    for (const wchar_t c : between) {
        if (c != L',') count.push_back(c);
    }
    count = std::wstring(Trim(count));
    if (count.empty() && Find(text, L"one item found") >= 0) count = L"1";

    itemCount = DecimalValue(count);
    // A count below zero cannot come from a real report; it must not turn
    // into a page to fetch, nor into the -1 that ends the check.
    if (itemCount <= 0) return 0;
    return itemCount / kReportPageSize + (itemCount % kReportPageSize != 0 ? 1 : 0);
}

std::optional<std::wstring> ReadEmailSegment(std::wstring_view text, std::size_t& cursor) {
    if (cursor >= text.size()) return std::nullopt;
    const std::size_t start = text.find(L"<center", cursor);
    if (start == npos) return std::nullopt;
    const std::size_t end = text.find(L"</center>", start);
    if (end == npos) return std::wstring();

    std::wstring_view segment = text.substr(start, end - start);
    std::wstring result;
    const std::ptrdiff_t anchor = Find(segment, L"<a");
    if (anchor >= 0) {
        const std::ptrdiff_t close = Find(segment, L">", anchor);
        std::wstring_view tag = Mid(segment, anchor, close - anchor);
        tag = TextAfter(tag, L"href=");
        std::wstring unquoted;
        for (const wchar_t c : tag) {
            if (c != L'"') unquoted.push_back(c);
        }
        result = std::wstring(TextAfter(unquoted, L":"));
    } else {
        result = std::wstring(segment);
    }
    cursor = end;
    return result;
}

std::wstring ReadCell(std::wstring_view text, std::size_t& cursor) {
    const std::size_t open = text.find(L"<td", cursor < text.size() ? cursor : text.size());
    if (open == npos) return {};
    const std::size_t close = text.find(L"</td>", open);
    if (close == npos) return {};

    // Tags go from each '<' through the first '>' after it; a '<' with no '>'
    // after it ends the stripping, and the rest stays as text. One pass: the
    // text kept before a tag holds no '<', so nothing before it changes again.
    const std::wstring_view raw = text.substr(open, close - open);
    std::wstring cell;
    std::size_t from = 0;
    for (;;) {
        const std::size_t lt = raw.find(L'<', from);
        const std::size_t gt = lt == npos ? npos : raw.find(L'>', lt);
        if (gt == npos) {
            cell.append(raw.substr(from));
            break;
        }
        cell.append(raw.substr(from, lt - from));
        from = gt + 1;
    }
    cursor = close;
    return std::wstring(Trim(cell));
}

void SkipFamilyLinkCell(std::wstring_view text, std::size_t& cursor) {
    const std::size_t open = text.find(L"<td", cursor < text.size() ? cursor : text.size());
    if (open == npos) return;
    const std::size_t close = text.find(L"</td>", open);
    if (close == npos) return;
    if (text.substr(open, close - open).find(kFamilyLink) != npos) cursor = close;
}

int ImportReportPage(std::optional<std::wstring_view> tableElementHtml, IRecordSink& sink) {
    if (!tableElementHtml) return 0;
    try {
        const std::wstring text = PrepareTable(*tableElementHtml);
        RowReader rows(text);
        int inserted = 0;
        for (;;) {
            auto record = std::make_shared<TransactionRecord>();
            if (!rows.Next(*record)) return inserted;
            if (sink.StoreIfNew(*record)) {
                sink.RecordInserted(std::move(record), inserted);
                ++inserted;
            }
        }
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

std::vector<TransactionRecord> ParseReportRows(std::wstring_view tableElementHtml) {
    const std::wstring text = PrepareTable(tableElementHtml);
    RowReader rows(text);
    std::vector<TransactionRecord> records;
    TransactionRecord record;
    while (rows.Next(record)) records.push_back(record);
    return records;
}

}  // namespace qv
