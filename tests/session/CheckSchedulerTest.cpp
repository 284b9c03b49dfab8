#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CheckScheduler.h"
#include "SessionFixture.h"
#include "Settings.h"

namespace qv::test {
namespace {

using Strings = std::vector<std::wstring>;

class CheckSchedulerTest : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        MakeDatabase({L"alice", L"bob", L"carol"});
        CMyObject& group = accounts_.emplace_back();
        group.m_nKind = kGroupNode;
        group.m_strDbFile = kGroupFile;
        alice_ = &Account(L"alice", 0);
        group.m_pNext = alice_;
        bob_ = &Account(L"bob", 0);
        settings_ = std::make_unique<Settings>(profile_, programFolder_);
        planner_ = std::make_unique<CheckPlanner>(zone_, clock_, config_, programFolder_);
        settings_->Write(L"General Settings", L"Time", 1);
        SetLastLogin(2009, 3, 7, 10, 0, 0);
        SetNow(12, 0, 0);
        Reset();
    }

    // A fresh scheduler over the fake session, idle, its page initialised.
    void Reset(bool realSession = false) {
        scheduler_.reset();
        fakeSession_ = FakeWebSession();
        schedulerView_ = FakeSchedulerView();
        state_ = ReaderState();
        NewSession();
        IWebSession& session = realSession ? static_cast<IWebSession&>(*session_) : fakeSession_;
        scheduler_ = std::make_unique<CheckScheduler>(
            schedulerView_, state_, log_, *planner_, session,
            CheckSchedulerPorts{*settings_, clock_, timers_, internet_});
        view_.onFinishRun = [this] { scheduler_->FinishRun(); };
        scheduler_->Initialise(&accounts_.front());
    }

    void SetLastLogin(int y, int mo, int d, int h, int mi, int s) {
        for (const auto& [key, value] : std::vector<std::pair<std::wstring, int>>{
                 {L"y", y}, {L"mo", mo}, {L"d", d}, {L"h", h}, {L"mi", mi}, {L"s", s}}) {
            settings_->Write(kLastLoginSection, key, value);
        }
        profile_.writes.clear();
    }
    void SetNow(int h, int mi, int s) { clock_.localNow = MakeCivilTime(2009, 3, 7, h, mi, s); }
    void ClockTick() { scheduler_->OnClockTick(); }
    std::vector<FakeProfileStore::Write> LastLoginWrites() const {
        std::vector<FakeProfileStore::Write> writes;
        for (const auto& w : profile_.writes)
            if (w.section == kLastLoginSection) writes.push_back(w);
        return writes;
    }

    FakeProfileStore profile_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<CheckPlanner> planner_;
    FakeInternet internet_;
    FakeWebSession fakeSession_;
    FakeSchedulerView schedulerView_;
    std::unique_ptr<CheckScheduler> scheduler_;
    CMyObject* alice_ = nullptr;
    CMyObject* bob_ = nullptr;
};

TEST_F(CheckSchedulerTest, InitialisationSelectsTheIntervalAndStartsTheClock) {
    EXPECT_EQ(state_.intervalIndex, 1);
    EXPECT_EQ(schedulerView_.selected, std::vector<int>{1});
    EXPECT_EQ(schedulerView_.nowFace, NowFace::ManualRun);
    EXPECT_EQ(schedulerView_.autoFace, AutoFace::AutoRun);
    EXPECT_EQ(timers_.Period(kAutoClockTimer), 1000u);
    // The clock is the timer: a due period starts a check through it.
    scheduler_->OnAutoClicked();
    timers_.Advance(1000);
    EXPECT_EQ(state_.checkState, kCheckAutomatic);

    profile_.values.erase({programFolder_ + L"QVSetting.ini", L"General Settings", L"Time"});
    Reset();
    EXPECT_EQ(state_.intervalIndex, -1);
    EXPECT_EQ(schedulerView_.selected, std::vector<int>{-1});
}

