// The report's item count and the number of pages it asks for.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "ReportParser.h"

namespace qv {
namespace {

struct CountCase {
    const char* name;
    std::optional<std::wstring> html;
    int pages;
    int items;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name;
}

// Text of at least 9000 characters in front of `tail`.
std::wstring Long(const std::wstring& head, const std::wstring& tail) {
    std::wstring text = head;
    text.resize(9000, L'x');
    return text + tail;
}

class ItemCounts : public testing::TestWithParam<CountCase> {};

TEST_P(ItemCounts, GiveThePages) {
    int items = -12345;
    std::optional<std::wstring_view> html;
    if (GetParam().html) html = *GetParam().html;
    EXPECT_EQ(ReadReportItemCount(html, items), GetParam().pages);
    EXPECT_EQ(items, GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ItemCounts,
    testing::Values(
        CountCase{"NoElementKeepsTheCount", std::nullopt, -1, -12345},
        CountCase{"ThousandsSeparatorAndWhiteSpace",
                  L"<div>We have found\n  1,234\t items for you.</div>", 2, 1234},
        CountCase{"MarkersInAnyCase", L"FOUND 1000 ITEMS", 1, 1000},
        CountCase{"OneMoreThanAPage", L"found 1001 items", 2, 1001},
        CountCase{"OneItem", L"found 1 items", 1, 1}, CountCase{"Zero", L"found 0 items", 0, 0},
        CountCase{"DigitsUpToTheFirstOther", L"found 12abc items", 1, 12},
        CountCase{"NoDigitsIsEmpty", L"found some items", 0, 0},
        CountCase{"NegativeCountAsksForNoPage", L"found -5 items", 0, -5},
        CountCase{"HugeCountSaturates", L"found 99,999,999,999 items", INT_MAX / 1000 + 1, INT_MAX},
        CountCase{"OnlyTextAfterTheStyleSheet",
                  L"<style>.found{} p{} .items{}</style><p>found 12 items</p>", 1, 12},
        CountCase{"FoundInsideTheStyleSheetIsIgnored",
                  L"<style>.found { color: red } .items {}</style><p>nothing</p>", 0, 0},
        CountCase{"ResultsAfterCharacter9000", Long(L"", L" all 2,000 results "), 2, 2000},
        CountCase{"ResultsBefore9000AreNotLookedAt", Long(L"all 5 results", L"all 2,000 results"),
                  2, 2000},
        CountCase{"ResultsInAShortPageAreNotLookedAt", L"all 2,000 results", 0, 0},
        CountCase{"OneItemFound", L"<p>Exactly one item found.</p>", 1, 1},
        CountCase{"NoMarkerAtAll", L"<p>Welcome back</p>", 0, 0},
        CountCase{"EmptyElement", L"", 0, 0}),
    [](const testing::TestParamInfo<CountCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv
