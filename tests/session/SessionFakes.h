#pragma once
// Stand-ins for the ports a check runs on: timers in virtual time, a browser
// whose pages the test hands over, a small marketplace that answers the
// browser as the real site does, and recording views.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ActivityLog.h"
#include "Browser.h"
#include "BrowserSession.h"
#include "CheckScheduler.h"
#include "InternetState.h"
#include "NetworkConfig.h"
#include "Timers.h"

namespace qv::test {

// Timers that fire only when the test moves virtual time on.
class FakeTimers final : public ITimers {
public:
    void SetTimer(std::uint32_t id, std::uint32_t periodMs,
                  std::function<void()> callback) override;
    void KillTimer(std::uint32_t id) override { timers_.erase(id); }

    // Fires every timer that falls due within the next `ms`, in time order.
    void Advance(std::int64_t ms);
    bool Running(std::uint32_t id) const { return timers_.count(id) != 0; }
    std::uint32_t Period(std::uint32_t id) const;
    std::int64_t Now() const { return now_; }

private:
    struct Timer {
        std::uint32_t period;
        std::int64_t due;
        std::function<void()> callback;
    };
    std::map<std::uint32_t, Timer> timers_;
    std::int64_t now_ = 0;
};

// The elements of a loaded page that the session looks at: id to inner HTML.
using PageElements = std::map<std::wstring, std::wstring>;

// A browser whose documents arrive when the test says so.
class FakeBrowser final : public IBrowser {
public:
    // What the last Navigate or form-submitting Click asked for, not yet
    // answered; a click on "login" is the marker kSubmit.
    static constexpr wchar_t kSubmit[] = L"<sign-in form>";

    void SetDocumentCompleteHandler(DocumentCompleteHandler handler) override {
        handler_ = std::move(handler);
    }
    void SetNavigationFailedHandler(NavigationFailedHandler handler) override {
        failed_ = std::move(handler);
    }
    void Navigate(const std::wstring& url) override {
        navigations.push_back(url);
        pending = url;
    }
    void Stop() override { pending.reset(); }
    std::wstring LocationUrl() const override { return location_; }
    std::optional<std::wstring> InnerHtml(std::wstring_view id) const override;
    bool SetOuterHtml(std::wstring_view id, std::wstring_view markup) override;
    bool Click(std::wstring_view id) override;

    // The page arrives: it becomes the document and the handler runs.
    void Complete(const std::wstring& url, PageElements elements);
    // The pending request ends without a document.
    void Fail(LoadError error);
    bool HasHandler() const { return static_cast<bool>(handler_); }

    std::vector<std::wstring> navigations;
    std::vector<std::pair<std::wstring, std::wstring>> outerHtml;
    std::vector<std::wstring> clicks;
    std::optional<std::wstring> pending;

private:
    DocumentCompleteHandler handler_;
    NavigationFailedHandler failed_;
    std::wstring location_ = L"about:blank";
    PageElements elements_;
};

// The marketplace as the fake browser sees it: a report asked for before
// sign-in shows the sign-in page, the form returns to the report or to the
// failure page, the report holds `itemCount` items, every page holds the
// rows the test gave for it, and a sign-out ends on the sign-in page.
class FakeMarket {
public:
    struct Account {
        std::wstring password;
        int itemCount = 0;
        bool omitCount = false;                  // the report lacks its count element
        std::map<int, std::wstring> pageTables;  // page number -> "line" inner HTML
        // A page given fewer rows than the count puts on it is filled up with
        // copies of its last row, which the store takes as already stored:
        // tests choose how many rows are new, the report stays whole.
        bool fillPages = true;
    };

    FakeMarket(FakeBrowser& browser, NetworkConfig config);

    // Answers the browser's pending request; false when none is pending.
    bool Serve();
    // Answers every request, the answers' own requests included.
    void ServeAll();

    static PageElements SignInPage();
    static PageElements ReportPage(int itemCount, const std::wstring& table, bool omitCount);

    std::map<std::wstring, Account> accounts;  // by nickname
    // The nickname whose report the browser asked for last.
    std::wstring requestedBy;
    std::wstring signedIn;
    std::vector<std::wstring> submittedPasswords;

private:
    static std::wstring NicknameOf(const std::wstring& url);
    static std::wstring FilledTable(const std::wstring& table, int rows);

    FakeBrowser& browser_;
    NetworkConfig config_;
    std::wstring lastReport_;
};

// The log as the list box shows it: position 0 is the top line.
class RecordingLogView final : public IActivityLogView {
public:
    void InsertLine(int position, const std::wstring& text) override;
    std::vector<std::wstring> lines;
};

class FakeSessionView final : public IBrowserSessionView {
public:
    struct Balloon {
        std::wstring nickname;
        int count;
        bool operator==(const Balloon&) const = default;
    };
    void ShowNewItemsBalloon(const CMyObject& account, int count) override {
        balloons.push_back({account.m_strNickname, count});
    }
    void RecordsImported(const CMyObject& account,
                         const std::vector<RecentList::Record>& records) override {
        imported.push_back({account.m_strNickname, static_cast<int>(records.size())});
    }
    void FinishRun() override {
        ++finishRuns;
        if (onFinishRun) onFinishRun();
    }

    std::vector<Balloon> balloons;
    std::vector<Balloon> imported;  // nickname and number of records
    int finishRuns = 0;
    std::function<void()> onFinishRun;
};

class FakeSchedulerView final : public ICheckSchedulerView {
public:
    void SelectInterval(int index) override { selected.push_back(index); }
    void SetNowFace(NowFace face) override { nowFace = face; }
    void EnableNow(bool enabled) override { nowEnabled = enabled; }
    void SetAutoFace(AutoFace face) override { autoFace = face; }
    void ShowLogPage() override { ++logPageShown; }
    void StartTrayAnimation() override { animating = true; }
    void StopTrayAnimation() override { animating = false; }

    std::vector<int> selected;
    NowFace nowFace = NowFace::ManualRun;
    bool nowEnabled = true;
    AutoFace autoFace = AutoFace::AutoRun;
    int logPageShown = 0;
    bool animating = false;
};

class FakeInternet final : public IInternetState {
public:
    bool IsConnected() const override { return connected; }
    bool connected = true;
};

class FakeWebSession final : public IWebSession {
public:
    void BeginCheck(const std::vector<CMyObject*>& list) override {
        ++begun;
        checkList = list;
    }
    void StopAndSignOut() override { ++stopped; }
    int begun = 0;
    int stopped = 0;
    std::vector<CMyObject*> checkList;
};

}  // namespace qv::test