TEST_F(CheckSchedulerTest, CheckStateTransitions) {
    enum class From { Idle, Manual, Automatic };
    enum class Event { Now, AutoOn, AutoOff, ClockTick, SessionDone };
    struct Case {
        From from;
        Event event;
        int to;
        int begun;    // BeginCheck calls after the event, the start included
        int stopped;  // StopAndSignOut calls
    };
    const std::vector<Case> cases = {
        {From::Idle, Event::Now, kCheckManual, 1, 0},
        {From::Idle, Event::AutoOn, kCheckIdle, 0, 0},
        {From::Idle, Event::ClockTick, kCheckIdle, 0, 0},  // Auto is off
        {From::Manual, Event::Now, kCheckIdle, 1, 1},
        {From::Manual, Event::ClockTick, kCheckManual, 1, 0},
        {From::Manual, Event::SessionDone, kCheckIdle, 1, 1},
        {From::Manual, Event::AutoOn, kCheckManual, 1, 0},
        {From::Automatic, Event::Now, kCheckAutomatic, 1, 0},
        {From::Automatic, Event::AutoOff, kCheckIdle, 1, 1},
        {From::Automatic, Event::ClockTick, kCheckAutomatic, 1, 0},
        {From::Automatic, Event::SessionDone, kCheckIdle, 1, 1},
    };
    for (const Case& c : cases) {
        SetLastLogin(2009, 3, 7, 10, 0, 0);  // an earlier row's check wrote it anew
        Reset();
        if (c.from == From::Manual) scheduler_->OnNowClicked();
        if (c.from == From::Automatic) {
            scheduler_->OnAutoClicked();
            ClockTick();
        }
        switch (c.event) {
            case Event::Now:
                scheduler_->OnNowClicked();
                break;
            case Event::AutoOn:
            case Event::AutoOff:
                scheduler_->OnAutoClicked();
                break;
            case Event::ClockTick:
                ClockTick();
                break;
            case Event::SessionDone:
                scheduler_->FinishRun();
                break;
        }
        const int row = static_cast<int>(&c - cases.data());
        EXPECT_EQ(state_.checkState, c.to) << "row " << row;
        EXPECT_EQ(fakeSession_.begun, c.begun) << "row " << row;
        EXPECT_EQ(fakeSession_.stopped, c.stopped) << "row " << row;
    }
}

TEST_F(CheckSchedulerTest, AutomaticClockStartsOnlyStrictlyAfterThePeriod) {
    struct Case {
        int interval;
        int h, mi, s;
        bool starts;
    };
    // "Last Login" is 10:00:00.
    const std::vector<Case> cases = {
        {1, 10, 19, 59, false},
        {1, 10, 20, 0, false},
        {1, 10, 20, 1, true},
        {0, 10, 10, 0, false},
        {0, 10, 10, 1, true},
        {3, 11, 0, 0, false},
        {3, 11, 0, 1, true},
        {4, 11, 30, 0, false},
        {4, 11, 30, 1, true},
        {5, 12, 0, 0, false},
        {5, 12, 0, 1, true},
        {2, 10, 30, 1, true},
        // No period: the first tick after "Last Login".
        {6, 10, 0, 0, false},
        {6, 10, 0, 1, true},
        {-1, 10, 0, 1, true},
    };
    for (const Case& c : cases) {
        Reset();
        scheduler_->OnAutoClicked();
        // A newly chosen period counts from the next tick.
        scheduler_->OnIntervalSelected(c.interval);
        SetNow(c.h, c.mi, c.s);
        ClockTick();
        EXPECT_EQ(state_.checkState, c.starts ? kCheckAutomatic : kCheckIdle)
            << "interval " << c.interval << " at " << c.h << ":" << c.mi << ":" << c.s;
        EXPECT_EQ(fakeSession_.begun, c.starts ? 1 : 0);
    }
    EXPECT_EQ(IntervalPeriodSeconds(3), 3600);
    EXPECT_EQ(IntervalPeriodSeconds(5), 7200);
}

TEST_F(CheckSchedulerTest, MissingOrImpossibleLastLoginCountsAsLongPast) {
    struct Case {
        const wchar_t* key;
        int value;  // -2: the key is removed
    };
    for (const Case c :
         {Case{L"y", -2}, Case{L"s", -2}, Case{L"mo", 13}, Case{L"mo", 0}, Case{L"d", 32},
          Case{L"h", 24}, Case{L"mi", 60}, Case{L"s", -1}, Case{L"y", 0}}) {
        SetLastLogin(2009, 3, 7, 11, 59, 0);
        if (c.value == -2)
            profile_.values.erase({programFolder_ + L"QVSetting.ini", kLastLoginSection, c.key});
        else
            settings_->Write(kLastLoginSection, c.key, c.value);
        Reset();
        scheduler_->OnAutoClicked();
        ClockTick();
        EXPECT_EQ(state_.checkState, kCheckAutomatic) << WideToUtf8(c.key) << "=" << c.value;
    }
    // 30 February is no date either; 28 February 2009 is one, and recent.
    SetLastLogin(2009, 2, 30, 0, 0, 0);
    EXPECT_FALSE(ReadLastLogin(*settings_, clock_).has_value());
    SetLastLogin(2009, 3, 7, 11, 59, 0);
    Reset();
    scheduler_->OnAutoClicked();
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckIdle);
}

