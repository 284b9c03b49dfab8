#include "BrowserSession.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "ADODatabase.h"
#include "CheckPlanner.h"
#include "LoadFailureText.h"
#include "ReportParser.h"
#include "TextConvert.h"
#include "TransactionStore.h"

namespace qv {

std::wstring HtmlAttributeValue(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        switch (c) {
            case L'&':
                out += L"&amp;";
                break;
            case L'"':
                out += L"&quot;";
                break;
            case L'\'':
                out += L"&#39;";
                break;
            case L'<':
                out += L"&lt;";
                break;
            case L'>':
                out += L"&gt;";
                break;
            // Input preprocessing would turn a bare CR into LF.
            case L'\r':
                out += L"&#13;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The values go in quoted and escaped: a bare value would end at a blank and
// let '>' or a quote in a password rewrite the element.
std::wstring NickFieldMarkup(std::wstring_view nickname) {
    return L"<INPUT id=nick class=loginInput tabIndex=1 value=\"" + HtmlAttributeValue(nickname) +
           L"\" maxLength=10 name=nick>";
}

std::wstring PassFieldMarkup(std::wstring_view password) {
    return L"<INPUT id=pass class=loginInput tabIndex=2 value=\"" + HtmlAttributeValue(password) +
           L"\" type=password name=pass>";
}

std::wstring SignInAddress(const NetworkConfig& config) {
    return L"https://" + config.mainHost + L"/login.htm";
}

std::wstring SignInFailureAddress(const NetworkConfig& config) {
    return SignInAddress(config) + L"?error=true";
}

BrowserSession::BrowserSession(IBrowser& browser, ITimers& timers, const ReaderState& state,
                               ActivityLog& log, IBrowserSessionView& view, NetworkConfig config,
                               std::wstring programFolder)
    : browser_(browser),
      timers_(timers),
      state_(state),
      log_(log),
      view_(view),
      config_(std::move(config)),
      programFolder_(std::move(programFolder)),
      signInUrl_(SignInAddress(config_)),
      signInFailureUrl_(SignInFailureAddress(config_)) {
    browser_.SetDocumentCompleteHandler(
        [this](const std::wstring& url) { OnDocumentComplete(url); });
    browser_.SetNavigationFailedHandler([this](const std::wstring& url, const LoadError& error) {
        OnNavigationFailed(url, error);
    });
}

BrowserSession::~BrowserSession() {
    browser_.SetDocumentCompleteHandler({});
    browser_.SetNavigationFailedHandler({});
    timers_.KillTimer(kSessionTickTimer);
    timers_.KillTimer(kSessionTimeoutTimer);
}

void BrowserSession::BeginCheck(const std::vector<CMyObject*>& checkList) {
    m_pCheckList = &checkList;
    m_nNextIndex = 0;
    m_bBusy = 0;
    // The last account of the previous check is signed out already; a late
    // page of it must not be taken for the new check's first account.
    m_pCurrent = nullptr;
    timers_.SetTimer(kSessionTickTimer, kSessionTickMs, [this] { OnTick(); });
}

void BrowserSession::StopAndSignOut() {
    m_nNextIndex = -1;
    timers_.KillTimer(kSessionTickTimer);
    timers_.KillTimer(kSessionTimeoutTimer);
    m_bBusy = 0;
    if (m_pCurrent) browser_.Navigate(SignOutAddress(config_, m_pCurrent->m_strNickname));
}

int BrowserSession::NextPage(const CMyObject& account) {
    if (account.m_progress.catchUpPage > 0) return account.m_progress.catchUpPage;
    return account.m_nPagesLeft > 0 ? account.m_nPagesLeft : 0;
}

void BrowserSession::OnTick() {
    if (!m_pCheckList || m_nNextIndex < 0) {
        timers_.KillTimer(kSessionTickTimer);  // no check runs
        return;
    }

    if (!m_bBusy) {
        const auto& list = *m_pCheckList;
        while (static_cast<std::size_t>(m_nNextIndex) < list.size()) {
            CMyObject* account = list[static_cast<std::size_t>(m_nNextIndex)];
            // An empty entry would hold the check here for good: skip it. An
            // account without a report address failed its planning, which the
            // log has told already; waiting for a time-out on it tells nothing
            // more.
            if (!account || account->m_strReportUrl.empty()) {
                ++m_nNextIndex;
                continue;
            }
            StartAccount(*account);
            return;
        }
        view_.FinishRun();
        return;
    }

    CMyObject& account = *m_pCurrent;
    if (account.m_bAwaitingReport) return;  // the report or the sign-in is under way
    if (account.m_bSigningOut) return;      // waiting for the sign-in page that follows

    const int page = NextPage(account);
    if (page == 0) {
        auto& progress = account.m_progress;
        if (progress.unreadable.empty()) {
            log_.AddLogLine(kLogNewItems, account.m_nNewItems, &account);
        } else {
            // Rows the report lists were not found on its pages: what was
            // read is stored, but the account is not reported as done.
            log_.AddNoteLine(progress.unreadable + L" " + std::to_wstring(account.m_nNewItems) +
                                 L" new items were stored.",
                             &account);
        }
        if (account.m_nNewItems > 0) view_.ShowNewItemsBalloon(account, account.m_nNewItems);
        // The time-out keeps running from the last page request.
        SignOut(account);
        return;
    }

    if (account.m_bPageInFlight) return;
    account.m_strPageUrl = account.m_strPagingUrl + std::to_wstring(page);
    account.m_bPageInFlight = 1;
    browser_.Navigate(account.m_strPageUrl);
    ArmTimeout();
}

void BrowserSession::StartAccount(CMyObject& account) {
    m_bBusy = 1;
    m_pCurrent = &account;
    account.m_bAwaitingReport = 1;
    browser_.Navigate(account.m_strReportUrl);
    ArmTimeout();
}

// Starts the time-out afresh; a running one is replaced.
void BrowserSession::ArmTimeout() {
    ArmTimeout(static_cast<std::uint32_t>(state_.timeoutMs));
}

void BrowserSession::ArmTimeout(std::uint32_t ms) {
    timers_.SetTimer(kSessionTimeoutTimer, ms, [this] { OnTimeout(); });
}

// The account is over, signed out or not; the next tick takes the next one.
void BrowserSession::EndAccount() {
    ++m_nNextIndex;
    m_bBusy = 0;
    timers_.KillTimer(kSessionTimeoutTimer);
}

void BrowserSession::SignOut(CMyObject& account) {
    account.m_bSigningOut = 1;
    account.m_bAwaitingReport = 0;
    account.m_bPageInFlight = 0;
    browser_.Navigate(account.m_strLogoutUrl);
}

void BrowserSession::EndWithFailure(CMyObject& account, std::wstring_view text, bool tagged) {
    log_.AddNoteLine(text, tagged ? &account : nullptr);
    CloseAccount(account);
}

// After a failure that the log has told: an account that may hold a session
// on the marketplace is signed out (the sign-in page that follows ends it as
// usual, with "Log out."), any other ends at once.
void BrowserSession::CloseAccount(CMyObject& account) {
    if (!account.m_progress.signedIn || account.m_bSigningOut) {
        EndAccount();
        return;
    }
    account.m_progress.closing = true;
    SignOut(account);
    ArmTimeout(std::min<std::uint32_t>(static_cast<std::uint32_t>(state_.timeoutMs),
                                       kSignOutAfterFailureMs));
}

void BrowserSession::OnTimeout() {
    // Only an account in progress can run out of time; ending one that is
    // over already would skip the next account without a word.
    if (!m_bBusy || !m_pCurrent) {
        timers_.KillTimer(kSessionTimeoutTimer);
        return;
    }
    CMyObject& account = *m_pCurrent;
    // A sign-out after a failure that never shows the sign-in page: the
    // failure is told already.
    if (account.m_progress.closing) {
        EndAccount();
        return;
    }
    log_.AddLogLine(kLogTimedOut, 0, &account);
    CloseAccount(account);
}

void BrowserSession::OnNavigationFailed(const std::wstring&, const LoadError& error) {
    if (state_.checkState == kCheckIdle || state_.online == 0) return;
    if (!m_bBusy || !m_pCurrent || error.kind == LoadFailure::Cancelled) return;
    CMyObject& account = *m_pCurrent;
    if (account.m_progress.closing) {
        EndAccount();  // the sign-out after a failure did not load either
        return;
    }
    log_.AddNoteLine(ConnectionFailureText(error), &account);
    CloseAccount(account);
}

void BrowserSession::OnDocumentComplete(const std::wstring& url) {
    if (state_.checkState == kCheckIdle || state_.online == 0) return;

    if (url == signInFailureUrl_) {
        // A refusal that comes while no account is in progress (after its
        // time-out, say) ends nothing: advancing here would skip an account.
        if (!m_bBusy) return;
        log_.AddLogLine(kLogLoginFailed, 0, m_pCurrent);
        EndAccount();
        return;
    }

    // A page may still arrive for the account that timed out, until the next
    // tick starts another; it is compared with that account's addresses.
    if (!m_pCurrent) return;
    CMyObject& account = *m_pCurrent;

    if (url == signInUrl_ && !account.m_bSigningOut) SignIn(account);
    if (url == account.m_strReportUrl && !account.m_bSigningOut) ReadReport(account);
    if (!account.m_strPageUrl.empty() && url == account.m_strPageUrl && account.m_bPageInFlight &&
        !account.m_bSigningOut)
        ImportPage(account);
    if (url == signInUrl_ && account.m_bSigningOut && m_bBusy) {
        // The marketplace shows its sign-in page after a sign-out.
        EndAccount();
        log_.AddLogLine(kLogLogOut, 0, &account);
    }
}

void BrowserSession::SignIn(CMyObject& account) {
    log_.AddLogLine(kLogLoginAttempt, 0, &account);
    account.m_progress.signedIn = true;
    // Each step does nothing when its element is missing.
    browser_.SetOuterHtml(L"nick", NickFieldMarkup(account.m_strNickname));
    browser_.SetOuterHtml(L"pass", PassFieldMarkup(account.m_strPassword));
    browser_.Click(L"login");
}

void BrowserSession::ReadReport(CMyObject& account) {
    account.m_nPagesLeft = ReadReportItemCount(browser_.InnerHtml(L"divbody"), m_nItemCount);
    account.m_bAwaitingReport = 0;
    account.m_progress.signedIn = true;
    if (account.m_nPagesLeft == -1) {
        // Without its count the report's pages are unknown; the account ends
        // here, and the accounts after it are still checked.
        EndWithFailure(account, L"The report holds no item count; the account is skipped.");
        return;
    }
    log_.AddLogLine(kLogLoginSucceed, 0, &account);
    if (m_nItemCount > 500) log_.AddLogLine(kLogTooMuchData, 0, &account);
    account.m_progress.passCount = m_nItemCount;
    account.m_progress.latestCount = m_nItemCount;
}

// The rows of report page `page` when the report lists `count` items.
static int RowsOnPage(int count, int page) {
    const long long before = static_cast<long long>(page - 1) * kReportPageSize;
    return static_cast<int>(std::clamp<long long>(count - before, 0, kReportPageSize));
}

// Pages are read from the last to the first. Rows that arrive meanwhile go
// to the top of the report and push older rows onto pages read already;
// every page shows the report's count as it was when the page was made, so
// a count that differs from the one the pass began with tells of it. Then
// the pages are read once more from the first upwards: rows only ever move
// towards later pages, so that pass meets every row that was there when it
// began, and the store drops the ones it holds already.
void BrowserSession::ImportPage(CMyObject& account) {
    auto& progress = account.m_progress;
    const int page = NextPage(account);
    int pageCount = progress.latestCount;
    int countOnPage = 0;
    if (ReadReportItemCount(browser_.InnerHtml(L"divbody"), countOnPage) >= 0)
        pageCount = countOnPage;

    // A failure here ends the account at once with a line of its own and the
    // check goes on with the next account; the page's rows are rolled back.
    try {
        PageImport import(DatabaseOf(account, programFolder_), account.m_strNickname);
        // The parser stops a row loop that leaves its cursor unmoved, so a
        // malformed page cannot hold the user-interface thread here.
        const int inserted = ImportReportPage(browser_.InnerHtml(L"line"), import);
        if (inserted < 0) {
            account.m_bPageInFlight = 0;
            EndWithFailure(account, L"Not enough memory to import a report page.");
            return;
        }
        const bool catchingUp = progress.catchUpPage > 0;
        const std::vector<RecentList::Record> records =
            import.Commit(account.m_arrRecent,
                          catchingUp ? static_cast<std::size_t>(progress.catchUpInserted) : 0);
        account.m_nNewItems += inserted;
        account.m_bPageInFlight = 0;
        if (!records.empty()) view_.RecordsImported(account, records);

        const int expected = RowsOnPage(pageCount, page);
        if (import.RowsRead() < expected && progress.unreadable.empty()) {
            progress.unreadable = L"The report could not be read: page " + std::to_wstring(page) +
                                  L" holds " + std::to_wstring(import.RowsRead()) + L" of its " +
                                  std::to_wstring(expected) + L" items.";
        }
        if (pageCount != progress.passCount) progress.rowsMoved = true;
        progress.latestCount = pageCount;

        if (catchingUp) {
            progress.catchUpInserted += inserted;
            const int lastPage = RowsOnPage(pageCount, page + 1) > 0 ? page + 1 : 0;
            progress.catchUpPage = lastPage;
        } else {
            account.m_nPagesLeft -= 1;
            if (account.m_nPagesLeft == 0 && progress.rowsMoved) {
                progress.catchUpPage = 1;
                progress.passCount = pageCount;
            }
        }
    } catch (const CADOException& error) {
        account.m_bPageInFlight = 0;
        EndWithFailure(account, DatabaseFailureText(account, L": " + error.GetErrorMessage()),
                       false);
    } catch (const std::exception& error) {
        account.m_bPageInFlight = 0;
        EndWithFailure(account, DatabaseFailureText(account, L": " + Utf8ToWide(error.what())),
                       false);
    }
}

}  // namespace qv
