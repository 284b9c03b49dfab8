#pragma once
// The web session of a check: the accounts of the check list one after the
// other, each signed in, its report read page by page from the last page to
// the first, every page imported, then signed out. It is driven only by its
// two timers and by the browser's document-complete events; no call waits
// for the network. All progress of an account lives in the account's
// session fields, so every tick can look at it afresh.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ActivityLog.h"
#include "Browser.h"
#include "CMyObject.h"
#include "LoadFailure.h"
#include "NetworkConfig.h"
#include "ReaderState.h"
#include "RecentList.h"
#include "TimerIds.h"
#include "Timers.h"
#include "WebSession.h"

namespace qv {

// The longest wait for the sign-out that follows a failure: the failure is
// told already, and the next account should not wait a whole time-out.
inline constexpr std::uint32_t kSignOutAfterFailureMs = 15000;

// What the session shows through the windows around it.
class IBrowserSessionView {
public:
    virtual ~IBrowserSessionView() = default;
    // The tray balloon "Account: %s" / "Get %d new items"; only for a count
    // above 0.
    virtual void ShowNewItemsBalloon(const CMyObject& account, int count) = 0;
    // The rows one page import stored, in page order, after they reached the
    // account's recent list; the data page shows them when the account is
    // selected.
    virtual void RecordsImported(const CMyObject& account,
                                 const std::vector<RecentList::Record>& records) = 0;
    // The scheduler's FinishRun: the check list is done or the check cannot
    // go on. It calls StopAndSignOut.
    virtual void FinishRun() = 0;
};

// Text as the value of a double-quoted HTML attribute: '&', '"', '\'', '<',
// '>' and a carriage return become character references.
std::wstring HtmlAttributeValue(std::wstring_view text);
// The markup that replaces the sign-in form's "nick" and "pass" fields.
std::wstring NickFieldMarkup(std::wstring_view nickname);
std::wstring PassFieldMarkup(std::wstring_view password);

// The marketplace's sign-in page and the address it shows a refused sign-in
// under, as the loaded document's address is compared with them.
std::wstring SignInAddress(const NetworkConfig& config);
std::wstring SignInFailureAddress(const NetworkConfig& config);

class BrowserSession final : public IWebSession {
public:
    // programFolder ends with its separator; the accounts' databases lie in
    // its "data" folder. Every reference must outlive the session.
    BrowserSession(IBrowser& browser, ITimers& timers, const ReaderState& state, ActivityLog& log,
                   IBrowserSessionView& view, NetworkConfig config, std::wstring programFolder);
    ~BrowserSession() override;
    BrowserSession(const BrowserSession&) = delete;
    BrowserSession& operator=(const BrowserSession&) = delete;

    void BeginCheck(const std::vector<CMyObject*>& checkList) override;
    void StopAndSignOut() override;

    // Timer 1000, every 500 ms during a check.
    void OnTick();
    // Timer 1001: the account in progress ran out of time.
    void OnTimeout();
    // The browser finished loading a document at this address.
    void OnDocumentComplete(const std::wstring& url);
    // A navigation ended without a document.
    void OnNavigationFailed(const std::wstring& url, const LoadError& error);

    int NextIndex() const { return m_nNextIndex; }
    bool Busy() const { return m_bBusy != 0; }
    CMyObject* Current() const { return m_pCurrent; }
    int ItemCount() const { return m_nItemCount; }

private:
    void StartAccount(CMyObject& account);
    void ArmTimeout();
    void ArmTimeout(std::uint32_t ms);
    void EndAccount();
    // The account ends early: the line that says why is logged, and an
    // account that signed in is signed out before the next one starts.
    // A text that names the account itself goes in untagged.
    void EndWithFailure(CMyObject& account, std::wstring_view text, bool tagged = true);
    void CloseAccount(CMyObject& account);
    void SignOut(CMyObject& account);
    // The page the next request asks for; 0 when every page is read.
    static int NextPage(const CMyObject& account);
    void SignIn(CMyObject& account);
    void ReadReport(CMyObject& account);
    void ImportPage(CMyObject& account);

    IBrowser& browser_;
    ITimers& timers_;
    const ReaderState& state_;
    ActivityLog& log_;
    IBrowserSessionView& view_;
    NetworkConfig config_;
    std::wstring programFolder_;
    std::wstring signInUrl_;
    std::wstring signInFailureUrl_;

    const std::vector<CMyObject*>* m_pCheckList = nullptr;
    int m_nNextIndex = -1;
    int m_bBusy = 0;
    CMyObject* m_pCurrent = nullptr;
    int m_nItemCount = 0;
};

}  // namespace qv