TEST_F(CheckSchedulerTest, FailedAutomaticStartReturnsToIdleAndTriesAgainAPeriodLater) {
    internet_.connected = false;
    scheduler_->OnAutoClicked();
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    EXPECT_EQ(state_.online, 0);
    ASSERT_EQ(Texts().size(), 2u);
    EXPECT_EQ(Texts()[0].substr(0, 5), L"- - -");
    EXPECT_EQ(Texts()[1], L"Unable to connect Internet.");
    EXPECT_TRUE(LastLoginWrites().empty());
    EXPECT_TRUE(schedulerView_.nowEnabled);
    EXPECT_FALSE(schedulerView_.animating);
    EXPECT_EQ(fakeSession_.begun, 0);

    // Idle again: Now works while the clock waits.
    SetNow(12, 0, 1);
    ClockTick();
    SetNow(12, 20, 0);
    ClockTick();
    EXPECT_EQ(logView_.lines.size(), 2u);
    SetNow(12, 20, 1);
    ClockTick();
    EXPECT_EQ(logView_.lines.size(), 4u);

    internet_.connected = true;
    SetNow(12, 40, 1);
    ClockTick();
    EXPECT_EQ(logView_.lines.size(), 4u);
    SetNow(12, 40, 2);
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckAutomatic);
    EXPECT_EQ(Texts().front(), L"Start auto check of data.");

    // No account switched on: nothing is logged, idle again, and the same wait.
    Reset();
    alice_->m_bChecked = 0;
    bob_->m_bChecked = 0;
    scheduler_->OnAutoClicked();
    const std::size_t lines = logView_.lines.size();
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    EXPECT_EQ(logView_.lines.size(), lines);
    EXPECT_TRUE(LastLoginWrites().empty());
}

TEST_F(CheckSchedulerTest, ManualStartWithoutAccountOrConnectionReturnsToIdle) {
    alice_->m_bChecked = 0;
    bob_->m_bChecked = 0;
    scheduler_->OnNowClicked();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    EXPECT_EQ(schedulerView_.logPageShown, 1);
    EXPECT_TRUE(logView_.lines.empty());

    alice_->m_bChecked = 1;
    internet_.connected = false;
    scheduler_->OnNowClicked();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    EXPECT_EQ(Texts().at(1), L"Unable to connect Internet.");
    EXPECT_EQ(schedulerView_.nowFace, NowFace::ManualRun);
    EXPECT_EQ(fakeSession_.begun, 0);
}

TEST_F(CheckSchedulerTest, StartRunPlansTheCheckedAccountsAndHandsThemOver) {
    CMyObject& carol = Account(L"carol", 0);
    bob_->m_bChecked = 0;
    accounts_.front().m_bChecked = 1;  // a group node never enters the list
    scheduler_->OnNowClicked();
    ASSERT_EQ(state_.checkState, kCheckManual);
    EXPECT_EQ(scheduler_->CheckList(), (std::vector<CMyObject*>{alice_, &carol}));
    EXPECT_EQ(fakeSession_.checkList, scheduler_->CheckList());
    EXPECT_FALSE(alice_->m_strReportUrl.empty());
    EXPECT_FALSE(carol.m_strReportUrl.empty());
    EXPECT_TRUE(bob_->m_strReportUrl.empty());
    EXPECT_EQ(state_.online, 1);
    EXPECT_EQ(Texts(), Strings{L"Start manual check of data."});
    EXPECT_EQ(schedulerView_.nowFace, NowFace::StopManualRun);
    EXPECT_TRUE(schedulerView_.animating);

    Reset();
    scheduler_->OnAutoClicked();
    EXPECT_EQ(schedulerView_.autoFace, AutoFace::StopAutoRun);
    EXPECT_EQ(schedulerView_.logPageShown, 1);
    ClockTick();
    EXPECT_EQ(Texts().front(), L"Start auto check of data.");
    EXPECT_FALSE(schedulerView_.nowEnabled);
}

