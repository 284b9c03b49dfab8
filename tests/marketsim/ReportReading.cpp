#include "ReportReading.h"

#include <algorithm>
#include <cctype>

namespace qv::marketsim::test {

namespace {

constexpr long kNone = -1;

long Find(const std::string& text, const std::string& marker, long from = 0) {
    if (from < 0 || static_cast<size_t>(from) > text.size()) return kNone;
    const size_t at = text.find(marker, static_cast<size_t>(from));
    return at == std::string::npos ? kNone : static_cast<long>(at);
}

std::string Mid(const std::string& text, long start, long length) {
    start = std::max(0L, start);
    length = std::max(0L, length);
    if (static_cast<size_t>(start) >= text.size()) return {};
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

// All that follows the marker's first occurrence; a missing marker stands at -1.
std::string After(const std::string& text, const std::string& marker) {
    const long at = Find(text, marker);
    return Mid(text, at + static_cast<long>(marker.size()), static_cast<long>(text.size()));
}

std::string Trim(const std::string& s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string ReadEmailSegment(const std::string& text, long& cursor) {
    const long start = Find(text, "<center", cursor);
    if (start == kNone) return "-1";
    const long end = Find(text, "</center>", start);
    if (end == kNone) return "";
    std::string segment = Mid(text, start, end - start);
    const long anchor = Find(segment, "<a");
    if (anchor != kNone) {
        const long close = Find(segment, ">", anchor);
        segment = Mid(segment, anchor, close - anchor);
        segment = After(segment, "href=");
        segment.erase(std::remove(segment.begin(), segment.end(), '"'), segment.end());
        if (Find(segment, ":") != kNone) segment = After(segment, ":");
    }
    cursor = end;
    return segment;
}

std::string ReadCell(const std::string& text, long& cursor) {
    const long c = Find(text, "<td", cursor);
    const long d = c == kNone ? kNone : Find(text, "</td>", c);
    if (c == kNone || d == kNone) return "";
    std::string cell = Mid(text, c, d - c);
    for (;;) {
        const long open = Find(cell, "<");
        const long close = open == kNone ? kNone : Find(cell, ">", open);
        if (close == kNone) break;
        cell.erase(static_cast<size_t>(open), static_cast<size_t>(close - open + 1));
    }
    cursor = d;
    return Trim(cell);
}

bool SkipFamilyLinkCell(const std::string& text, long& cursor) {
    const long c = Find(text, "<td", cursor);
    const long d = c == kNone ? kNone : Find(text, "</td>", c);
    if (c == kNone || d == kNone ||
        Mid(text, c, d - c).find("showtransactions.htm?transactionfamilyid") == std::string::npos)
        return false;
    cursor = d;
    return true;
}

}  // namespace

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c < 0x80 ? std::tolower(c) : c);
    });
    return text;
}

std::optional<std::string> ElementInnerHtml(const std::string& html, const std::string& id) {
    const size_t attr = html.find("id=\"" + id + "\"");
    if (attr == std::string::npos) return std::nullopt;
    const size_t open = html.rfind('<', attr);
    const size_t openEnd = html.find('>', attr);
    if (open == std::string::npos || openEnd == std::string::npos) return std::nullopt;
    size_t nameEnd = open + 1;
    while (nameEnd < html.size() && std::isalnum(static_cast<unsigned char>(html[nameEnd])))
        ++nameEnd;
    const std::string tag = html.substr(open + 1, nameEnd - open - 1);
    int depth = 1;
    size_t at = openEnd + 1;
    while (at < html.size()) {
        const size_t next = html.find('<', at);
        if (next == std::string::npos) break;
        if (html.compare(next, tag.size() + 3, "</" + tag + ">") == 0) {
            if (--depth == 0) return html.substr(openEnd + 1, next - openEnd - 1);
        } else if (html.compare(next + 1, tag.size(), tag) == 0 &&
                   !std::isalnum(static_cast<unsigned char>(html[next + 1 + tag.size()]))) {
            ++depth;
        }
        at = next + 1;
    }
    return std::nullopt;
}

CountReading ReadItemCount(const std::string& divbodyInner) {
    CountReading reading;
    std::string text = LowerAscii(divbodyInner);
    if (Find(text, "</style>") != kNone) text = After(text, "</style>");
    const long a = Find(text, "found");
    const long b = Find(text, "items");
    std::string count;
    if (a != kNone || b != kNone) count = Mid(text, a + 5, b - a - 5);
    if (count.empty() && text.size() >= 9000) {
        const long c = Find(text, "all", 9000);
        const long d = Find(text, "results", 9000);
        if (c >= 0 && d >= 0) {
            count = Mid(text, c + 3, d - c - 3);
            reading.fromLongForm = true;
        }
    }
    count.erase(std::remove(count.begin(), count.end(), ','), count.end());
    count = Trim(count);
    if (count.empty() && Find(text, "one item found") != kNone) count = "1";
    reading.countText = count;
    reading.items = std::atoi(count.c_str());
    reading.pages = reading.items <= 0 ? 0 : (reading.items + 999) / 1000;
    return reading;
}

std::vector<RowReading> ReadRows(const std::string& lineInner) {
    std::string text = LowerAscii(lineInner);
    const long head = Find(text, "<thead");
    const long headEnd = Find(text, "</thead>");
    if (head != kNone && headEnd != kNone)
        text.erase(static_cast<size_t>(head), static_cast<size_t>(headEnd + 8 - head));
    std::vector<RowReading> rows;
    long cursor = 0;
    for (;;) {
        const long before = cursor;
        RowReading row;
        row.email = ReadEmailSegment(text, cursor);
        if (row.email == "-1") break;
        for (int i = 0; i < 4; ++i) row.cells.push_back(ReadCell(text, cursor));
        for (int i = 0; i < 2; ++i) row.familyLinkCells += SkipFamilyLinkCell(text, cursor) ? 1 : 0;
        for (int i = 0; i < 11; ++i) row.cells.push_back(ReadCell(text, cursor));
        if (cursor == before) break;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace qv::marketsim::test
