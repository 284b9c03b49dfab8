#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SessionFixture.h"

namespace qv::test {
namespace {

using Balloon = FakeSessionView::Balloon;
using Strings = std::vector<std::wstring>;

class BrowserSessionTest : public SessionFixture {};

TEST_F(BrowserSessionTest, OneAccountThroughEveryState) {
    MakeDatabase({L"alice"});
    CMyObject& alice = Account(L"alice", 1001);
    market_.accounts[L"alice"].pageTables = {
        {2, ReportTableHtml({SampleRecord(1), SampleRecord(2)})},
        // A row of page 2 again: stored once only.
        {1, ReportTableHtml({SampleRecord(2), SampleRecord(3)})},
    };
    Begin();
    EXPECT_EQ(timers_.Period(kSessionTickTimer), 500u);
    EXPECT_EQ(session_->NextIndex(), 0);

    // Waiting for the next account -> report requested.
    Tick();
    EXPECT_EQ(browser_.navigations, Strings{alice.m_strReportUrl});
    EXPECT_TRUE(session_->Busy());
    EXPECT_EQ(session_->Current(), &alice);
    EXPECT_EQ(alice.m_bAwaitingReport, 1);
    EXPECT_EQ(timers_.Period(kSessionTimeoutTimer), 120000u);

    // Report requested -> signing in: the form is filled and sent.
    ASSERT_TRUE(market_.Serve());
    EXPECT_EQ(Texts().front(), L"[alice] Login attempt.");
    ASSERT_EQ(browser_.outerHtml.size(), 2u);
    EXPECT_EQ(browser_.outerHtml[0],
              std::make_pair(std::wstring(L"nick"), NickFieldMarkup(L"alice")));
    EXPECT_EQ(browser_.outerHtml[1],
              std::make_pair(std::wstring(L"pass"), PassFieldMarkup(L"pw of alice")));
    EXPECT_EQ(browser_.clicks, Strings{L"login"});
    Tick();  // nothing while the report is awaited
    EXPECT_EQ(browser_.navigations.size(), 1u);

    // Signing in -> report read.
    ASSERT_TRUE(market_.Serve());
    EXPECT_EQ(alice.m_bAwaitingReport, 0);
    EXPECT_EQ(alice.m_nPagesLeft, 2);
    EXPECT_EQ(session_->ItemCount(), 1001);
    EXPECT_EQ(Texts()[3], L"[alice] Login succeed.");

    // Report read -> page requested, the last page first, one at a time.
    Tick();
    EXPECT_EQ(browser_.navigations.back(), alice.m_strPagingUrl + L"2");
    EXPECT_EQ(alice.m_strPageUrl, alice.m_strPagingUrl + L"2");
    EXPECT_EQ(alice.m_bPageInFlight, 1);
    Tick();
    EXPECT_EQ(browser_.navigations.size(), 2u);

    // Page requested -> report read: imported through the real store.
    ASSERT_TRUE(market_.Serve());
    EXPECT_EQ(alice.m_nPagesLeft, 1);
    EXPECT_EQ(alice.m_nNewItems, 2);
    EXPECT_EQ(alice.m_bPageInFlight, 0);
    EXPECT_EQ(Rows(L"alice").size(), 2u);
    Tick();
    EXPECT_EQ(browser_.navigations.back(), alice.m_strPagingUrl + L"1");
    ASSERT_TRUE(market_.Serve());
    EXPECT_EQ(alice.m_nPagesLeft, 0);
    EXPECT_EQ(alice.m_nNewItems, 3);
    EXPECT_EQ(Rows(L"alice").size(), 3u);
    EXPECT_EQ(alice.m_arrRecent.Size(), 3u);
    EXPECT_EQ(view_.imported, (std::vector<Balloon>{{L"alice", 2}, {L"alice", 1}}));

    // Report read -> signing out, with the result line and the balloon.
    Tick();
    EXPECT_EQ(browser_.navigations.back(), alice.m_strLogoutUrl);
    EXPECT_EQ(alice.m_bSigningOut, 1);
    EXPECT_EQ(Texts().front(), L"[alice] Find out 3 new items.");
    EXPECT_EQ(view_.balloons, (std::vector<Balloon>{{L"alice", 3}}));
    Tick();
    EXPECT_EQ(browser_.navigations.size(), 4u);

    // Signing out -> waiting for the next account.
    ASSERT_TRUE(market_.Serve());
    EXPECT_EQ(Texts().front(), L"[alice] Log out.");
    EXPECT_EQ(session_->NextIndex(), 1);
    EXPECT_FALSE(session_->Busy());
    EXPECT_FALSE(timers_.Running(kSessionTimeoutTimer));
    EXPECT_EQ(view_.finishRuns, 0);

    // No account left: the check ends and the last account is signed out again.
    Tick();
    EXPECT_EQ(view_.finishRuns, 1);
    EXPECT_FALSE(timers_.Running(kSessionTickTimer));
    EXPECT_EQ(session_->NextIndex(), -1);
    EXPECT_EQ(browser_.navigations.back(), alice.m_strLogoutUrl);
    const std::wstring indent(42, L' ');
    EXPECT_EQ(Texts(), (Strings{L"[alice] Log out.", L"[alice] Find out 3 new items.",
                                L"[alice] It will take several minutes because ",
                                indent + L"of too much data. Please wait patiently or ",
                                indent + L"choose the \"Manual Import Data\".",
                                L"[alice] Login succeed.", L"[alice] Login attempt."}));
}

TEST_F(BrowserSessionTest, ItemCountGivesThePagesFromTheLastDown) {
    struct Case {
        int items;
        std::vector<int> pages;
    };
    const std::vector<Case> cases = {
        {0, {}}, {1, {1}}, {1000, {1}}, {1001, {2, 1}}, {2500, {3, 2, 1}}};
    std::vector<std::wstring> nicks;
    for (std::size_t i = 0; i < cases.size(); ++i) nicks.push_back(L"n" + std::to_wstring(i));
    MakeDatabase(nicks);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Account(nicks[i], cases[i].items);
        for (const int page : cases[i].pages) {
            market_.accounts[nicks[i]].pageTables[page] =
                ReportTableHtml({SampleRecord(page * 10)});
        }
    }
    Begin();
    RunCheck();
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CMyObject& a = accounts_[i];
        EXPECT_EQ(PagesRequested(a), cases[i].pages) << cases[i].items << " items";
        EXPECT_EQ(a.m_nNewItems, static_cast<int>(cases[i].pages.size()));
        EXPECT_TRUE(Logged(L"[" + nicks[i] + L"] Log out.")) << cases[i].items << " items";
    }
    // No items: the no-news line and no balloon; the others have a balloon each.
    EXPECT_TRUE(Logged(L"[n0] No new item found."));
    EXPECT_TRUE(Logged(L"[n3] Find out 2 new items."));
    EXPECT_EQ(view_.balloons,
              (std::vector<Balloon>{{L"n1", 1}, {L"n2", 1}, {L"n3", 2}, {L"n4", 3}}));
}

