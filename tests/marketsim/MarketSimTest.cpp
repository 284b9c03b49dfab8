// The simulator in this process on loopback, fetched over real HTTPS with
// libcurl the way the reader's browser would fetch it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>

#include "CivilDate.h"
#include "CurlBrowser.h"
#include "MarketSim.h"
#include "ReportReading.h"
#include "SimConfig.h"

namespace qv::marketsim::test {
namespace {

const char kTestConfig[] = R"(# accounts of the simulator tests
[account zero]
password = zero
transactions = 0
span = 2009-01-01..2009-03-07

[account one]
password = one
transactions = 1
span = 2009-03-07..2009-03-07

[account thousand]
password = t
transactions = 1000
span = 2009-01-01..2009-03-07

[account thousand1]
password = t
transactions = 1001
span = 2009-01-01..2009-03-07

[account big]
password = big
transactions = 2500
span = 2008-12-07..2009-03-07

[account grow]
password = grow
transactions = 10
span = 2009-03-01..2009-03-07

[account quoted]
password = it's "b>b" & more
transactions = 3
span = 2009-03-01..2009-03-07

[account refused]
password = right
transactions = 3
failure = refuse-password

[account slow]
password = slow
transactions = 3
span = 2009-03-01..2009-03-07
failure = slow
failure-param = 1500

[account nodiv]
password = p
transactions = 20
span = 2009-03-01..2009-03-07
failure = no-divbody

[account noline]
password = p
transactions = 20
span = 2009-03-01..2009-03-07
failure = no-line

[account away]
password = p
transactions = 3
span = 2009-03-01..2009-03-07
failure = redirect-after-login

[account awayout]
password = p
transactions = 3
span = 2009-03-01..2009-03-07
failure = redirect-after-logout

[account dropper]
password = p
transactions = 300
span = 2009-03-01..2009-03-07
failure = drop-connection

[account broken]
password = p
transactions = 3
span = 2009-03-01..2009-03-07
failure = http-error
failure-param = 503
)";

const std::string kCaDir = MARKETSIM_TEST_CA_DIR;
const std::string kCaFile = kCaDir + "/ca.pem";

const char kTypes[] =
    "&type=SALE_ARRAY&type=BONUS_ARRAY&type=RFND_ARRAY&type=CHGBACK_ARRAY"
    "&type=BOUNCED_ARRAY&type=FEES_ARRAY&s=1";

class MarketSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(std::filesystem::exists(kCaDir + "/server.pem"))
            << "no test CA in " << kCaDir << ": make-test-ca.sh failed when CMake configured";
        s_packs = std::filesystem::temp_directory_path() /
                  ("marketsim-test-" + std::to_string(::getpid())) / "packs";
        std::filesystem::create_directories(s_packs);
        std::ofstream(s_packs / "QVReader.zip", std::ios::binary) << std::string("PK\3\4\0\xff", 6);
        std::ofstream(s_packs / "Corvane.zip", std::ios::binary) << "corvane pack";
        std::ofstream(s_packs.parent_path() / "outside.txt") << "must not be served";

