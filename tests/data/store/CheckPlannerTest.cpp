#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BuiltInPacificZone.h"
#include "CheckPlanner.h"
#include "PortFakes.h"
#include "StoreFixture.h"
#include "TextConvert.h"

namespace qv::test {
namespace {

constexpr wchar_t kTypes[] =
    L"&type=SALE_ARRAY&type=BONUS_ARRAY&type=RFND_ARRAY&type=CHGBACK_ARRAY&type=BOUNCED_ARRAY"
    L"&type=FEES_ARRAY&s=1";

TEST(ReportAddresses, ExactForms) {
    NetworkConfig config;
    config.vendorDomain = L"vendors.example:9443";
    const PlanDate start{2008, 12, 7}, end{2009, 3, 7};
    EXPECT_EQ(ReportPageAddress(config, L"alice", start, end),
              std::wstring(L"https://alice.vendors.example:9443/account/showTransactions.htm"
                           L"?type=VENDOR_SEARCH&form=dates&pageNum=1&pageSize=1000"
                           L"&startDate=2008-12-07&endDate=2009-03-07") +
                  kTypes);
    EXPECT_EQ(ReportPagingAddress(config, L"alice", start, end),
              std::wstring(L"https://alice.vendors.example:9443/account/showTransactions.htm"
                           L"?type=VENDOR_SEARCH&form=dates&pageSize=1000"
                           L"&startDate=2008-12-07&endDate=2009-03-07") +
                  kTypes + L"&pageNum=");
    EXPECT_EQ(SignOutAddress(config, L"alice"),
              L"https://alice.vendors.example:9443/account/logout");
    // Parts the stored date did not give are written as printf's %02d would.
    EXPECT_NE(ReportPageAddress(config, L"bob", {-1, -1, -1}, end)
                  .find(L"&startDate=-1--1--1&endDate=2009-03-07"),
              std::wstring::npos);
}

class CheckPlannerTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        zone_.rules = BuiltInPacificZone().ReadPacificZone();
        ASSERT_TRUE(zone_.rules.has_value());
        // The machine's own zone must not matter: put it far from California.
        clock_.localOffsetSeconds = 9 * 3600;
    }

    CMyObject& Account(const std::wstring& nick, const std::wstring& file = kGroupFile,
                       const std::wstring& password = kGroupPassword) {
        CMyObject& a = accounts_.emplace_back();
        a.m_nKind = kAccountNode;
        a.m_strNickname = nick;
        a.m_strDbFile = file;
        a.m_strDbPassword = password;
        a.m_bAwaitingReport = a.m_bPageInFlight = a.m_bSigningOut = 1;
        a.m_nPagesLeft = a.m_nNewItems = 7;
        a.m_strReportUrl = a.m_strPagingUrl = L"left over";
        return a;
    }

    std::vector<AccountPlan> Plan(std::vector<CMyObject*> list) {
        CheckPlanner planner(zone_, clock_, NetworkConfig{}, programFolder_);
        EXPECT_TRUE(planner.UpdatePacificNow(true));
        return planner.BuildReportAddresses(list);
    }

    void Store(const std::wstring& nick, const wchar_t* date) {
        auto db = Open();
        TransactionRecord r = SampleRecord();
        r.Set(RecordField::Date, date);
        ASSERT_TRUE(StoreIfNew(*db, nick, r));
    }

    FakeZoneSource zone_;
    FakeClock clock_;
    std::deque<CMyObject> accounts_;
};

std::wstring DatesOf(const std::wstring& url) {
    const auto at = url.find(L"&startDate=");
    if (at == std::wstring::npos) return L"";
    return url.substr(at, url.find(L"&type=SALE_ARRAY") - at);
}

