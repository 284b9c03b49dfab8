#include "CDlgQVLiveWeb.h"

#include "CQVLiveDlg.h"

namespace qv {

CDlgQVLiveWeb::CDlgQVLiveWeb(HINSTANCE instance, CQVLiveDlg& main)
    : CPageDialog(instance, IDD_QVLIVE_WEB),
      main_(main),
      // WinINet trusts the system's root store alone; the network file's
      // extra CA is for the native transport.
      transport_(http::HttpTransportOptions{}),
      engine_(transport_, dispatcher_),
      browser_(engine_) {}

CDlgQVLiveWeb::~CDlgQVLiveWeb() = default;

BOOL CDlgQVLiveWeb::OnInitDialog() {
    timers_.SetWindow(Handle());
    return TRUE;
}

bool CDlgQVLiveWeb::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_TIMER && timers_.OnTimer(static_cast<UINT_PTR>(wParam))) {
        result = 0;
        return true;
    }
    return CPageDialog::OnMessage(message, wParam, lParam, result);
}

void CDlgQVLiveWeb::ShowNewItemsBalloon(const CMyObject& account, int count) {
    main_.ShowNewItemsBalloon(account, count);
}

void CDlgQVLiveWeb::RecordsImported(const CMyObject&, const std::vector<RecentList::Record>&) {
    // The data page lists the recent lists it is shown for when it is filled.
}

void CDlgQVLiveWeb::FinishRun() {
    main_.AccountPage().FinishRun();
}

}  // namespace qv