        SimOptions options;
        options.certDir = kCaDir;
        options.packFolder = s_packs.string();
        s_sim = std::make_unique<MarketSim>(ParseConfig(kTestConfig, "."), options);
        s_sim->Start();
    }

    static void TearDownTestSuite() {
        s_sim.reset();
        std::filesystem::remove_all(s_packs.parent_path());
    }

    static std::string Main() { return s_sim->MainOrigin(); }
    static std::string SignInAddress() { return Main() + "/login.htm"; }
    static std::string FailureAddress() { return Main() + "/login.htm?error=true"; }

    // The first report page and the base of the others, as the reader writes them.
    static std::string FormA(const std::string& nick, const std::string& start,
                             const std::string& end) {
        return s_sim->VendorOrigin(nick) +
               "/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageNum=1&pageSize="
               "1000&startDate=" +
               start + "&endDate=" + end + kTypes;
    }
    static std::string FormB(const std::string& nick, const std::string& start,
                             const std::string& end, int page) {
        return s_sim->VendorOrigin(nick) +
               "/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageSize=1000"
               "&startDate=" +
               start + "&endDate=" + end + kTypes + "&pageNum=" + std::to_string(page);
    }

    // Asks for the report, meets the sign-in page, signs in; returns the
    // page the browser ends on.
    static Fetch SignIn(CurlBrowser& browser, const std::string& nick, const std::string& pass,
                        const std::string& report) {
        const Fetch first = browser.Get(report);
        EXPECT_EQ(first.code, CURLE_OK) << first.error;
        EXPECT_EQ(first.finalUrl, SignInAddress());
        return browser.Post(Main() + "/login.do", {{"nick", nick}, {"pass", pass}});
    }

    static CountReading Count(const Fetch& page) {
        const auto divbody = ElementInnerHtml(page.body, "divbody");
        EXPECT_TRUE(divbody.has_value()) << "no divbody in " << page.finalUrl;
        return divbody ? ReadItemCount(*divbody) : CountReading{};
    }

    static std::vector<RowReading> Rows(const Fetch& page) {
        const auto line = ElementInnerHtml(page.body, "line");
        EXPECT_TRUE(line.has_value()) << "no line in " << page.finalUrl;
        return line ? ReadRows(*line) : std::vector<RowReading>{};
    }

    static std::unique_ptr<MarketSim> s_sim;
    static std::filesystem::path s_packs;
};

std::unique_ptr<MarketSim> MarketSimTest::s_sim;
std::filesystem::path MarketSimTest::s_packs;

// Row fields by position in RowReading::cells.
enum Cell {
    kDate,
    kTime,
    kReceipt,
    kTid,
    kPmt,
    kCurrency,
    kType,
    kItem,
    kAmount,
    kVendor,
    kAffiliate,
    kCc,
    kState,
    kLastName,
    kFirstName
};

std::string Key(const RowReading& row) {
    return row.cells[kDate] + "|" + row.cells[kTime] + "|" + row.cells[kReceipt] + "|" +
           row.cells[kType] + "|" + row.cells[kItem] + "|" + row.email;
}

struct CountCase {
    const char* nick;
    const char* pass;
    int items;
    const char* countText;  // the text the reader takes the number from
    bool longForm;
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << c.nick;
}

class ReportSizes : public MarketSimTest, public ::testing::WithParamInterface<CountCase> {};