TEST_F(BrowserSessionTest, MoreThanFiveHundredItemsGiveTheThreeLineNotice) {
    MakeDatabase({L"five", L"more"});
    Account(L"five", 500);
    Account(L"more", 501);
    Begin();
    RunCheck();
    const Strings texts = Texts();
    const auto at =
        std::find(texts.begin(), texts.end(), L"[more] It will take several minutes because ");
    ASSERT_NE(at, texts.end());
    ASSERT_LT(at + 3, texts.end());
    EXPECT_EQ(at[1].substr(42), L"of too much data. Please wait patiently or ");
    EXPECT_EQ(at[2].substr(42), L"choose the \"Manual Import Data\".");
    EXPECT_EQ(at[3], L"[more] Login succeed.");
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const std::wstring& t) {
                                return t.find(L"several minutes") != std::wstring::npos;
                            }),
              1);
}

TEST_F(BrowserSessionTest, TimeOutSignsTheAccountOutAndTheNextOneFollows) {
    MakeDatabase({L"slow", L"bob"});
    CMyObject& slow = Account(L"slow", 1);
    CMyObject& bob = Account(L"bob", 0);
    market_.accounts[L"slow"].pageTables[1] = ReportTableHtml({SampleRecord(1)});
    Begin();
    Step();  // signed in, report read
    Tick();  // page 1 requested: the time-out starts again from here
    ASSERT_EQ(slow.m_bPageInFlight, 1);
    browser_.pending.reset();  // the page never comes

    timers_.Advance(120000 - kSessionTickMs);
    EXPECT_TRUE(session_->Busy());
    EXPECT_FALSE(Logged(L"[slow] Connection timed out."));
    timers_.Advance(kSessionTickMs);
    EXPECT_EQ(Texts().front(), L"[slow] Connection timed out.");
    // Signed in on the marketplace, so signed out before bob starts; that
    // wait is short, the failure is told already.
    EXPECT_EQ(browser_.navigations.back(), slow.m_strLogoutUrl);
    EXPECT_EQ(slow.m_bSigningOut, 1);
    EXPECT_EQ(slow.m_bPageInFlight, 0);
    EXPECT_EQ(session_->NextIndex(), 0);
    EXPECT_EQ(timers_.Period(kSessionTimeoutTimer), kSignOutAfterFailureMs);
    Tick();
    EXPECT_EQ(browser_.navigations.back(), slow.m_strLogoutUrl);

    ASSERT_TRUE(market_.Serve());
    EXPECT_EQ(Texts().front(), L"[slow] Log out.");
    EXPECT_EQ(session_->NextIndex(), 1);
    EXPECT_FALSE(timers_.Running(kSessionTimeoutTimer));
    Tick();
    EXPECT_EQ(browser_.navigations.back(), bob.m_strReportUrl);
    market_.ServeAll();
    RunCheck();
    EXPECT_TRUE(Logged(L"[bob] Log out."));
}

