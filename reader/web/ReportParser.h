#pragma once
// Reading the marketplace's transactions report by plain text search over
// the markup the browser serialises (inner HTML, lower-cased once per call).
// Character references are not decoded: "&nbsp;" in a cell stays those six
// characters, and no cell is turned into a number or a date.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TransactionRecord.h"

namespace qv {

inline constexpr int kReportPageSize = 1000;

// The item count of the report from the inner HTML of its "divbody" element,
// stored in itemCount, and the number of report pages it takes (0 for no
// items). Without the element (nullopt) the result is -1 and itemCount keeps
// its value. A count text without digits reads as 0 items.
int ReadReportItemCount(std::optional<std::wstring_view> countElementHtml, int& itemCount);

// Where the rows of one report page go, one at a time as they are read, so a
// failure on one row leaves the rows before it stored.
class IRecordSink {
public:
    virtual ~IRecordSink() = default;
    // The duplicate test and insertion; true when a row was inserted.
    virtual bool StoreIfNew(const TransactionRecord& record) = 0;
    // An inserted record with the number of rows this page inserted before it.
    virtual void RecordInserted(std::shared_ptr<const TransactionRecord> record, int position) = 0;
};

// Imports the rows of the inner HTML of the report's "line" element. Returns
// the number of rows inserted, 0 without the element (nullopt), or -1 when
// memory ran out. The caller opens the account's database before and closes
// it after; exceptions from the sink pass through.
int ImportReportPage(std::optional<std::wstring_view> tableElementHtml, IRecordSink& sink);

// The rows of a page without storing them, for probes and tests.
std::vector<TransactionRecord> ParseReportRows(std::wstring_view tableElementHtml);

// Row readers over lower-cased page text. Each searches from the cursor and,
// when it succeeds, leaves the cursor on the start of the closing tag it used.

// The e-mail part of the next row: the address of the mail link inside the
// next centre element, or the element's text whole when it holds no link.
// nullopt when no row is left; "" with the cursor unmoved when the element is
// never closed.
std::optional<std::wstring> ReadEmailSegment(std::wstring_view text, std::size_t& cursor);

// The next cell's text with its tags removed and white space trimmed; ""
// with the cursor unmoved when no cell is left.
std::wstring ReadCell(std::wstring_view text, std::size_t& cursor);

// Passes over the next cell only when it holds the transaction-family link.
void SkipFamilyLinkCell(std::wstring_view text, std::size_t& cursor);

// The page's case rules: whole-text lower and upper case over the Latin,
// Greek and Cyrillic letters, independent of any locale.
std::wstring ToLowerText(std::wstring_view text);
std::wstring ToUpperText(std::wstring_view text);

}  // namespace qv