// Every size reads back with the right count, page count and rows per page;
// the pages together list every row once, newest first.
TEST_P(ReportSizes, CountPagesAndRowsReadBack) {
    const CountCase& c = GetParam();
    CurlBrowser browser(kCaFile);
    const std::string start = "2008-12-07", end = "2009-03-07";
    const Fetch first = SignIn(browser, c.nick, c.pass, FormA(c.nick, start, end));
    ASSERT_EQ(first.code, CURLE_OK) << first.error;
    ASSERT_EQ(first.finalUrl, FormA(c.nick, start, end));

    const CountReading count = Count(first);
    EXPECT_EQ(count.items, c.items);
    EXPECT_EQ(count.countText, c.countText);
    EXPECT_EQ(count.fromLongForm, c.longForm);
    const int pages = (c.items + 999) / 1000;
    EXPECT_EQ(count.pages, pages);

    std::set<std::string> keys;
    std::string previous = "9999-99-99|99:99:99";
    for (int page = pages; page >= 1; --page) {
        const std::string address = FormB(c.nick, start, end, page);
        const Fetch fetched = browser.Get(address);
        ASSERT_EQ(fetched.code, CURLE_OK) << fetched.error;
        ASSERT_EQ(fetched.finalUrl, address);
        EXPECT_EQ(Count(fetched).items, c.items) << "page " << page;
        const auto rows = Rows(fetched);
        EXPECT_EQ(static_cast<int>(rows.size()), std::min(1000, c.items - (page - 1) * 1000))
            << "page " << page;
        for (const RowReading& row : rows) keys.insert(Key(row));
        // Newest first within the page.
        for (size_t i = 1; i < rows.size(); ++i)
            EXPECT_GE(rows[i - 1].cells[kDate] + rows[i - 1].cells[kTime],
                      rows[i].cells[kDate] + rows[i].cells[kTime]);
        if (!rows.empty() && page < pages) {
            EXPECT_GE(rows.back().cells[kDate] + "|" + rows.back().cells[kTime], previous);
        }
        if (!rows.empty()) previous = rows.front().cells[kDate] + "|" + rows.front().cells[kTime];
    }
    // Rows the reader would take for one another would be imported once.
    EXPECT_EQ(static_cast<int>(keys.size()), c.items);

    // A page past the last lists nothing but still states the count.
    const Fetch beyond = browser.Get(FormB(c.nick, start, end, pages + 1));
    EXPECT_EQ(Count(beyond).items, c.items);
    EXPECT_TRUE(Rows(beyond).empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReportSizes,
                         ::testing::Values(CountCase{"zero", "zero", 0, "no", false},
                                           CountCase{"one", "one", 1, "1", false},
                                           CountCase{"thousand", "t", 1000, "1000", false},
                                           CountCase{"thousand1", "t", 1001, "1001", true},
                                           CountCase{"big", "big", 2500, "2500", true}),
                         [](const auto& info) { return std::string(info.param.nick); });

// The rows hold what real reports hold, and the reader's cell order lines up
// with the markup whatever number of family-link cells a row carries.
TEST_F(MarketSimTest, RowsHoldWhatRealReportsHold) {
    CurlBrowser browser(kCaFile);
    const std::string start = "2008-12-07", end = "2009-03-07";
    ASSERT_EQ(SignIn(browser, "big", "big", FormA("big", start, end)).code, CURLE_OK);
    std::vector<RowReading> all;
    for (int page = 1; page <= 3; ++page) {
        const Fetch fetched = browser.Get(FormB("big", start, end, page));
        EXPECT_NE(fetched.contentType.find("charset=utf-8"), std::string::npos)
            << fetched.contentType;
        const auto rows = Rows(fetched);
        all.insert(all.end(), rows.begin(), rows.end());
    }
    ASSERT_EQ(all.size(), 2500u);

    std::map<int, int> familyCells;
    std::map<std::string, std::set<std::string>> typesByReceipt;
    bool noReceipt = false, noEmail = false, nbsp = false, accented = false, apostrophe = false,
         doubleQuote = false, upperAndLowerCodes = false;
    for (const RowReading& row : all) {
        ASSERT_EQ(row.cells.size(), 15u);
        // Cells in their places: a slip by one cell shows in these at once.
        EXPECT_TRUE(CivilDate::Parse(row.cells[kDate])) << row.cells[kDate];
        EXPECT_EQ(row.cells[kTime].size(), 8u) << row.cells[kTime];
        EXPECT_EQ(row.cells[kCurrency].size(), 3u) << row.cells[kCurrency];
        EXPECT_EQ(row.cells[kVendor], "big");
        EXPECT_NE(row.cells[kAmount].find_first_of("$\xc2\xa3\xe2\x82\xac"), std::string::npos)
            << "amount without currency: " << row.cells[kAmount];
        EXPECT_EQ(row.email.find('<'), std::string::npos) << row.email;
        ++familyCells[row.familyLinkCells];
        typesByReceipt[row.cells[kReceipt]].insert(row.cells[kType]);
        noReceipt |= row.cells[kReceipt].empty();
        noEmail |= row.email.empty();
        nbsp |= row.cells[kAffiliate] == "&nbsp;" || row.cells[kState] == "&nbsp;";
        const std::string names = row.cells[kLastName] + row.cells[kFirstName];
        accented |= std::any_of(names.begin(), names.end(),
                                [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
        apostrophe |= names.find('\'') != std::string::npos;
        doubleQuote |= names.find('"') != std::string::npos;
    }
    // The codes' case is only visible before the reader lowers the page.
    // Transaction ids are "T" and eleven code characters; among them some
    // mix upper- and lower-case letters in the code itself.
    const Fetch raw = browser.Get(FormB("big", start, end, 1));
    const std::regex transactionId(R"(>T([A-Za-z0-9]{11})<)");
    for (auto id = std::sregex_iterator(raw.body.begin(), raw.body.end(), transactionId);
         id != std::sregex_iterator() && !upperAndLowerCodes; ++id) {
        const std::string code = (*id)[1];
        upperAndLowerCodes = std::any_of(code.begin(), code.end(), ::isupper) &&
                             std::any_of(code.begin(), code.end(), ::islower);
    }
    EXPECT_GT(familyCells[0], 0);
    EXPECT_GT(familyCells[1], 0);
    EXPECT_GT(familyCells[2], 0);
    EXPECT_TRUE(noReceipt);
    EXPECT_TRUE(noEmail);
    EXPECT_TRUE(nbsp);
    EXPECT_TRUE(accented);
    EXPECT_TRUE(apostrophe);
    EXPECT_TRUE(doubleQuote);
    EXPECT_TRUE(upperAndLowerCodes);
    // A refund shares its sale's receipt.
    EXPECT_TRUE(std::any_of(typesByReceipt.begin(), typesByReceipt.end(), [](const auto& entry) {
        return !entry.first.empty() && entry.second.count("sale") && entry.second.count("refund");
    }));
}

TEST_F(MarketSimTest, SignInPageHoldsARealPostForm) {
    CurlBrowser browser(kCaFile);
    const Fetch page = browser.Get(SignInAddress());
    ASSERT_EQ(page.code, CURLE_OK) << page.error;
    EXPECT_EQ(page.status, 200);
    const auto form = ElementInnerHtml(page.body, "loginForm");
    ASSERT_TRUE(form.has_value());
    EXPECT_NE(page.body.find("method=\"post\""), std::string::npos);
    for (const char* id : {"id=\"nick\"", "id=\"pass\"", "id=\"login\""})
        EXPECT_NE(form->find(id), std::string::npos) << id;
    EXPECT_NE(form->find("type=\"submit\""), std::string::npos);
}

struct SignInCase {
    const char* name;
    const char* nick;
    const char* pass;
    bool good;
};

void PrintTo(const SignInCase& c, std::ostream* out) {
    *out << c.name;
}

class SignInOutcomes : public MarketSimTest, public ::testing::WithParamInterface<SignInCase> {};

TEST_P(SignInOutcomes, EndOnTheReportOrOnTheFailureAddress) {
    const SignInCase& c = GetParam();
    CurlBrowser browser(kCaFile);
    const std::string report = FormA(c.nick, "2009-03-01", "2009-03-07");
    const Fetch after = SignIn(browser, c.nick, c.pass, report);
    ASSERT_EQ(after.code, CURLE_OK) << after.error;
    EXPECT_EQ(after.finalUrl, c.good ? report : FailureAddress());
    EXPECT_EQ(after.status, 200);
}

INSTANTIATE_TEST_SUITE_P(Cases, SignInOutcomes,
                         ::testing::Values(SignInCase{"Good", "grow", "grow", true},
                                           SignInCase{"NicknameInUpperCase", "GROW", "grow", true},
                                           SignInCase{"QuoteSpaceAndAngle", "quoted",
                                                      "it's \"b>b\" & more", true},
                                           SignInCase{"WrongPassword", "grow", "Grow", false},
                                           SignInCase{"EmptyPassword", "grow", "", false},
                                           SignInCase{"UnknownNickname", "nobody", "grow", false},
                                           SignInCase{"RefusedAccount", "refused", "right", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Browsers write a blank in a form as '+'.
TEST_F(MarketSimTest, FormEncodedWithPlusForBlankSignsIn) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("quoted", "2009-03-01", "2009-03-07");
    ASSERT_EQ(browser.Get(report).finalUrl, SignInAddress());
    const Fetch after =
        browser.PostRaw(Main() + "/login.do", "nick=quoted&pass=it%27s+%22b%3Eb%22+%26+more");
    EXPECT_EQ(after.finalUrl, report);
}

// The report is asked for with other dates or another page than before: the
// browser still ends on the address it asked for last.
TEST_F(MarketSimTest, SignInReturnsToTheLastAddressAskedFor) {
    CurlBrowser browser(kCaFile);
    ASSERT_EQ(browser.Get(FormA("grow", "2009-01-01", "2009-03-07")).finalUrl, SignInAddress());
    const std::string second = FormB("grow", "2009-03-02", "2009-03-06", 1);
    ASSERT_EQ(browser.Get(second).finalUrl, SignInAddress());
    EXPECT_EQ(browser.Post(Main() + "/login.do", {{"nick", "grow"}, {"pass", "grow"}}).finalUrl,
              second);
}

TEST_F(MarketSimTest, SessionCookieIsHostOnlyAndForOneAccount) {
    CurlBrowser browser(kCaFile);
    ASSERT_EQ(SignIn(browser, "one", "one", FormA("one", "2009-03-07", "2009-03-07")).finalUrl,
              FormA("one", "2009-03-07", "2009-03-07"));
    bool found = false;
    for (const std::string& line : browser.Cookies()) {
        if (line.find("\tvsession\t") == std::string::npos) continue;
        found = true;
        // Netscape format: domain, include-subdomains flag, ...
        EXPECT_EQ(line.rfind("#HttpOnly_one.vendors.localhost\tFALSE\t", 0), 0u) << line;
    }
    EXPECT_TRUE(found);
    // Signed in to "one" is not signed in to "big".
    EXPECT_EQ(browser.Get(FormA("big", "2009-03-07", "2009-03-07")).finalUrl, SignInAddress());
}

TEST_F(MarketSimTest, SignOutLeadsToTheSignInPageAndEndsTheSession) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("grow", "2009-03-01", "2009-03-07");
    ASSERT_EQ(SignIn(browser, "grow", "grow", report).finalUrl, report);
    ASSERT_EQ(browser.Get(report).finalUrl, report);
    const Fetch out = browser.Get(s_sim->VendorOrigin("grow") + "/account/logout");
    EXPECT_EQ(out.finalUrl, SignInAddress());
    EXPECT_EQ(out.status, 200);
    EXPECT_EQ(browser.Get(report).finalUrl, SignInAddress());
}

TEST_F(MarketSimTest, OnlyRowsDatedInTheRangeAreListed) {
    CurlBrowser browser(kCaFile);
    ASSERT_EQ(SignIn(browser, "big", "big", FormA("big", "2008-12-07", "2009-03-07")).code,
              CURLE_OK);
    struct Range {
        const char* start;
        const char* end;
    };
    const Range halves[] = {{"2008-12-07", "2009-01-15"}, {"2009-01-16", "2009-03-07"}};
    int sum = 0;
    for (const Range& range : halves) {
        const Fetch page = browser.Get(FormA("big", range.start, range.end));
        const int items = Count(page).items;
        EXPECT_GT(items, 0);
        EXPECT_LT(items, 2500);
        sum += items;
        for (const RowReading& row : Rows(page)) {
            EXPECT_GE(row.cells[kDate], range.start);
            EXPECT_LE(row.cells[kDate], range.end);
        }
    }
    EXPECT_EQ(sum, 2500);

    const Fetch day = browser.Get(FormA("big", "2009-02-01", "2009-02-01"));
    const auto dayRows = Rows(day);
    EXPECT_EQ(static_cast<int>(dayRows.size()), Count(day).items);
    for (const RowReading& row : dayRows) EXPECT_EQ(row.cells[kDate], "2009-02-01");
    EXPECT_EQ(Count(browser.Get(FormA("big", "2009-03-08", "2009-12-31"))).items, 0);
    EXPECT_EQ(Count(browser.Get(FormA("big", "2009-03-07", "2008-12-07"))).items, 0);
}

TEST_F(MarketSimTest, ReportListsOnlyTheTypesAskedFor) {
    CurlBrowser browser(kCaFile);
    ASSERT_EQ(SignIn(browser, "big", "big", FormA("big", "2008-12-07", "2009-03-07")).code,
              CURLE_OK);
    const std::string onlyRefunds =
        s_sim->VendorOrigin("big") +
        "/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageNum=1&pageSize=1000"
        "&startDate=2008-12-07&endDate=2009-03-07&type=RFND_ARRAY&s=1";
    const Fetch page = browser.Get(onlyRefunds);
    const auto rows = Rows(page);
    EXPECT_GT(rows.size(), 0u);
    EXPECT_EQ(static_cast<int>(rows.size()), Count(page).items);
    for (const RowReading& row : rows) EXPECT_EQ(row.cells[kType], "refund");
}

TEST_F(MarketSimTest, MalformedReportQueriesAreRefused) {
    CurlBrowser browser(kCaFile);
    ASSERT_EQ(SignIn(browser, "grow", "grow", FormA("grow", "2009-03-01", "2009-03-07")).code,
              CURLE_OK);
    for (const std::string& bad :
         {FormA("grow", "2009-3-1", "2009-03-07"), FormA("grow", "-1--1--1", "2009-03-07"),
          FormA("grow", "2009-02-30", "2009-03-07"),
          FormB("grow", "2009-03-01", "2009-03-07", 0)}) {
        EXPECT_EQ(browser.Get(bad).status, 400) << bad;
    }
}

TEST_F(MarketSimTest, AddedTransactionsShowInTheNextReport) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("grow", "2009-03-07", "2009-03-07");
    ASSERT_EQ(SignIn(browser, "grow", "grow", report).finalUrl, report);
    const Fetch before = browser.Get(report);
    std::set<std::string> keysBefore;
    for (const RowReading& row : Rows(before)) keysBefore.insert(Key(row));

    const Fetch added = browser.PostRaw(Main() + "/_sim/add", "nick=grow&count=3&date=2009-03-07");
    ASSERT_EQ(added.status, 200) << added.body;
    EXPECT_EQ(added.body, "grow " + std::to_string(s_sim->TransactionCount("grow")) + "\n");

    const Fetch after = browser.Get(report);
    EXPECT_EQ(Count(after).items, Count(before).items + 3);
    int fresh = 0;
    for (const RowReading& row : Rows(after)) fresh += keysBefore.count(Key(row)) ? 0 : 1;
    EXPECT_EQ(fresh, 3);

    EXPECT_EQ(browser.PostRaw(Main() + "/_sim/add", "nick=nobody&count=3").status, 404);
    EXPECT_EQ(browser.PostRaw(Main() + "/_sim/add", "nick=grow&count=x").status, 400);
    EXPECT_EQ(browser.PostRaw(Main() + "/_sim/add", "nick=grow&count=1&date=07.03.2009").status,
              400);
}

// Rows armed to arrive during a check come just before the chosen report
// request is answered, not before; sign-outs are counted per account.
TEST_F(MarketSimTest, RowsArmedForALaterRequestArriveThenAndSignOutsAreCounted) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("grow", "2009-03-07", "2009-03-07");
    ASSERT_EQ(SignIn(browser, "grow", "grow", report).finalUrl, report);
    const int items = Count(browser.Get(report)).items;
    const Fetch armed =
        browser.PostRaw(Main() + "/_sim/add-during", "nick=grow&count=4&request=2&date=2009-03-07");
    ASSERT_EQ(armed.status, 200) << armed.body;
    EXPECT_EQ(Count(browser.Get(report)).items, items);
    EXPECT_EQ(Count(browser.Get(report)).items, items + 4);
    EXPECT_EQ(Count(browser.Get(report)).items, items + 4);

    for (const char* bad : {"nick=nobody&count=1&request=1", "nick=grow&count=0&request=1",
                            "nick=grow&count=1&request=0", "nick=grow&count=1"}) {
        EXPECT_NE(browser.PostRaw(Main() + "/_sim/add-during", bad).status, 200) << bad;
    }

    auto signOuts = [&] {
        const Fetch listed = browser.Get(Main() + "/_sim/signouts");
        const auto at = listed.body.find("grow ");
        return at == std::string::npos ? -1 : std::stoi(listed.body.substr(at + 5));
    };
    const int before = signOuts();
    ASSERT_GE(before, 0);
    browser.Get(s_sim->VendorOrigin("grow") + "/account/logout");
    EXPECT_EQ(signOuts(), before + 1);
}

TEST_F(MarketSimTest, SlowReportTakesAtLeastItsDelay) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("slow", "2009-03-01", "2009-03-07");
    const Fetch signInPage = browser.Get(report);
    EXPECT_LT(signInPage.seconds, 1.0);
    const Fetch after = browser.Post(Main() + "/login.do", {{"nick", "slow"}, {"pass", "slow"}});
    EXPECT_EQ(after.finalUrl, report);
    EXPECT_GE(after.seconds, 1.5);
    EXPECT_EQ(Count(after).items, 3);
}

TEST_F(MarketSimTest, ReportWithoutCountElement) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("nodiv", "2009-03-01", "2009-03-07");
    const Fetch page = SignIn(browser, "nodiv", "p", report);
    EXPECT_EQ(page.finalUrl, report);
    EXPECT_EQ(page.body.find("divbody"), std::string::npos);
    EXPECT_EQ(Rows(page).size(), 20u);
}