TEST_F(BrowserSessionTest, TimeOutWhileTheSignInIsUnderWay) {
    MakeDatabase({L"alice", L"bob"});
    CMyObject& alice = Account(L"alice", 0);
    Account(L"bob", 0);
    Begin();
    Tick();
    ASSERT_TRUE(market_.Serve());  // the sign-in page; the form is sent, no answer comes
    browser_.pending.reset();
    timers_.Advance(120000);
    EXPECT_EQ(Texts().front(), L"[alice] Connection timed out.");
    // The form went out, so the marketplace may hold a session: signed out.
    EXPECT_EQ(browser_.navigations.back(), alice.m_strLogoutUrl);
    // A sign-out that never shows the sign-in page ends the account quietly
    // after the short wait.
    browser_.pending.reset();
    timers_.Advance(kSignOutAfterFailureMs);
    EXPECT_EQ(session_->NextIndex(), 1);
    EXPECT_EQ(Texts().front(), L"[alice] Connection timed out.");
}

TEST_F(BrowserSessionTest, AccountThatNeverSignedInEndsAtItsTimeOutWithoutSignOut) {
    MakeDatabase({L"alice"});
    CMyObject& alice = Account(L"alice", 0);
    Begin();
    Tick();
    browser_.pending.reset();  // not even the sign-in page comes
    timers_.Advance(120000);
    EXPECT_EQ(Texts().front(), L"[alice] Connection timed out.");
    EXPECT_EQ(session_->NextIndex(), 1);
    EXPECT_EQ(
        std::count(browser_.navigations.begin(), browser_.navigations.end(), alice.m_strLogoutUrl),
        0);
}

