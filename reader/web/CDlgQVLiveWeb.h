#pragma once
// The browser page: a child window that is never shown, hosting the
// browser engine over WinINet. The web session of a check runs on it: its
// step and time-out timers are this window's, and what the session shows
// (the balloon, the end of the check) goes through here to the main window.

#include "BrowserEngine.h"
#include "BrowserSession.h"
#include "CPageDialog.h"
#include "EngineBrowser.h"
#include "Win32UiDispatcher.h"
#include "Win32WindowTimers.h"
#include "WinInetTransport.h"
#include "resource.h"

namespace qv {

class CQVLiveDlg;

class CDlgQVLiveWeb final : public CPageDialog, public IBrowserSessionView {
public:
    CDlgQVLiveWeb(HINSTANCE instance, CQVLiveDlg& main);
    ~CDlgQVLiveWeb() override;

    IBrowser& Browser() { return browser_; }
    ITimers& Timers() { return timers_; }

    // IBrowserSessionView
    void ShowNewItemsBalloon(const CMyObject& account, int count) override;
    void RecordsImported(const CMyObject& account,
                         const std::vector<RecentList::Record>& records) override;
    void FinishRun() override;

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    CQVLiveDlg& main_;
    http::WinInetTransport transport_;
    // Where the engine's workers hand their results back to this thread.
    win::Win32UiDispatcher dispatcher_;
    browser::BrowserEngine engine_;
    browser::EngineBrowser browser_;
    win::Win32WindowTimers timers_;
};

}  // namespace qv