TEST_F(MarketSimTest, ReportWithoutTable) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("noline", "2009-03-01", "2009-03-07");
    const Fetch page = SignIn(browser, "noline", "p", report);
    EXPECT_EQ(page.finalUrl, report);
    EXPECT_EQ(Count(page).items, 20);
    EXPECT_FALSE(ElementInnerHtml(page.body, "line").has_value());
    EXPECT_EQ(page.body.find("<center"), std::string::npos);
}

TEST_F(MarketSimTest, RedirectElsewhereAfterSignIn) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("away", "2009-03-01", "2009-03-07");
    const Fetch page = SignIn(browser, "away", "p", report);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.finalUrl, s_sim->VendorOrigin("away") + "/account/home.htm");
    // Signed in all the same: the report itself loads.
    EXPECT_EQ(browser.Get(report).finalUrl, report);
}

TEST_F(MarketSimTest, RedirectElsewhereAfterSignOut) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("awayout", "2009-03-01", "2009-03-07");
    ASSERT_EQ(SignIn(browser, "awayout", "p", report).finalUrl, report);
    const Fetch out = browser.Get(s_sim->VendorOrigin("awayout") + "/account/logout");
    EXPECT_EQ(out.status, 200);
    EXPECT_EQ(out.finalUrl, Main() + "/goodbye.htm");
    EXPECT_EQ(browser.Get(report).finalUrl, SignInAddress());
}