TEST_F(BrowserSessionTest, LatePageAfterTimeOutIsNotTakenForAnyAccount) {
    MakeDatabase({L"alice", L"bob"});
    CMyObject& alice = Account(L"alice", 1001);
    CMyObject& bob = Account(L"bob", 1);
    market_.accounts[L"alice"].pageTables = {{2, ReportTableHtml({SampleRecord(1)})},
                                             {1, ReportTableHtml({SampleRecord(2)})}};
    Begin();
    Step();  // signed in, report read
    Tick();  // page 2 requested
    ASSERT_EQ(browser_.pending, alice.m_strPagingUrl + L"2");
    const std::wstring late = *browser_.pending;
    browser_.pending.reset();
    timers_.Advance(120000);
    ASSERT_EQ(Texts().front(), L"[alice] Connection timed out.");
    ASSERT_EQ(alice.m_bSigningOut, 1);

    // The sign-out has taken the page's place; should it come all the same,
    // it is not imported: the next check reads it again.
    browser_.Complete(late,
                      FakeMarket::ReportPage(1001, ReportTableHtml({SampleRecord(1)}), false));
    EXPECT_EQ(alice.m_nNewItems, 0);
    EXPECT_TRUE(Rows(L"alice").empty());
    market_.ServeAll();  // the sign-out
    ASSERT_EQ(Texts().front(), L"[alice] Log out.");

    Tick();  // bob starts
    ASSERT_EQ(session_->Current(), &bob);
    const std::size_t lines = logView_.lines.size();
    browser_.Complete(alice.m_strPagingUrl + L"1",
                      FakeMarket::ReportPage(1001, ReportTableHtml({SampleRecord(2)}), false));
    EXPECT_EQ(alice.m_nNewItems, 0);
    EXPECT_TRUE(Rows(L"alice").empty());
    EXPECT_EQ(bob.m_bAwaitingReport, 1);
    EXPECT_EQ(bob.m_nPagesLeft, 0);
    EXPECT_EQ(logView_.lines.size(), lines);
}

TEST_F(BrowserSessionTest, RefusedSignInOnTheLastAccountEndsTheCheckAtTheNextTick) {
    MakeDatabase({L"alice", L"bob"});
    Account(L"alice", 0);
    Account(L"bob", 0);
    market_.accounts[L"bob"].password = L"what the market expects";
    Begin();
    for (int i = 0; i < 50 && !Logged(L"[bob] Login failed."); ++i) Step();
    ASSERT_TRUE(Logged(L"[bob] Login failed."));
    EXPECT_EQ(session_->NextIndex(), 2);
    EXPECT_FALSE(session_->Busy());
    EXPECT_EQ(view_.finishRuns, 0);
    Tick();
    EXPECT_EQ(view_.finishRuns, 1);
    EXPECT_EQ(Texts(), (Strings{L"[bob] Login failed.", L"[bob] Login attempt.",
                                L"[alice] Log out.", L"[alice] No new item found.",
                                L"[alice] Login succeed.", L"[alice] Login attempt."}));
}

TEST_F(BrowserSessionTest, PageEventsAreIgnoredWhileIdleOrOffline) {
    MakeDatabase({L"alice"});
    CMyObject& alice = Account(L"alice", 5);
    struct Case {
        int checkState;
        int online;
    };
    for (const Case c : {Case{kCheckIdle, 1}, Case{kCheckManual, 0}, Case{kCheckAutomatic, 0},
                         Case{kCheckIdle, 0}}) {
        state_.checkState = kCheckManual;
        state_.online = 1;
        NewSession();
        Begin();
        Tick();
        ASSERT_TRUE(session_->Busy());
        state_.checkState = c.checkState;
        state_.online = c.online;
        const std::size_t lines = logView_.lines.size();
        const std::size_t filled = browser_.outerHtml.size();

        browser_.Complete(SignInAddress(config_), FakeMarket::SignInPage());
        browser_.Complete(alice.m_strReportUrl, FakeMarket::ReportPage(5, L"", false));
        browser_.Complete(SignInFailureAddress(config_), FakeMarket::SignInPage());
        EXPECT_EQ(logView_.lines.size(), lines) << c.checkState << "/" << c.online;
        EXPECT_EQ(browser_.outerHtml.size(), filled);
        EXPECT_TRUE(browser_.clicks.empty());
        EXPECT_EQ(alice.m_bAwaitingReport, 1);
        EXPECT_EQ(alice.m_nPagesLeft, 0);
        EXPECT_EQ(session_->NextIndex(), 0);
        EXPECT_TRUE(session_->Busy());
    }
}