TEST_F(CheckSchedulerTest, FinishRunWritesLastLoginAndTheSeparator) {
    scheduler_->OnNowClicked();
    SetNow(12, 34, 56);
    scheduler_->OnNowClicked();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    EXPECT_EQ(fakeSession_.stopped, 1);
    const std::wstring file = programFolder_ + L"QVSetting.ini";
    EXPECT_EQ(LastLoginWrites(),
              (std::vector<FakeProfileStore::Write>{{file, kLastLoginSection, L"y", L"2009"},
                                                    {file, kLastLoginSection, L"mo", L"3"},
                                                    {file, kLastLoginSection, L"d", L"7"},
                                                    {file, kLastLoginSection, L"h", L"12"},
                                                    {file, kLastLoginSection, L"mi", L"34"},
                                                    {file, kLastLoginSection, L"s", L"56"}}));
    const Strings texts = Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].size(), 91u);
    EXPECT_EQ(texts[1], L"Finish manual check of data.");
    EXPECT_EQ(schedulerView_.nowFace, NowFace::ManualRun);
    EXPECT_FALSE(schedulerView_.animating);

    // Auto turned off during an automatic check stops it and logs it as finished.
    Reset();
    scheduler_->OnAutoClicked();
    SetNow(12, 55, 0);
    ClockTick();
    ASSERT_EQ(state_.checkState, kCheckAutomatic);
    scheduler_->OnAutoClicked();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    EXPECT_EQ(Texts().at(1), L"Finish auto check of data.");
    EXPECT_TRUE(schedulerView_.nowEnabled);
    EXPECT_EQ(schedulerView_.autoFace, AutoFace::AutoRun);
    ASSERT_TRUE(ReadLastLogin(*settings_, clock_).has_value());
    EXPECT_EQ(*ReadLastLogin(*settings_, clock_), *clock_.MakeLocalTime(clock_.localNow));
}

TEST_F(CheckSchedulerTest, AutoTurnedOnDuringAManualCheckWaitsAPeriodAfterIt) {
    scheduler_->OnNowClicked();
    scheduler_->OnAutoClicked();
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckManual);
    EXPECT_EQ(fakeSession_.begun, 1);
    scheduler_->OnNowClicked();  // the manual check ends at 12:00:00
    SetNow(12, 20, 0);
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckIdle);
    SetNow(12, 20, 1);
    ClockTick();
    EXPECT_EQ(state_.checkState, kCheckAutomatic);
}

TEST_F(CheckSchedulerTest, ManualCheckOfOneAccountReadsAsTheLogShowsIt) {
    bob_->m_bChecked = 0;
    market_.accounts[L"alice"].itemCount = 3;
    market_.accounts[L"alice"].pageTables[1] =
        ReportTableHtml({SampleRecord(1), SampleRecord(2), SampleRecord(3)});
    Reset(true);
    state_.checkState = kCheckIdle;
    scheduler_->OnNowClicked();
    for (int i = 0; i < 50 && state_.checkState != kCheckIdle; ++i) Step();
    ASSERT_EQ(state_.checkState, kCheckIdle);
    const Strings texts = Texts();
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[0].substr(0, 5), L"- - -");
    EXPECT_EQ(Strings(texts.begin() + 1, texts.end()),
              (Strings{L"Finish manual check of data.", L"[alice] Log out.",
                       L"[alice] Find out 3 new items.", L"[alice] Login succeed.",
                       L"[alice] Login attempt.", L"Start manual check of data."}));
    EXPECT_EQ(Rows(L"alice").size(), 3u);
    EXPECT_FALSE(timers_.Running(kSessionTickTimer));
    EXPECT_EQ(LastLoginWrites().size(), 6u);
}

TEST_F(CheckSchedulerTest, DatabaseErrorWhilePlanningIsLoggedAndTheCheckGoesOn) {
    alice_->m_strDbFile = L"Missing.mdb";
    Reset(true);
    scheduler_->OnNowClicked();
    const Strings atStart = Texts();
    ASSERT_EQ(atStart.size(), 2u);
    EXPECT_EQ(atStart[0].rfind(L"Database Missing.mdb of account alice", 0), 0u)
        << WideToUtf8(atStart[0]);
    EXPECT_EQ(atStart[0].find(kGroupPassword), std::wstring::npos);
    EXPECT_EQ(atStart[0].find(L"Provider="), std::wstring::npos);
    EXPECT_TRUE(alice_->m_strReportUrl.empty());

    for (int i = 0; i < 50 && state_.checkState != kCheckIdle; ++i) Step();
    ASSERT_EQ(state_.checkState, kCheckIdle);
    EXPECT_TRUE(Logged(L"[bob] Log out."));
    EXPECT_FALSE(Logged(L"[alice] Login attempt."));
    EXPECT_FALSE(Logged(L"[alice] Connection timed out."));
    for (const auto& url : browser_.navigations) {
        EXPECT_EQ(url.find(L"https://alice."), std::wstring::npos) << WideToUtf8(url);
    }
}

}  // namespace
}  // namespace qv::test