TEST_F(MarketSimTest, DroppedConnectionBreaksOffTheReport) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("dropper", "2009-03-01", "2009-03-07");
    const Fetch page = SignIn(browser, "dropper", "p", report);
    EXPECT_EQ(page.code, CURLE_PARTIAL_FILE) << page.error;
    EXPECT_GT(page.body.size(), 0u);
    EXPECT_EQ(page.body.find("</html>"), std::string::npos);
    // The sign-in page itself is served normally.
    EXPECT_EQ(browser.Get(SignInAddress()).code, CURLE_OK);
}

TEST_F(MarketSimTest, HttpErrorStatusOnTheReport) {
    CurlBrowser browser(kCaFile);
    const std::string report = FormA("broken", "2009-03-01", "2009-03-07");
    const Fetch page = SignIn(browser, "broken", "p", report);
    EXPECT_EQ(page.code, CURLE_OK);
    EXPECT_EQ(page.finalUrl, report);
    EXPECT_EQ(page.status, 503);
    EXPECT_EQ(page.body.find("divbody"), std::string::npos);
}

TEST_F(MarketSimTest, ServesOnIpv6AndIpv4Loopback) {
    CurlBrowser browser(kCaFile);
    for (long family : {CURL_IPRESOLVE_V6, CURL_IPRESOLVE_V4}) {
        const Fetch page = browser.Get(SignInAddress(), family);
        EXPECT_EQ(page.code, CURLE_OK) << page.error;
        EXPECT_EQ(page.status, 200);
        const Fetch download = browser.Get(s_sim->DownloadOrigin() + "/", family);
        EXPECT_EQ(download.code, CURLE_OK) << download.error;
        EXPECT_EQ(download.status, 200);
    }
}