TEST_F(BrowserSessionTest, DatabaseErrorInAPageImportEndsThatAccountOnly) {
    MakeDatabase({L"alice", L"bob"});
    CMyObject& alice = Account(L"alice", 2);
    Account(L"bob", 1);
    market_.accounts[L"alice"].pageTables[1] = ReportTableHtml({SampleRecord(1), SampleRecord(2)});
    market_.accounts[L"bob"].pageTables[1] = ReportTableHtml({SampleRecord(3)});
    Begin();
    alice.m_strDbPassword = L"no such secret";  // the database refuses the import
    RunCheck();

    const Strings texts = Texts();
    const auto error = std::find_if(texts.begin(), texts.end(), [](const std::wstring& t) {
        return t.rfind(L"Database Shop.mdb of account alice: ", 0) == 0;
    });
    ASSERT_NE(error, texts.end());
    EXPECT_GT(error->size(), std::wstring(L"Database Shop.mdb of account alice: ").size())
        << "the database's description is missing";
    for (const auto& line : logView_.lines) {
        EXPECT_EQ(line.find(L"no such secret"), std::wstring::npos) << WideToUtf8(line);
        EXPECT_EQ(line.find(L"Provider="), std::wstring::npos) << WideToUtf8(line);
    }
    EXPECT_FALSE(Logged(L"[alice] Find out 2 new items."));
    // Signed in, so signed out after the failure (the log's top line is the newest).
    const auto logout = std::find(texts.begin(), texts.end(), L"[alice] Log out.");
    ASSERT_NE(logout, texts.end());
    EXPECT_EQ(logout + 1, error) << "the sign-out follows the failure line";
    EXPECT_TRUE(Rows(L"alice").empty());
    EXPECT_TRUE(alice.m_arrRecent.Snapshot().empty());
    EXPECT_TRUE(Logged(L"[bob] Find out 1 new items."));
    EXPECT_TRUE(Logged(L"[bob] Log out."));
    EXPECT_EQ(Rows(L"bob").size(), 1u);
}

TEST_F(BrowserSessionTest, ReportWithoutItsCountEndsOnlyItsAccount) {
    MakeDatabase({L"alice", L"bob"});
    CMyObject& alice = Account(L"alice", 3);
    Account(L"bob", 1);
    market_.accounts[L"alice"].omitCount = true;
    market_.accounts[L"bob"].pageTables[1] = ReportTableHtml({SampleRecord(3)});
    Begin();
    Step();
    EXPECT_FALSE(Logged(L"[alice] Login succeed."));
    EXPECT_EQ(alice.m_bSigningOut, 1);
    RunCheck();
    EXPECT_EQ(LinesOf(L"alice"),
              (Strings{L"[alice] Log out.",
                       L"[alice] The report holds no item count; the account is skipped.",
                       L"[alice] Login attempt."}));
    EXPECT_TRUE(Logged(L"[bob] Find out 1 new items."));
    EXPECT_EQ(Rows(L"bob").size(), 1u);
}

TEST_F(BrowserSessionTest, EmptyEntriesAndUnplannedAccountsArePassedOver) {
    MakeDatabase({L"alice", L"bob"});
    CMyObject& alice = Account(L"alice", 0);
    CMyObject& bob = Account(L"bob", 0);
    Begin();
    alice.m_strReportUrl.clear();  // as the planner leaves an account it could not plan
    list_.insert(list_.begin(), nullptr);
    session_->BeginCheck(list_);
    Tick();
    EXPECT_EQ(browser_.navigations, Strings{bob.m_strReportUrl});
    EXPECT_EQ(session_->NextIndex(), 2);
    market_.ServeAll();
    RunCheck();
    EXPECT_TRUE(Logged(L"[bob] Log out."));
}

// A refusal, or the sign-in page after a sign-out, arriving when the account
// has already ended must not end the next account before it begins.
TEST_F(BrowserSessionTest, LatePagesOfAnEndedAccountSkipNoOtherAccount) {
    MakeDatabase({L"alice", L"bob"});
    CMyObject& alice = Account(L"alice", 0);
    Account(L"bob", 0);
    Begin();
    Step();
    Tick();  // sign-out requested; the time-out runs from the account's start
    ASSERT_EQ(alice.m_bSigningOut, 1);
    browser_.pending.reset();
    timers_.Advance(120000 - kSessionTickMs);  // to the time-out, before the next tick
    ASSERT_EQ(Texts().front(), L"[alice] Connection timed out.");
    ASSERT_EQ(session_->NextIndex(), 1);

    browser_.Complete(SignInAddress(config_), FakeMarket::SignInPage());
    browser_.Complete(SignInFailureAddress(config_), FakeMarket::SignInPage());
    EXPECT_EQ(session_->NextIndex(), 1);
    EXPECT_EQ(Texts().front(), L"[alice] Connection timed out.");
    RunCheck();
    EXPECT_TRUE(Logged(L"[bob] Log out."));
}

