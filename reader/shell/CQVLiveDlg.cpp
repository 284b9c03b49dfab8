#include "CQVLiveDlg.h"

#include <shellapi.h>

#include "Gdi.h"
#include "MainWindowLayout.h"
#include "TimerIds.h"
#include "resource.h"

namespace qv {
namespace {

constexpr COLORREF kFillColour = 0xE8E8E8;
constexpr COLORREF kTitleColour = 0xFFFFFF;

HICON LoadIconSized(HINSTANCE instance, int id, int metricX, int metricY) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                           ::GetSystemMetrics(metricX), ::GetSystemMetrics(metricY),
                                           LR_DEFAULTCOLOR));
}

}  // namespace

CQVLiveDlg::CQVLiveDlg(HINSTANCE instance, const ReaderPorts& ports)
    : DialogBase(instance, IDD_QVLIVE_DIALOG),
      ports_(ports),
      bigIcon_(LoadIconSized(instance, IDI_QVREADER, SM_CXICON, SM_CYICON)),
      smallIcon_(LoadIconSized(instance, IDI_QVREADER, SM_CXSMICON, SM_CYSMICON)),
      accountPage_(instance, *this),
      logPage_(instance, ports.clock),
      dataPage_(instance),
      settingsPage_(instance, ports_),
      webPage_(instance, *this) {}

CQVLiveDlg::~CQVLiveDlg() = default;

BOOL CQVLiveDlg::OnInitDialog() {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    // Explorer announces its restart with this message; the icon is then gone
    // from the notification area and must be added again.
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");

    notifyIcon_.emplace(Instance(), Handle());
    const MainWindowPorts ports{ports_.settings, ports_.files,   ports_.registry,
                                *notifyIcon_,    ports_.pacific, ports_.clock};
    controller_.emplace(static_cast<IMainWindowView&>(*this), ports_.state, ports);
    controller_->Initialise();
    return TRUE;
}

