#pragma once

// Reads simulator pages the way the reader does: by plain text search over
// the lower-cased inner markup of the elements "divbody" and "line". The
// tests use it to show that what the simulator serves reads back as meant.
#include <optional>
#include <string>
#include <vector>

namespace qv::marketsim::test {

std::string LowerAscii(std::string text);

// Inner markup of the element with id `id`, or nothing when there is none.
// Works on well-formed markup (every element of the tag's name closed).
std::optional<std::string> ElementInnerHtml(const std::string& html, const std::string& id);

struct CountReading {
    int items = 0;
    int pages = 0;
    std::string countText;      // as read, before the digits are taken
    bool fromLongForm = false;  // read from the "all ... results" text past character 9000
};

// The item count read from the inner markup of "divbody".
CountReading ReadItemCount(const std::string& divbodyInner);

struct RowReading {
    std::string email;
    std::vector<std::string> cells;  // the fifteen cells in report order, lower case
    int familyLinkCells = 0;
};

// The rows of the inner markup of "line"; stops when a row leaves the cursor unmoved.
std::vector<RowReading> ReadRows(const std::string& lineInner);

}  // namespace qv::marketsim::test
