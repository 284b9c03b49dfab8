#include "CDlgQVLiveAccount.h"

#include "AccountPageLayout.h"
#include "CQVLiveDlg.h"
#include "Gdi.h"
#include "TimerIds.h"
#include "WinHandles.h"

namespace qv {
namespace {

constexpr COLORREF kPageFill = RGB(232, 232, 232);
constexpr COLORREF kPanelFrame = RGB(163, 163, 163);
constexpr int kPanelInset = 5;
constexpr int kPanelBottomGap = 90;   // the panel ends this far above the page's bottom
constexpr int kStripFromBottom = 85;  // the strip is 83 pixels high
constexpr int kStripRightWidth = 150;

void Blit(HDC target, int x, int y, HBITMAP bitmap) {
    const win::BitmapDc source(bitmap);
    if (!source) return;
    const SIZE size = win::BitmapSize(bitmap);
    ::BitBlt(target, x, y, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
}

}  // namespace

CDlgQVLiveAccount::CDlgQVLiveAccount(HINSTANCE instance, CQVLiveDlg& main)
    : CPageDialog(instance, IDD_QVLIVE_ACCOUNT), main_(main) {}

CDlgQVLiveAccount::~CDlgQVLiveAccount() = default;

BOOL CDlgQVLiveAccount::OnInitDialog() {
    tree_.Attach(Handle(), IDC_ACCOUNT_TREE);
    tree_.SetDataLinkHandler([this](CMyObject& node) { main_.ShowAccountData(node); });
    now_.Attach(Handle(), IDC_NOW_BUTTON);
    auto_.Attach(Handle(), IDC_AUTO_BUTTON);
    label_.Attach(Handle(), IDC_TIME_LABEL);
    label_.SetBackColour(CNStaticEx::kTransparent);
    for (const wchar_t* text : kIntervalTexts) {
        ::SendDlgItemMessageW(Handle(), IDC_TIME_PERIOD, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(text));
    }
    timers_.SetWindow(Handle());
    stripLeft_ = win::LoadBitmapResource(IDB_ACCOUNT_STRIP_LEFT);
    stripMiddle_ = win::LoadBitmapResource(IDB_ACCOUNT_STRIP_MIDDLE);
    stripRight_ = win::LoadBitmapResource(IDB_ACCOUNT_STRIP_RIGHT);

    const ReaderPorts& ports = main_.Ports();
    CDlgQVLiveWeb& web = main_.WebPage();
    check_.emplace(ReaderCheckPorts{ports.settings, ports.files, ports.clock, ports.zone,
                                    ports.internet, web.Browser(), timers_, web.Timers()},
                   ReaderCheckViews{*this, web}, main_.LogPage().Log(), ports.state,
                   ports.programFolder, ports.network);
    check_->Load();
    tree_.ShowAccounts(check_->Accounts());
    // The sibling program may change the accounts while the reader runs.
    timers_.SetTimer(kAccountFileTimer, kAccountFileMs, [this] {
        if (check_->ReloadIfChanged()) tree_.ShowAccounts(check_->Accounts());
    });
    return TRUE;
}

void CDlgQVLiveAccount::FinishRun() {
    if (check_) check_->Scheduler().FinishRun();
}

void CDlgQVLiveAccount::SelectInterval(int index) {
    // An index outside the list selects nothing, as -1 does.
    const int selection =
        index >= 0 && index < static_cast<int>(kIntervalTexts.size()) ? index : -1;
    ::SendDlgItemMessageW(Handle(), IDC_TIME_PERIOD, CB_SETCURSEL, static_cast<WPARAM>(selection),
                          0);
}

void CDlgQVLiveAccount::SetNowFace(NowFace face) {
    SetButtonFace(now_, FaceOf(face));
}

void CDlgQVLiveAccount::EnableNow(bool enabled) {
    now_.EnableButton(enabled);
}

void CDlgQVLiveAccount::SetAutoFace(AutoFace face) {
    SetButtonFace(auto_, FaceOf(face));
}

void CDlgQVLiveAccount::ShowLogPage() {
    main_.ShowPage(1);
}

void CDlgQVLiveAccount::StartTrayAnimation() {
    main_.StartTrayAnimation();
}

void CDlgQVLiveAccount::StopTrayAnimation() {
    main_.StopTrayAnimation();
}

bool CDlgQVLiveAccount::OnCommand(WORD id, WORD code) {
    if (!check_) return false;
    CheckScheduler& scheduler = check_->Scheduler();
    switch (id) {
        case IDC_NOW_BUTTON:
            if (code == BN_CLICKED) scheduler.OnNowClicked();
            return true;
        case IDC_AUTO_BUTTON:
            if (code == BN_CLICKED) scheduler.OnAutoClicked();
            return true;
        case IDC_TIME_PERIOD:
            if (code == CBN_SELCHANGE) {
                scheduler.OnIntervalSelected(static_cast<int>(
                    ::SendDlgItemMessageW(Handle(), IDC_TIME_PERIOD, CB_GETCURSEL, 0, 0)));
            }
            return true;
        default:
            return false;
    }
}

bool CDlgQVLiveAccount::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
        case WM_TIMER:
            if (!timers_.OnTimer(static_cast<UINT_PTR>(wParam))) return false;
            result = 0;
            return true;
        case WM_COMMAND:
            if (!OnCommand(LOWORD(wParam), HIWORD(wParam))) break;
            result = 0;
            return true;
        default:
            break;
    }
    return CPageDialog::OnMessage(message, wParam, lParam, result);
}

void CDlgQVLiveAccount::PaintBackground(HDC dc, const RECT& client) {
    win::UniqueBrush fill(::CreateSolidBrush(kPageFill));
    ::FillRect(dc, &client, fill.get());

    const RECT panel{client.left + kPanelInset, client.top + kPanelInset,
                     client.right - kPanelInset, client.bottom - kPanelBottomGap};
    win::UniquePen frame(::CreatePen(PS_INSIDEFRAME, 1, kPanelFrame));
    {
        win::SelectObjectScope pen(dc, frame.get());
        win::SelectObjectScope brush(dc, ::GetStockObject(WHITE_BRUSH));
        ::RoundRect(dc, panel.left, panel.top, panel.right, panel.bottom, 10, 10);
    }

    // The strip under the panel, where the buttons sit.
    const int top = client.bottom - kStripFromBottom;
    const int rightPart = client.right - kStripRightWidth;
    Blit(dc, kPanelInset, top, stripLeft_.get());
    const int tile = win::BitmapSize(stripMiddle_.get()).cx;
    if (tile > 0) {
        for (int x = kPanelInset + 6; x < rightPart; x += tile)
            Blit(dc, x, top, stripMiddle_.get());
    }
    Blit(dc, rightPart, top, stripRight_.get());
}

}  // namespace qv