void CQVLiveDlg::ResizeWindow(int width, int height) {
    ::SetWindowPos(Handle(), nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQVLiveDlg::SetUpCloseButton() {
    closeButton_.Attach(Handle(), IDC_CLOSE_BUTTON);
    SetButtonFace(closeButton_, kCloseButtonFace);
}

void CQVLiveDlg::SetUpTabStrip() {
    tabs_.Attach(Handle(), IDC_TAB_PLACEHOLDER);
    tabs_.SetTabCount();
    const Rect& at = kTabStripBounds;
    ::SetWindowPos(tabs_.Handle(), nullptr, at.left, at.top, at.Width(), at.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < static_cast<int>(kTabs.size()); ++i) {
        const TabLayout& tab = kTabs[static_cast<std::size_t>(i)];
        tabs_.SetTabRect(i, tab.rect);
        tabs_.SetTabBitmaps(i, tab.normal, tab.hover, tab.selected);
    }
}

void CQVLiveDlg::SelectTab(int index) {
    tabs_.SetSelection(index);
}

void CQVLiveDlg::CreatePages() {
    // Each page answers to its template id as a child of this window, so
    // GetDlgItem finds it (tests and accessibility tools look pages up so).
    const auto create = [this](win::DialogBase& page, int id) {
        if (page.Create(Handle())) ::SetWindowLongPtrW(page.Handle(), GWLP_ID, id);
    };
    create(accountPage_, IDD_QVLIVE_ACCOUNT);
    create(logPage_, IDD_QVLIVE_LOG);
    create(dataPage_, IDD_QVLIVE_DATA);
    create(settingsPage_, IDD_QVLIVE_SETTINGS);
    create(webPage_, IDD_QVLIVE_WEB);
}

void CQVLiveDlg::ShowPage(int index) {
    controller_->ShowPage(index);
}

void CQVLiveDlg::StartTrayAnimation() {
    ::SetTimer(Handle(), kTrayAnimationTimer, kTrayAnimationMs, nullptr);
}

void CQVLiveDlg::StopTrayAnimation() {
    ::KillTimer(Handle(), kTrayAnimationTimer);
    controller_->Tray().RestoreTrayIcon();
}

void CQVLiveDlg::ShowAccountData(CMyObject&) {
    // Tab 2 selected and the data page alone shown; the data page lists
    // the item's records once it has its list.
    controller_->ShowPage(static_cast<int>(Page::Data));
}

void CQVLiveDlg::ShowNewItemsBalloon(const CMyObject& account, int count) {
    controller_->Tray().ShowNewItemsBalloon(account.m_strNickname, count);
}

void CQVLiveDlg::LayOutControls() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (HWND close = ::GetDlgItem(Handle(), IDC_CLOSE_BUTTON)) {
        ::SetWindowPos(close, nullptr, client.right - kCloseButtonFromRight, kCloseButtonTop, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const auto place = [](const win::DialogBase& page, int x, int y) {
        if (page.Handle() != nullptr) {
            ::SetWindowPos(page.Handle(), nullptr, x, y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    };
    place(accountPage_, 14, 74);
    place(logPage_, 14, 74);
    place(dataPage_, 14, 74);
    place(settingsPage_, 14, 74);
    // Almost wholly outside the window: the browser page is never seen.
    place(webPage_, 454, 74);
}

void CQVLiveDlg::SetTitle(const wchar_t* title) {
    ::SetWindowTextW(Handle(), title);
}

void CQVLiveDlg::ShowMainWindow(bool visible) {
    ::ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
}

void CQVLiveDlg::ShowPageWindow(Page page, bool visible) {
    const win::DialogBase* pages[] = {&accountPage_, &logPage_, &dataPage_, &settingsPage_};
    const HWND hwnd = pages[static_cast<int>(page)]->Handle();
    if (hwnd != nullptr) ::ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

void CQVLiveDlg::OpenTrayMenu() {
    if (!trayMenu_) {
        trayMenu_.reset(::CreatePopupMenu());
        ::AppendMenuW(trayMenu_.get(), MF_STRING, ID_TRAY_SHOW, L"Show(&S)");
        ::AppendMenuW(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(trayMenu_.get(), MF_STRING, ID_TRAY_EXIT, L"Exit(&C)");
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(Handle());
    ::TrackPopupMenu(trayMenu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, cursor.x,
                     cursor.y, 0, Handle(), nullptr);
}

void CQVLiveDlg::EndProgram(int exitCode) {
    exitCode_ = exitCode;
    ::PostQuitMessage(exitCode);
}

bool CQVLiveDlg::OnCommand(WORD id) {
    switch (id) {
        case IDOK:
        case IDCANCEL:
            return true;  // Enter, Esc and the system Close leave the window as it is
        case IDC_CLOSE_BUTTON:
            controller_->OnCloseButton();
            return true;
        case ID_TRAY_EXIT:
            controller_->ExitProgram();
            return true;
        case ID_TRAY_SHOW:
            controller_->OnShowCommand();
            return true;
        default:
            return false;
    }
}

bool CQVLiveDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (!controller_) return false;
    if (taskbarCreated_ != 0 && message == taskbarCreated_) {
        controller_->Tray().Add();
        result = 0;
        return true;
    }
    switch (message) {
        case WM_PAINT:
            Paint();
            result = 0;
            return true;
        case WM_ERASEBKGND:
            result = TRUE;  // the paint covers the whole client area
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<INT_PTR>(bigIcon_.get());
            return true;
        case WM_COMMAND:
            result = 0;
            return OnCommand(LOWORD(wParam));
        case WM_TIMER:
            if (wParam == kTrayAnimationTimer) controller_->Tray().StepTrayAnimation();
            result = 0;
            return true;
        case kShowPageMessage:
            controller_->ShowPage(static_cast<int>(lParam));
            result = 0;
            return true;
        case WM_WINDOWPOSCHANGING:
            // Started hidden means never seen: the dialog's own show after
            // its initialisation, and the modal loop's show when it first
            // goes idle, are turned away until the user asks for the window.
            if (controller_->HideOnPaint()) {
                reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
            }
            return false;
        case kTrayCallbackMessage:
            controller_->OnTrayCallback(wParam, static_cast<std::uint32_t>(lParam));
            result = 0;
            return true;
        default:
            return false;
    }
}

void CQVLiveDlg::Paint() {
    win::PaintScope paint(Handle());
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (::IsIconic(Handle())) {
        const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::SendMessageW(Handle(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
        ::DrawIcon(paint.Dc(), x, y, bigIcon_.get());
        return;
    }
    if (controller_->HideOnPaint()) ::ShowWindow(Handle(), SW_HIDE);
    win::DoubleBuffer buffer(paint.Dc(), client.right, client.bottom);
    if (!buffer.Ready()) return;
    PaintContent(buffer.Dc(), client);
    buffer.CopyTo(paint.Dc());
}

void CQVLiveDlg::PaintContent(HDC dc, const RECT& client) {
    win::UniqueBrush fill(::CreateSolidBrush(kFillColour));
    ::FillRect(dc, &client, fill.get());
    ::DrawIconEx(dc, 8, 6, smallIcon_.get(), 16, 16, 0, nullptr, DI_NORMAL);

    ::SetTextColor(dc, kTitleColour);
    ::SetBkMode(dc, TRANSPARENT);
    const std::wstring_view title = kMainWindowTitle;
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, title.data(), static_cast<int>(title.size()), &extent);
    RECT titleRect{30, 7, 30 + extent.cx, 7 + extent.cy};
    ::DrawTextW(dc, title.data(), static_cast<int>(title.size()), &titleRect,
                DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace qv