TEST_F(BrowserSessionTest, PageWithAnUnclosedCentreElementEndsItsImport) {
    MakeDatabase({L"alice"});
    CMyObject& alice = Account(L"alice", 1);
    market_.accounts[L"alice"].pageTables[1] = L"<table><tr><td><center>buyer@example.com";
    Begin();
    RunCheck();
    EXPECT_EQ(alice.m_nNewItems, 0);
    EXPECT_TRUE(Logged(
        L"[alice] The report could not be read: page 1 holds 0 of its 1 items. 0 new items were "
        L"stored."));
}

// A report that lists more items than its pages hold is not an account with
// nothing new: what could be read is stored, the line says the rest is not.
TEST_F(BrowserSessionTest, RowsMissingFromTheReportAreToldNotTakenForNoNews) {
    MakeDatabase({L"short", L"notable", L"fine"});
    Account(L"short", 1003);
    Account(L"notable", 4);
    Account(L"fine", 2);
    market_.accounts[L"short"].fillPages = false;
    market_.accounts[L"short"].pageTables = {
        {2, ReportTableHtml({SampleRecord(1), SampleRecord(2), SampleRecord(3)})},
        {1, ReportTableHtml({SampleRecord(4), SampleRecord(5)})}};
    market_.accounts[L"notable"].pageTables.clear();  // an empty table: no row at all
    market_.accounts[L"fine"].pageTables[1] = ReportTableHtml({SampleRecord(6), SampleRecord(7)});
    Begin();
    RunCheck();
    EXPECT_EQ(LinesOf(L"short"),
              (Strings{L"[short] Log out.",
                       L"[short] The report could not be read: page 1 holds 2 of its 1000 items. 5 "
                       L"new items were stored.",
                       L"[short] It will take several minutes because ", L"[short] Login succeed.",
                       L"[short] Login attempt."}));
    EXPECT_EQ(Rows(L"short").size(), 5u);
    EXPECT_TRUE(Logged(
        L"[notable] The report could not be read: page 1 holds 0 of its 4 items. 0 new items were "
        L"stored."));
    EXPECT_FALSE(Logged(L"[notable] No new item found."));
    EXPECT_TRUE(Logged(L"[fine] Find out 2 new items."));
    EXPECT_EQ(view_.balloons, (std::vector<Balloon>{{L"short", 5}, {L"fine", 2}}));
}

// Rows that arrive while the pages are read push older rows onto pages read
// already; a count that moved has the pages read again from the first up.
TEST_F(BrowserSessionTest, CountThatMovesDuringTheImportHasThePagesReadAgainUpwards) {
    MakeDatabase({L"busy", L"calm"});
    CMyObject& busy = Account(L"busy", 2500);
    CMyObject& calm = Account(L"calm", 2500);
    for (const auto& nick : {L"busy", L"calm"}) {
        for (int page = 1; page <= 3; ++page)
            market_.accounts[nick].pageTables[page] = ReportTableHtml({SampleRecord(page)});
    }
    market_.accounts[L"busy"].pageTables[4] = ReportTableHtml({SampleRecord(4)});
    Begin();
    for (int i = 0; i < 20 && PagesRequested(busy).size() < 1; ++i) Step();
    // Page 3 is read; then a hundred rows arrive, and every later page
    // shows the new count, which now needs a fourth page.
    market_.accounts[L"busy"].itemCount = 3100;
    RunCheck();
    EXPECT_EQ(PagesRequested(busy), (std::vector<int>{3, 2, 1, 1, 2, 3, 4}));
    EXPECT_EQ(PagesRequested(calm), (std::vector<int>{3, 2, 1}));
    EXPECT_TRUE(Logged(L"[busy] Find out 4 new items."));
    EXPECT_TRUE(Logged(L"[busy] Log out."));
    // What the upward pass stores goes to the top of the recent list, in page
    // order, above the rows of the first pass.
    const auto recent = busy.m_arrRecent.Snapshot();
    ASSERT_EQ(recent.size(), 4u);
    EXPECT_EQ(recent[0]->Get(RecordField::Receipt), SampleRecord(4).Get(RecordField::Receipt));
}