TEST_F(MarketSimTest, UnknownHostsAndPagesAreNotFound) {
    CurlBrowser browser(kCaFile);
    EXPECT_EQ(browser.Get(Main() + "/no-such-page.htm").status, 404);
    EXPECT_EQ(browser.Get(s_sim->VendorOrigin("nobody") + "/account/other.htm").status, 404);
    const Fetch elsewhere =
        browser.Get("https://localhost:" + std::to_string(s_sim->HttpsPort()) + "/login.htm",
                    CURL_IPRESOLVE_WHATEVER, {"Host: elsewhere.example"});
    EXPECT_EQ(elsewhere.code, CURLE_OK) << elsewhere.error;
    EXPECT_EQ(elsewhere.status, 404);
}

TEST_F(MarketSimTest, ClientConfigurationNamesThisSimulator) {
    const std::string port = std::to_string(s_sim->HttpsPort());
    const std::string expected =
        "[Marketplace]\nMainHost=market.localhost:" + port +
        "\nVendorDomain=vendors.localhost:" + port +
        "\n[Download]\nSite=http://market.localhost:" + std::to_string(s_sim->HttpPort()) +
        "\n[Trust]\nExtraCA=" + std::filesystem::absolute(kCaFile).lexically_normal().string() +
        "\n";
    EXPECT_EQ(s_sim->ClientConfigText(), expected);
}

