#pragma once
// A check of real account nodes over the fake browser and market, in virtual
// time, with the page imports going into a real group database.

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "BrowserSession.h"
#include "BuiltInPacificZone.h"
#include "CheckPlanner.h"
#include "PortFakes.h"
#include "SessionFakes.h"
#include "StoreFixture.h"
#include "TextConvert.h"

namespace qv::test {

class SessionFixture : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        zone_.rules = BuiltInPacificZone().ReadPacificZone();
        ASSERT_TRUE(zone_.rules.has_value());
        clock_.utcNow = MakeCivilTime(2009, 3, 7, 20, 0, 0);
        clock_.localNow = MakeCivilTime(2009, 3, 7, 12, 0, 0);
        state_.checkState = kCheckManual;
        state_.online = 1;
        state_.timeoutMs = 120000;
        NewSession();
    }

    void NewSession() {
        session_.reset();
        session_ = std::make_unique<BrowserSession>(browser_, timers_, state_, log_, view_, config_,
                                                    programFolder_);
        // What the scheduler's FinishRun does to the session and the state.
        view_.onFinishRun = [this] {
            session_->StopAndSignOut();
            state_.checkState = kCheckIdle;
        };
    }

    // An account of the group database, switched on, known to the market.
    CMyObject& Account(const std::wstring& nick, int itemCount = 0,
                       const std::wstring& password = L"") {
        CMyObject& a = accounts_.emplace_back();
        a.m_nKind = kAccountNode;
        a.m_strNickname = nick;
        a.m_strPassword = password.empty() ? L"pw of " + nick : password;
        a.m_strDbFile = kGroupFile;
        a.m_strDbPassword = kGroupPassword;
        if (accounts_.size() > 1) accounts_[accounts_.size() - 2].m_pNext = &a;
        market_.accounts[nick].password = a.m_strPassword;
        market_.accounts[nick].itemCount = itemCount;
        list_.push_back(&a);
        return a;
    }

    // Plans every account of the list with the real planner and starts the check.
    void Begin() {
        CheckPlanner planner(zone_, clock_, config_, programFolder_);
        ASSERT_TRUE(planner.UpdatePacificNow(true));
        for (const AccountPlan& plan : planner.BuildReportAddresses(list_)) {
            ASSERT_FALSE(plan.Failed()) << WideToUtf8(plan.errorText);
        }
        session_->BeginCheck(list_);
    }

    void Tick() { timers_.Advance(kSessionTickMs); }
    // One tick and every answer the market gives to what it asked for.
    void Step() {
        Tick();
        market_.ServeAll();
    }
    // Ticks and serves until the session calls FinishRun.
    void RunCheck(int maxTicks = 200) {
        for (int i = 0; i < maxTicks && view_.finishRuns == 0; ++i) Step();
        ASSERT_EQ(view_.finishRuns, 1);
    }

    // The log top-down with every time stamp taken off.
    std::vector<std::wstring> Texts() const {
        const std::wstring prefix = LogTimeStamp(clock_) + L"  ";
        std::vector<std::wstring> texts;
        for (const auto& line : logView_.lines) {
            texts.push_back(line.compare(0, prefix.size(), prefix) == 0 ? line.substr(prefix.size())
                                                                        : line);
        }
        return texts;
    }
    // The lines that name the account, top-down.
    std::vector<std::wstring> LinesOf(const std::wstring& nick) const {
        std::vector<std::wstring> of;
        for (const auto& text : Texts()) {
            if (text.rfind(L"[" + nick + L"] ", 0) == 0) of.push_back(text);
        }
        return of;
    }
    bool Logged(const std::wstring& text) const {
        const auto texts = Texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    // The page numbers requested for the account, in order.
    std::vector<int> PagesRequested(const CMyObject& a) const {
        std::vector<int> pages;
        for (const auto& url : browser_.navigations) {
            if (url.compare(0, a.m_strPagingUrl.size(), a.m_strPagingUrl) == 0)
                pages.push_back(std::stoi(url.substr(a.m_strPagingUrl.size())));
        }
        return pages;
    }

    NetworkConfig config_;
    FakeZoneSource zone_;
    FakeClock clock_;
    ReaderState state_;
    RecordingLogView logView_;
    ActivityLog log_{logView_, clock_};
    FakeTimers timers_;
    FakeBrowser browser_;
    FakeMarket market_{browser_, config_};
    FakeSessionView view_;
    std::deque<CMyObject> accounts_;
    std::vector<CMyObject*> list_;
    std::unique_ptr<BrowserSession> session_;
};

}  // namespace qv::test
