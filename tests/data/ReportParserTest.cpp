// Cutting report pages into records: the row readers, a page as the browser
// serialises it, the store interleaving and malformed pages.

#include <gtest/gtest.h>

#include <array>
#include <new>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ReportParser.h"
#include "TestFiles.h"
#include "TextConvert.h"

namespace qv {
namespace {

constexpr std::size_t kUnmoved = 99999;  // a cursor no case starts from

// --- ReadCell ------------------------------------------------------------------

struct CellCase {
    const char* name;
    std::wstring text;
    std::size_t cursor;
    std::wstring cell;
    std::size_t cursorAfter;  // kUnmoved: stays where it was
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << c.name;
}

class Cells : public testing::TestWithParam<CellCase> {};

TEST_P(Cells, Read) {
    std::size_t cursor = GetParam().cursor;
    EXPECT_EQ(ReadCell(GetParam().text, cursor), GetParam().cell);
    const std::size_t expected =
        GetParam().cursorAfter == kUnmoved ? GetParam().cursor : GetParam().cursorAfter;
    EXPECT_EQ(cursor, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cells,
    testing::Values(
        CellCase{"Plain", L"<td>abc</td>", 0, L"abc", 7},
        CellCase{"NestedLinkAndLineBreaks",
                 L"<td class=\"v\">\n   <a href=\"vendor.htm?id=9\">vendor two</a>\r\n</td>", 0,
                 L"vendor two", 60},
        CellCase{"ReferenceStays", L"<td>&nbsp;</td>", 0, L"&nbsp;", 10},
        CellCase{"AmpersandReferenceStays", L"<td>a &amp; b</td>", 0, L"a &amp; b", 13},
        CellCase{"GreaterThanAfterTagsIsText", L"<td>a > b</td>", 0, L"a > b", 9},
        CellCase{"LessThanWithoutCloseIsText", L"<td>x<y</td>", 0, L"x<y", 7},
        CellCase{"EmptyCell", L"<td></td>", 0, L"", 4},
        CellCase{"FromTheCursorOn", L"<td>a</td><td>b</td>", 5, L"b", 15},
        CellCase{"NoCellLeft", L"<td>a</td>", 5, L"", kUnmoved},
        CellCase{"UnclosedCell", L"<td>a", 0, L"", kUnmoved},
        CellCase{"CursorPastTheEnd", L"<td>a</td>", 50, L"", kUnmoved},
        // A tag runs from a '<' to the first '>' after it, with any
        // '<' between; what follows is searched again from there.
        CellCase{"LessThanInsideATag", L"<td>a<b<c>d>e</td>", 0, L"ad>e", 13},
        CellCase{"GreaterThanBeforeTheFirstTag", L"<td>x>y<z</td>", 0, L"x>y<z", 9},
        CellCase{"DoubledBrackets", L"<td><<>></td>", 0, L">", 8},
        CellCase{"UnclosedTagAtTheEnd", L"<td>a<i>b</i>c<</td>", 0, L"abc<", 15},
        CellCase{"SpacedLessThanStillOpensATag", L"<td>a< b <i>c</i></td>", 0, L"ac", 17},
        CellCase{"GreaterThanInAnAttributeEndsTheTag", L"<td title=\"1 > 2\">v</td>", 0, L"2\">v",
                 19},
        CellCase{"TrimmedAfterTheTagsGo", L"<td> <b> a </b>\n</td>", 0, L"a", 16}),
    [](const testing::TestParamInfo<CellCase>& info) { return std::string(info.param.name); });

// The rule as first written: delete from the first '<' through the first '>'
// after it, then search again from the start, until no such pair is left.
std::wstring StripByRepeatedDeletion(std::wstring cell) {
    for (;;) {
        const std::size_t lt = cell.find(L'<');
        if (lt == std::wstring::npos) break;
        const std::size_t gt = cell.find(L'>', lt);
        if (gt == std::wstring::npos) break;
        cell.erase(lt, gt - lt + 1);
    }
    return cell;
}

TEST(ReadCell, StripsAsRepeatedDeletionFromTheStartDoes) {
    std::mt19937 random(7);
    const std::wstring alphabet = L"<<>>ab ";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int round = 0; round < 5000; ++round) {
        std::wstring content;
        for (int n = length(random); n > 0; --n) content.push_back(alphabet[pick(random)]);
        const std::wstring text = L"<td>" + content + L"</td>";
        std::size_t cursor = 0;
        const std::wstring expected = StripByRepeatedDeletion(L"<td>" + content);
        const std::size_t first = expected.find_first_not_of(L' ');
        const std::size_t last = expected.find_last_not_of(L' ');
        ASSERT_EQ(ReadCell(text, cursor),
                  first == std::wstring::npos ? L"" : expected.substr(first, last - first + 1))
            << WideToUtf8(content);
    }
}

TEST(ReadCell, ManyTagsInOneCell) {
    std::wstring text = L"<td>";
    for (int n = 0; n < 20000; ++n) text += n == 10000 ? L"<b>x > y" : L"<i>";
    text += L"</td>";
    std::size_t cursor = 0;
    EXPECT_EQ(ReadCell(text, cursor), L"x > y");
}

// --- ReadEmailSegment --------------------------------------------------------------

struct EmailCase {
    const char* name;
    std::wstring text;
    std::size_t cursor;
    std::optional<std::wstring> email;
    std::size_t cursorAfter;
};

void PrintTo(const EmailCase& c, std::ostream* os) {
    *os << c.name;
}

class Emails : public testing::TestWithParam<EmailCase> {};

TEST_P(Emails, Read) {
    std::size_t cursor = GetParam().cursor;
    EXPECT_EQ(ReadEmailSegment(GetParam().text, cursor), GetParam().email);
    const std::size_t expected =
        GetParam().cursorAfter == kUnmoved ? GetParam().cursor : GetParam().cursorAfter;
    EXPECT_EQ(cursor, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Emails,
    testing::Values(
        EmailCase{"MailLink", L"<center><a href=\"mailto:bob@x.org\">bob</a></center>", 0,
                  L"bob@x.org", 42},
        EmailCase{"AttributesBeforeTheLink",
                  L"<td><center><a class=\"m\" href=\"mailto:bob@x.org\">b</a></center>", 0,
                  L"bob@x.org", 54},
        // What the link's tag holds after it comes along.
        EmailCase{"AttributesAfterTheLinkStay",
                  L"<center><a href=\"mailto:bob@x.org\" class=\"m\">b</a></center>", 0,
                  L"bob@x.org class=m", 50},
        EmailCase{"EmptyMailLink", L"<center><a href=\"mailto:\">&nbsp;</a></center>", 0, L"", 36},
        EmailCase{"NoLinkGivesTheSegmentWhole", L"<center>plain</center>", 0, L"<center>plain", 13},
        EmailCase{"UnclosedCentre", L"<center><a href=\"mailto:x@y\">", 0, L"", kUnmoved},
        EmailCase{"NoCentreLeft", L"<center>a</center><td>b</td>", 9, std::nullopt, kUnmoved},
        EmailCase{"CursorAtTheEnd", L"<center>a</center>", 18, std::nullopt, kUnmoved}),
    [](const testing::TestParamInfo<EmailCase>& info) { return std::string(info.param.name); });

// --- SkipFamilyLinkCell -------------------------------------------------------------

TEST(SkipFamilyLinkCell, PassesOnlyOverTheLinkCell) {
    const std::wstring text =
        L"<td><a href=\"showtransactions.htm?transactionfamilyid=7&amp;x=1\">f</a></td>"
        L"<td>visa</td>";
    std::size_t cursor = 0;
    SkipFamilyLinkCell(text, cursor);
    EXPECT_EQ(cursor, text.find(L"</td>"));
    const std::size_t onLink = cursor;
    SkipFamilyLinkCell(text, cursor);
    EXPECT_EQ(cursor, onLink);
    EXPECT_EQ(ReadCell(text, cursor), L"visa");
}

// --- A served page ------------------------------------------------------------------

struct Row {
    std::array<const wchar_t*, kRecordFieldCount> fields;
};

void ExpectRow(const TransactionRecord& record, const Row& row) {
    for (std::size_t f = 0; f < kRecordFieldCount; ++f) {
        EXPECT_EQ(record.Get(static_cast<RecordField>(f)), row.fields[f])
            << "column " << TransactionRecord::ColumnName(static_cast<RecordField>(f));
    }
}

// The fixture's rows: e-mail, date, time, receipt, TID, payment method,
// currency, type, item, amount, vendor, affiliate, CC, state, last and first
// name.
const std::vector<Row> kFixtureRows = {
    // No family link; a no-break space as affiliate; the receipt in mixed case.
    {{L"alice.buyer@example.com", L"2026-03-14", L"09:26:53", L"ABCD1234", L"TID-0001", L"VISA",
      L"USD", L"Sale", L"1", L"47.00", L"SHOPONE", L"&NBSP;", L"US", L"CA", L"BUYER", L"ALICE"}},
    // The refund beside its sale: one family link cell.
    {{L"alice.buyer@example.com", L"2026-03-15", L"10:00:00", L"ABCD1234", L"TID-0002", L"VISA",
      L"USD", L"Refund", L"1", L"-47.00", L"SHOPONE", L"", L"US", L"CA", L"BUYER", L"ALICE"}},
    // Two family link cells, a vendor link, letters outside ASCII and a last
    // name longer than its field.
    {{L"bob@example.org", L"2026-03-16", L"23:59:59", L"EFGH5678", L"TID-0003", L"MSTR", L"EUR",
      L"Bill", L"2", L"1,234.50", L"VENDOR TWO", L"AFF9", L"&NBSP;", L"BAYERN",
      L"M\u00DCLLER-L\u00DCDENSCHEIDT VON HOHENZO", L"ZO\u00CB"}},
    // Empty receipt, e-mail, affiliate and state.
    {{L"", L"2026-03-17", L"08:00:00", L"", L"TID-0004", L"PYPL", L"USD", L"Sale", L"3", L"9.99",
      L"SHOPONE", L"", L"GB", L"", L"SMITH", L"JO"}},
};

std::wstring Fixture() {
    return Utf8ToWide(test::ReportPageFixtureUtf8());
}

TEST(ReportPage, FixtureGivesItsRowsAndNotTheHeader) {
    const std::vector<TransactionRecord> rows = ParseReportRows(Fixture());
    ASSERT_EQ(rows.size(), kFixtureRows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        ExpectRow(rows[i], kFixtureRows[i]);
    }
}

// Stores what its script says and records every call.
class ScriptedSink : public IRecordSink {
public:
    std::vector<bool> answers;  // StoreIfNew's answers in turn; true beyond
    std::vector<TransactionRecord> offered;
    std::vector<std::pair<std::wstring, int>> inserted;  // receipt/TID, position
    std::size_t limit = 100000;
    bool throwMemory = false;

    bool StoreIfNew(const TransactionRecord& record) override {
        if (offered.size() >= limit) throw std::runtime_error("the import does not stop");
        if (throwMemory && !offered.empty()) throw std::bad_alloc();
        offered.push_back(record);
        return offered.size() <= answers.size() ? answers[offered.size() - 1] : true;
    }
    void RecordInserted(std::shared_ptr<const TransactionRecord> record, int position) override {
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(*record, offered.back()) << "the inserted record is the one just stored";
        inserted.emplace_back(record->GetString(RecordField::Tid), position);
    }
};

TEST(ImportReportPage, CountsAndPlacesOnlyTheInsertedRows) {
    ScriptedSink sink;
    sink.answers = {true, false, true, true};
    const std::wstring page = Fixture();
    EXPECT_EQ(ImportReportPage(page, sink), 3);
    ASSERT_EQ(sink.offered.size(), 4u);
    const std::vector<std::pair<std::wstring, int>> expected = {
        {L"TID-0001", 0}, {L"TID-0003", 1}, {L"TID-0004", 2}};
    EXPECT_EQ(sink.inserted, expected);
}

TEST(ImportReportPage, NothingNewCountsZero) {
    ScriptedSink sink;
    sink.answers = {false, false, false, false};
    EXPECT_EQ(ImportReportPage(Fixture(), sink), 0);
    EXPECT_EQ(sink.offered.size(), 4u);
    EXPECT_TRUE(sink.inserted.empty());
}

TEST(ImportReportPage, NoTableElementImportsNothing) {
    ScriptedSink sink;
    EXPECT_EQ(ImportReportPage(std::nullopt, sink), 0);
    EXPECT_TRUE(sink.offered.empty());
}

TEST(ImportReportPage, MemoryRunningOutGivesMinusOne) {
    ScriptedSink sink;
    sink.throwMemory = true;
    EXPECT_EQ(ImportReportPage(Fixture(), sink), -1);
    EXPECT_EQ(sink.offered.size(), 1u);
}

TEST(ImportReportPage, StoreFailureLeavesTheRowsBeforeItStored) {
    ScriptedSink sink;
    sink.limit = 2;
    EXPECT_THROW(ImportReportPage(Fixture(), sink), std::runtime_error);
    EXPECT_EQ(sink.inserted.size(), 2u);
}

// --- Odd pages -------------------------------------------------------------------------

struct PageCase {
    const char* name;
    std::wstring html;
    std::vector<std::wstring> dates;  // the date of every row read
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

class OddPages : public testing::TestWithParam<PageCase> {};

TEST_P(OddPages, ReadTheirRowsAndStop) {
    ScriptedSink sink;
    sink.limit = 1000;  // far beyond any case: a loop that never stops fails here
    const int inserted = ImportReportPage(GetParam().html, sink);
    std::vector<std::wstring> dates;
    for (const auto& record : sink.offered) dates.push_back(record.GetString(RecordField::Date));
    EXPECT_EQ(dates, GetParam().dates);
    EXPECT_EQ(inserted, static_cast<int>(GetParam().dates.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Markup, OddPages,
    testing::Values(
        PageCase{"NoCentreImportsNothing", L"<tr><td>2026-01-01</td><td>1:00</td></tr>", {}},
        PageCase{"RowWithoutCentrePairsWithTheNextCentre",
                 L"<tr><td>2026-01-01</td><td>x</td></tr>"
                 L"<tr><td><center><a href=\"mailto:a@b\">a</a></center></td>"
                 L"<td>2026-01-02</td><td>y</td></tr>",
                 {L"2026-01-02"}},
        PageCase{"HeaderWithACentreIsNoRow",
                 L"<THEAD><tr><td><center>e-mail</center></td><td>Date</td></tr></THEAD>"
                 L"<tbody><tr><td><center>x</center></td><td>2026-02-02</td></tr></tbody>",
                 {L"2026-02-02"}},
        PageCase{"CellsRunningOutEndTheRows",
                 L"<center>a</center><td>2026-03-03</td><td>t</td>",
                 {L"2026-03-03"}},
        PageCase{"UnclosedCentreWithoutCellsStops", L"<center><a href=\"mailto:x@y\">", {}},
        PageCase{"UnclosedCentreAfterACellStops",
                 L"<td>2026-04-04</td><center><a href=\"mailto:x@y\">",
                 {L"2026-04-04"}},
        PageCase{"EmptyText", L"", {}}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

// Random pages built from the markers the parser looks for, and random
// damage to the served page: every call ends, and no row is read without
// a marker consumed for it. Meant to be run under the sanitizers too.
TEST(ImportReportPage, RandomMarkupNeverHangsOrOverruns) {
    const std::array<std::wstring, 14> pieces = {L"<center",
                                                 L"</center>",
                                                 L"<td",
                                                 L"</td>",
                                                 L">",
                                                 L"<",
                                                 L"<a href=\"mailto:x@y\"",
                                                 L"<thead",
                                                 L"</thead>",
                                                 L"\"",
                                                 L":",
                                                 L" ",
                                                 L"showtransactions.htm?transactionfamilyid",
                                                 L"\u00C4b"};
    const std::wstring fixture = Fixture();
    std::mt19937 random(20260314);

    for (int round = 0; round < 3000; ++round) {
        std::wstring page;
        if (round % 2 == 0) {
            const int count = static_cast<int>(random() % 60);
            for (int i = 0; i < count; ++i) page += pieces[random() % pieces.size()];
        } else {
            page = fixture;
            const int edits = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < edits && !page.empty(); ++i) {
                const std::size_t at = random() % page.size();
                const std::size_t length = 1 + random() % 40;
                if (random() % 2 == 0)
                    page.erase(at, length);
                else
                    page.insert(at, pieces[random() % pieces.size()]);
            }
        }

        std::size_t markers = 0;
        const std::wstring lowered = ToLowerText(page);
        for (const wchar_t* marker : {L"<center", L"<td"}) {
            for (std::size_t at = lowered.find(marker); at != std::wstring::npos;
                 at = lowered.find(marker, at + 1))
                ++markers;
        }

        ScriptedSink sink;
        sink.limit = markers + 1;
        int inserted = 0;
        ASSERT_NO_THROW(inserted = ImportReportPage(page, sink)) << "round " << round;
        ASSERT_GE(inserted, 0);
        ASSERT_LE(static_cast<std::size_t>(inserted), markers) << "round " << round;
        int items = 0;
        ASSERT_GE(ReadReportItemCount(page, items), 0);
    }
}

TEST(CaseRules, LatinGreekCyrillic) {
    EXPECT_EQ(ToUpperText(L"m\u00FCller \u00FF \u0142\u00F3d\u017A \u03C3\u03C2 \u0436"),
              L"M\u00DCLLER \u0178 \u0141\u00D3D\u0179 \u03A3\u03A3 \u0416");
    EXPECT_EQ(ToLowerText(L"M\u00DCLLER \u0178 \u0141\u00D3D\u0179 \u03A3 \u0416 \u00D7"),
              L"m\u00FCller \u00FF \u0142\u00F3d\u017A \u03C3 \u0436 \u00D7");
}

}  // namespace
}  // namespace qv
