#include "CDlgQVLiveWeb.h"

#include "CQVLiveDlg.h"

namespace qv {
namespace {

http::HttpTransportOptions TransportOptions() {
    // WinINet trusts the system's root store alone; an extra CA of the
    // network file is for the native transport.
    return http::HttpTransportOptions{};
}

}  // namespace

CDlgQVLiveWeb::CDlgQVLiveWeb(HINSTANCE instance, CQVLiveDlg& main)
    : CPageDialog(instance, IDD_QVLIVE_WEB),
      main_(main),
      transport_(TransportOptions()),
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
