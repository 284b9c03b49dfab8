// The simulator's parts without a server: configuration, calendar and rows.
#include <gtest/gtest.h>

#include <set>

#include "CivilDate.h"
#include "Pages.h"
#include "ReportReading.h"
#include "SimConfig.h"
#include "Transactions.h"

namespace qv::marketsim::test {
namespace {

TEST(SimConfig, ReadsAccountsAndDownload) {
    const SimConfig config = ParseConfig(
        "# comment\n"
        "[account Alice]\r\n"
        "password =  it's \"b>b\" # not a comment  \n"
        "transactions = 2500\n"
        "span = 2009-01-01..2009-03-07\n"
        "failure = slow\n"
        "failure-param = 3000\n"
        "[account bob]\n"
        "password = x\n"
        "days = 30\n"
        "[download]\n"
        "folder = packs\n"
        "packs = QVReader.zip, Corvane.zip\n",
        "/base");
    ASSERT_EQ(config.accounts.size(), 2u);
    const AccountConfig& alice = config.accounts[0];
    EXPECT_EQ(alice.nickname, "alice");
    EXPECT_EQ(alice.password, "it's \"b>b\" # not a comment");
    EXPECT_EQ(alice.transactions, 2500);
    EXPECT_FALSE(alice.spanRelative);
    EXPECT_EQ(alice.spanFirst, (CivilDate{2009, 1, 1}));
    EXPECT_EQ(alice.spanLast, (CivilDate{2009, 3, 7}));
    EXPECT_EQ(alice.failure, FailureMode::SlowReport);
    EXPECT_TRUE(config.accounts[1].spanRelative);
    EXPECT_EQ(config.accounts[1].spanDays, 30);
    EXPECT_EQ(config.download.folder, "/base/packs");
    EXPECT_EQ(config.download.packs, (std::vector<std::string>{"QVReader.zip", "Corvane.zip"}));
    EXPECT_NE(config.FindAccount("ALICE"), nullptr);
}

TEST(SimConfig, RefusesWhatItCannotServe) {
    struct Case {
        const char* text;
        const char* reason;
    };
    const Case cases[] = {
        {"[account al.ice]\npassword = x\n", "line 1"},
        {"[account a]\npassword = x\n[account A]\npassword = y\n", "named twice"},
        {"[account a]\ntransactions = 5\n", "no password"},
        {"[account a]\npassword = x\ntransactions = -1\n", "line 3"},
        {"[account a]\npassword = x\nspan = 2009-03-07..2009-01-01\n", "ends before"},
        {"[account a]\npassword = x\nspan = 2009-02-30..2009-03-01\n", "YYYY-MM-DD"},
        {"[account a]\npassword = x\nfailure = sometimes\n", "unknown failure"},
        {"[account a]\npassword = x\nfailure = slow\n", "milliseconds"},
        {"[account a]\npassword = x\nfailure = http-error\nfailure-param = 200\n", "status"},
        {"[account a]\npassword = x\ncolour = red\n", "unknown account key"},
        {"password = x\n", "outside a section"},
        {"[download]\npacks = ../evil.zip\n", "plain file names"},
    };
    for (const Case& c : cases) {
        try {
            ParseConfig(c.text, ".");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ConfigError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos)
                << c.text << " gave " << e.what();
        }
    }
}

TEST(CivilDate, PacificTodayFollowsDaylightSaving) {
    struct Case {
        std::time_t utc;
        CivilDate pacific;
    };
    const Case cases[] = {
        // 2009-03-07 20:00 UTC is noon PST.
        {1236456000, {2009, 3, 7}},
        // 2009-03-08 00:30 UTC is still the evening of the 7th in California.
        {1236472200, {2009, 3, 7}},
        // 2009-07-01 06:59 UTC is 23:59 PDT on 30 June; 07:00 is 1 July.
        {1246431540, {2009, 6, 30}},
        {1246431600, {2009, 7, 1}},
        // 2009-11-01 07:30 UTC: 00:30 PDT, still 1 November.
        {1257060600, {2009, 11, 1}},
        // Around the switches: 2009-03-08 07:30 UTC is 23:30 PST on the 7th (daylight
        // time starts at 10:00 UTC); 2009-11-02 07:30 UTC is 23:30 PST on the 1st.
        {1236497400, {2009, 3, 7}},
        {1257147000, {2009, 11, 1}},
        // 2009-12-31 07:59 UTC: 23:59 PST on the 30th.
        {1262246340, {2009, 12, 30}},
    };
    for (const Case& c : cases) EXPECT_EQ(PacificToday(c.utc), c.pacific) << c.utc;
}

TEST(Transactions, SameAccountSameRowsAndNoTwoAlikeForTheReader) {
    const auto a = GenerateTransactions("alice", 5000, {2009, 1, 1}, {2009, 1, 20});
    const auto b = GenerateTransactions("alice", 5000, {2009, 1, 1}, {2009, 1, 20});
    const auto c = GenerateTransactions("bob", 5000, {2009, 1, 1}, {2009, 1, 20});
    ASSERT_EQ(a.size(), 5000u);
    std::set<std::string> keys;
    bool differs = false;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(DuplicateKey(a[i]), DuplicateKey(b[i]));
        differs |= DuplicateKey(a[i]) != DuplicateKey(c[i]);
        keys.insert(DuplicateKey(a[i]));
        EXPECT_GE(a[i].date.DayNumber(), (CivilDate{2009, 1, 1}.DayNumber()));
        EXPECT_LE(a[i].date.DayNumber(), (CivilDate{2009, 1, 20}.DayNumber()));
    }
    EXPECT_TRUE(differs);
    EXPECT_EQ(keys.size(), a.size());
    EXPECT_EQ(a.front().date, (CivilDate{2009, 1, 20}));
    EXPECT_EQ(a.back().date, (CivilDate{2009, 1, 1}));
}

// The count sentence of every size reads back as its number, and the long
// form really stands past character 9000 even when written a little shorter.
TEST(Pages, CountSectionReadsBackForEverySize) {
    for (int total : {0, 1, 2, 999, 1000, 1001, 2500, 1234567}) {
        const int pages = (total + 999) / 1000;
        const std::string section =
            RenderCountSection(total, 1, pages, 1, std::min(total, 1000), {2009, 3, 7});
        const CountReading reading = ReadItemCount("<style>found items</style>" + section);
        EXPECT_EQ(reading.items, total) << section.substr(0, 200);
        EXPECT_EQ(reading.fromLongForm, total > 1000);
        if (total > 1000) {
            EXPECT_GE(section.find(" of all "), 9500u);
        }
    }
    EXPECT_EQ(WithThousands(1234567), "1,234,567");
    EXPECT_EQ(WithThousands(999), "999");
}

TEST(Pages, TextIsEscapedButTheNonBreakingSpaceStays) {
    Transaction t;
    t.email = "a\"b@example.com";
    t.lastName = "<b>Smith & Sons</b>";
    t.state = "&nbsp;";
    t.payment = "VISA";
    ReportView view;
    view.nickname = "x<y";
    view.rows = {&t};
    view.total = 1;
    const std::string html = RenderReportPage(view);
    EXPECT_NE(html.find("&lt;b&gt;Smith &amp; Sons&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(html.find("mailto:a&quot;b@example.com"), std::string::npos);
    EXPECT_NE(html.find("<td>&nbsp;</td>"), std::string::npos);
    EXPECT_EQ(html.find("x<y"), std::string::npos);
}

}  // namespace
}  // namespace qv::marketsim::test
