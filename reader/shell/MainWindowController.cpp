#include "MainWindowController.h"

#include "FirstStart.h"
#include "SettingKeys.h"

namespace qv {
namespace {

constexpr wchar_t kInternetSettingsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

}  // namespace

MainWindowController::MainWindowController(IMainWindowView& view, ReaderState& state,
                                           const MainWindowPorts& ports)
    : view_(view), state_(state), ports_(ports), tray_(ports.notifyIcon, kTrayCallbackMessage) {}

void MainWindowController::Initialise() {
    EnsureFirstStartSettings(ports_.settings, ports_.files, ports_.pacific, ports_.clock);
    // Keeps the platform from asking the user whenever the marketplace
    // redirects from a secure page to a plain one; failures do not matter.
    ports_.registry.SetCurrentUserDword(kInternetSettingsKey, L"WarnOnHTTPSToHTTPRedirect", 0);
    view_.ResizeWindow(kMainWindowWidth, kMainWindowHeight);
    view_.SetUpCloseButton();
    view_.SetUpTabStrip();
    view_.SelectTab(currentPage_);
    view_.CreatePages();
    tray_.Add();
    ShowPage(currentPage_);
    view_.LayOutControls();
    view_.SetTitle(kMainWindowTitle);
}

void MainWindowController::OnTrayCallback(std::uintptr_t iconId, std::uint32_t mouseMessage) {
    if (iconId != static_cast<std::uintptr_t>(tray_.Record().id)) return;
    if (mouseMessage == kMouseLeftDoubleClick) {
        OnShowCommand();
    } else if (mouseMessage == kMouseRightDown) {
        view_.OpenTrayMenu();
    }
}

void MainWindowController::OnShowCommand() {
    state_.startHidden = 0;
    view_.ShowMainWindow(true);
}

void MainWindowController::OnCloseButton() {
    // A missing key reads as -1 and so also keeps the reader in the tray.
    if (ports_.settings.Read(L"Exit settings", L"Tray") != 0) {
        view_.ShowMainWindow(false);
    } else {
        ExitProgram();
    }
}

void MainWindowController::ExitProgram() {
    if (state_.checkState != kCheckIdle) return;
    ports_.settings.Write(kGeneralSection, kIntervalKey, state_.intervalIndex);
    tray_.Delete();
    view_.EndProgram(kExitCode);
}

void MainWindowController::ShowPage(int index) {
    if (index < 0 || index >= kPageCount) return;
    currentPage_ = index;
    // When the user picked the tab it is selected already; this repaints nothing then.
    view_.SelectTab(index);
    for (int page = 0; page < kPageCount; ++page) {
        view_.ShowPageWindow(static_cast<Page>(page), page == index);
    }
}

}  // namespace qv