// (UTC now, newest stored date or none) -> the dates both report forms ask for.
TEST_F(CheckPlannerTest, DateRange) {
    struct Case {
        const char* what;
        CivilTime utcNow;
        const wchar_t* stored;
        const wchar_t* dates;
    };
    const Case cases[] = {
        {"empty table, noon 7 March 2009 Pacific", MakeCivilTime(2009, 3, 7, 20, 0), nullptr,
         L"&startDate=2008-12-07&endDate=2009-03-07"},
        {"newest row 5 March 2009", MakeCivilTime(2009, 3, 7, 20, 0), L"03/05/2009",
         L"&startDate=2009-03-05&endDate=2009-03-07"},
        {"just after midnight UTC, still evening in California", MakeCivilTime(2009, 3, 8, 0, 30),
         L"03/05/2009", L"&startDate=2009-03-05&endDate=2009-03-07"},
        {"summer time: 06:30 UTC is 23:30 PDT the day before", MakeCivilTime(2009, 7, 4, 6, 30),
         nullptr, L"&startDate=2009-04-04&endDate=2009-07-03"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        MakeDatabase({L"alice"});
        if (c.stored) Store(L"alice", c.stored);
        clock_.utcNow = c.utcNow;
        CMyObject& alice = Account(L"alice");
        const auto plans = Plan({&alice});
        ASSERT_EQ(plans.size(), 1u) << c.what;
        EXPECT_EQ(plans[0].outcome, AccountPlan::Outcome::Planned) << c.what;
        EXPECT_EQ(DatesOf(alice.m_strReportUrl), c.dates) << c.what;
        EXPECT_EQ(DatesOf(alice.m_strPagingUrl), c.dates) << c.what;
    }
}

// Rows the database holds as the store would never write them (a damaged
// file, another program): dated in the future, or with a Date that is no day.
// The report starts at the newest real day up to today, else 90 days back.
TEST_F(CheckPlannerTest, StartsAtTheNewestRealDayNotAfterToday) {
    struct Case {
        const char* what;
        std::vector<const wchar_t*> stored;  // through the store
        std::vector<const char*> raw;        // Date values written past it
        const wchar_t* dates;
    };
    const Case cases[] = {
        {"a future row beside a real one",
         {L"03/09/2010", L"03/05/2009"},
         {},
         L"&startDate=2009-03-05&endDate=2009-03-07"},
        {"only a future row", {L"12/25/2009"}, {}, L"&startDate=2008-12-07&endDate=2009-03-07"},
        {"text that is no date beside a real one",
         {L"03/01/2009"},
         {"garbage", "-1--1--1"},
         L"&startDate=2009-03-01&endDate=2009-03-07"},
        {"a date that does not exist",
         {},
         {"2009-02-30 00:00:00"},
         L"&startDate=2008-12-07&endDate=2009-03-07"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        MakeDatabase({L"alice"});
        for (const wchar_t* date : c.stored) Store(L"alice", date);
        const std::string file = (folder_ / "data" / WideToUtf8(kGroupFile)).string();
        for (const char* date : c.raw) {
            const std::string command = "sqlite3 '" + file +
                                        "' \"INSERT INTO alice (Date, Time) VALUES ('" + date +
                                        "', '1899-12-30 10:00:00')\"";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
        }
        clock_.utcNow = MakeCivilTime(2009, 3, 7, 20, 0);
        CMyObject& alice = Account(L"alice");
        const auto plans = Plan({&alice});
        ASSERT_EQ(plans.size(), 1u) << c.what;
        EXPECT_EQ(plans[0].outcome, AccountPlan::Outcome::Planned) << c.what;
        EXPECT_EQ(DatesOf(alice.m_strReportUrl), c.dates) << c.what;
    }
}

// A nickname goes into the vendor host's name; one that is no host label
// would send the password elsewhere, so the account gets no address at all.
TEST_F(CheckPlannerTest, NicknameThatIsNoHostLabelGetsNoAddress) {
    MakeDatabase({L"alice"});
    clock_.utcNow = MakeCivilTime(2009, 3, 7, 20, 0);
    for (const wchar_t* nick : {L"evil@alice", L"a.b", L"-lead", L"x y", L"\u00e9t\u00e9", L""}) {
        CMyObject& bad = Account(nick);
        CMyObject& alice = Account(L"alice");
        const auto plans = Plan({&bad, &alice});
        ASSERT_EQ(plans.size(), 2u);
        EXPECT_EQ(plans[0].outcome, AccountPlan::Outcome::BadNickname) << WideToUtf8(nick);
        EXPECT_EQ(plans[0].errorText,
                  L"The nickname \"" + std::wstring(nick) +
                      L"\" cannot name a vendor account host (only letters, digits and hyphens "
                      L"can); the account is skipped.");
        EXPECT_TRUE(bad.m_strReportUrl.empty());
        EXPECT_TRUE(bad.m_strLogoutUrl.empty());
        EXPECT_EQ(plans[1].outcome, AccountPlan::Outcome::Planned);
    }
    for (const wchar_t* nick : {L"alice", L"Shop-2", L"a", L"x1-y2"})
        EXPECT_TRUE(IsHostLabel(nick));
    EXPECT_FALSE(IsHostLabel(std::wstring(64, L'a')));
}

TEST_F(CheckPlannerTest, WritesAllThreeAddressesAndClearsTheSession) {
    MakeDatabase({L"alice"});
    clock_.utcNow = MakeCivilTime(2009, 3, 7, 20, 0);
    CMyObject& alice = Account(L"alice");
    Plan({&alice});
    EXPECT_EQ(alice.m_strReportUrl,
              std::wstring(L"https://alice.vendors.localhost:8443/account/showTransactions.htm"
                           L"?type=VENDOR_SEARCH&form=dates&pageNum=1&pageSize=1000"
                           L"&startDate=2008-12-07&endDate=2009-03-07") +
                  kTypes);
    EXPECT_EQ(alice.m_strPagingUrl.substr(alice.m_strPagingUrl.size() - 9), L"&pageNum=");
    EXPECT_EQ(alice.m_strLogoutUrl, L"https://alice.vendors.localhost:8443/account/logout");
    EXPECT_EQ(alice.m_bAwaitingReport + alice.m_bPageInFlight + alice.m_bSigningOut +
                  alice.m_nPagesLeft + alice.m_nNewItems,
              0);
}

// A database failure on one account fails that account only: no report
// addresses, a sign-out address, a log text naming the account and the
// database without the password, and the accounts after it still planned.
TEST_F(CheckPlannerTest, DatabaseFailuresFailOnlyTheirAccount) {
    MakeDatabase({L"alice", L"carol"});
    clock_.utcNow = MakeCivilTime(2009, 3, 7, 20, 0);
    CMyObject& wrongPassword = Account(L"alice", kGroupFile, L"guessed wrong");
    CMyObject& missingFile = Account(L"dave", L"Gone.mdb");
    CMyObject& missingTable = Account(L"bob");
    CMyObject& outsideData = Account(L"erin", L"../" + std::wstring(kGroupFile));
    CMyObject& good = Account(L"carol");
    const auto plans = Plan({&wrongPassword, &missingFile, &missingTable, &outsideData, &good});
    ASSERT_EQ(plans.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        const AccountPlan& p = plans[i];
        SCOPED_TRACE(WideToUtf8(p.account->m_strNickname));
        EXPECT_EQ(p.outcome, AccountPlan::Outcome::DatabaseError);
        EXPECT_TRUE(p.Failed());
        EXPECT_NE(p.errorText.find(p.account->m_strNickname), std::wstring::npos);
        EXPECT_NE(p.errorText.find(p.account->m_strDbFile), std::wstring::npos);
        EXPECT_EQ(p.errorText.find(p.account->m_strDbPassword), std::wstring::npos);
        EXPECT_EQ(p.errorText.find(L"Provider="), std::wstring::npos);
        EXPECT_TRUE(p.account->m_strReportUrl.empty());
        EXPECT_TRUE(p.account->m_strPagingUrl.empty());
        EXPECT_FALSE(p.account->m_strLogoutUrl.empty());
        EXPECT_EQ(p.account->m_nNewItems + p.account->m_bAwaitingReport, 0);
    }
    EXPECT_EQ(plans[3].errorText,
              L"Database ../Shop.mdb of account erin: The database file name \"../Shop.mdb\" "
              L"does not name a file in the data folder.");
    EXPECT_EQ(plans[4].outcome, AccountPlan::Outcome::Planned);
    EXPECT_TRUE(plans[4].errorText.empty());
    EXPECT_FALSE(good.m_strReportUrl.empty());
}

TEST_F(CheckPlannerTest, UnreadableZoneGivesPacificNowZero) {
    zone_.rules.reset();
    clock_.utcNow = MakeCivilTime(2009, 3, 7, 20, 0);
    CheckPlanner planner(zone_, clock_, NetworkConfig{}, programFolder_);
    EXPECT_FALSE(planner.UpdatePacificNow(true));
    EXPECT_EQ(planner.PacificNow(), 0);
}

}  // namespace
}  // namespace qv::test