TEST_F(MarketSimTest, DownloadSiteServesTheDescriptionAndThePacks) {
    CurlBrowser browser(kCaFile);
    const std::string site = s_sim->DownloadOrigin();
    const Fetch description = browser.Get(site + "/download/update.ini");
    ASSERT_EQ(description.status, 200);
    EXPECT_EQ(description.body,
              "[Program]\r\nVersion=1.0.0.0\r\nAppName=QVReader\r\nWebsite=" + site +
                  "/\r\n[Update]\r\nPackNumber=2\r\nPack1=" + site +
                  "/download/Corvane.zip\r\nPack2=" + site + "/download/QVReader.zip\r\n");
    const Fetch pack = browser.Get(site + "/download/QVReader.zip");
    EXPECT_EQ(pack.status, 200);
    EXPECT_EQ(pack.body, std::string("PK\3\4\0\xff", 6));
    EXPECT_EQ(pack.contentType, "application/zip");
    EXPECT_EQ(browser.Get(site + "/").status, 200);
    EXPECT_EQ(browser.Get(site + "/download/Missing.zip").status, 404);
    // Nothing outside the pack folder.
    for (const char* climb : {"/download/..%2Foutside.txt", "/download/%2E%2E/outside.txt",
                              "/download/../outside.txt", "/download/.%2e%2foutside.txt"}) {
        const Fetch escaped = browser.Get(site + climb);
        EXPECT_EQ(escaped.body.find("must not be served"), std::string::npos) << climb;
        EXPECT_NE(escaped.status, 200) << climb;
    }
}

}  // namespace
}  // namespace qv::marketsim::test