TEST(SignInForm, ValuesAreQuotedAndEscaped) {
    EXPECT_EQ(NickFieldMarkup(L"alice"),
              L"<INPUT id=nick class=loginInput tabIndex=1 value=\"alice\" maxLength=10 "
              L"name=nick>");
    struct Case {
        std::wstring password, value;
    };
    for (const Case& c : std::vector<Case>{{L"plain", L"plain"},
                                           {L"two words", L"two words"},
                                           {L"say \"hi\"", L"say &quot;hi&quot;"},
                                           {L"a&b", L"a&amp;b"},
                                           {L"x>y<z", L"x&gt;y&lt;z"},
                                           {L"it's", L"it&#39;s"},
                                           {L"&amp;", L"&amp;amp;"}}) {
        EXPECT_EQ(PassFieldMarkup(c.password),
                  L"<INPUT id=pass class=loginInput tabIndex=2 value=\"" + c.value +
                      L"\" type=password name=pass>")
            << WideToUtf8(c.password);
    }
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

// A page that fails to load ends its account at once, with a line naming the
// cause, instead of after the whole time-out; an account that got as far as
// the sign-in is signed out first.
TEST_F(BrowserSessionTest, LoadFailureEndsTheAccountAtOnceWithItsCause) {
    struct Case {
        LoadError error;
        std::wstring line;
    };
    const std::vector<Case> cases = {
        {{LoadFailure::CertificateUntrusted, 0, L""},
         L"Connection failed: the server's certificate is not trusted."},
        {{LoadFailure::ConnectionRefused, 0, L""},
         L"Connection failed: the server cannot be reached (the connection was refused)."},
        {{LoadFailure::HttpStatus, 500, L""},
         L"Connection failed: the server answered with error 500."},
        {{LoadFailure::ConnectionDropped, 0, L""},
         L"Connection failed: the connection broke off before the page was complete."},
        {{LoadFailure::NameNotResolved, 0, L""},
         L"Connection failed: the server's name cannot be found."},
    };
    MakeDatabase({L"first", L"later"});
    CMyObject& first = Account(L"first", 0);
    CMyObject& later = Account(L"later", 1);
    market_.accounts[L"later"].pageTables[1] = ReportTableHtml({SampleRecord(1)});
    for (const Case& c : cases) {
        SCOPED_TRACE(WideToUtf8(c.line));
        logView_.lines.clear();
        browser_.navigations.clear();
        NewSession();
        Begin();
        // Before any sign-in: no session to end, the account is over.
        Tick();
        browser_.Fail(c.error);
        EXPECT_EQ(Texts().front(), L"[first] " + c.line);
        EXPECT_EQ(session_->NextIndex(), 1);
        EXPECT_EQ(std::count(browser_.navigations.begin(), browser_.navigations.end(),
                             first.m_strLogoutUrl),
                  0);
        // A page after the sign-in: signed out, then the check goes on.
        Step();  // later signs in, its report is read
        Tick();  // its page is requested
        ASSERT_EQ(later.m_bPageInFlight, 1);
        browser_.Fail(c.error);
        EXPECT_EQ(Texts().front(), L"[later] " + c.line);
        EXPECT_EQ(browser_.navigations.back(), later.m_strLogoutUrl);
        market_.ServeAll();
        EXPECT_EQ(Texts().front(), L"[later] Log out.");
        Tick();
        EXPECT_EQ(view_.finishRuns, 1);
        view_.finishRuns = 0;
        state_.checkState = kCheckManual;
    }
    // A cancelled navigation was replaced by a newer one: nothing to tell.
    logView_.lines.clear();
    NewSession();
    Begin();
    Tick();
    browser_.Fail({LoadFailure::Cancelled, 0, L""});
    EXPECT_TRUE(logView_.lines.empty());
    EXPECT_TRUE(session_->Busy());
}

}  // namespace
}  // namespace qv::test
