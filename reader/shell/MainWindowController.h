#pragma once
// The behaviour of the reader's main window: start-up work that needs the
// window, the tray icon and its menu commands, the close decision and the
// page switch. The window object forwards its messages here and paints.

#include <cstdint>

#include "Clock.h"
#include "FileSystem.h"
#include "MainWindowView.h"
#include "ReaderState.h"
#include "Registry.h"
#include "Settings.h"
#include "TrayIcon.h"
#include "WindowMessages.h"

namespace qv {

class PacificClock;

inline constexpr wchar_t kMainWindowTitle[] = L"Corvane Transactions Reader";
inline constexpr int kMainWindowWidth = 480;
inline constexpr int kMainWindowHeight = 470;
inline constexpr int kExitCode = -1;

struct MainWindowPorts {
    Settings& settings;
    const IFileSystem& files;
    IRegistry& registry;
    INotifyIcon& notifyIcon;
    PacificClock& pacific;
    const IClock& clock;
};

class MainWindowController {
public:
    MainWindowController(IMainWindowView& view, ReaderState& state, const MainWindowPorts& ports);

    // The window's initialisation, in its fixed order.
    void Initialise();

    void OnTrayCallback(std::uintptr_t iconId, std::uint32_t mouseMessage);
    void OnCloseButton();
    void OnShowCommand();
    void ExitProgram();
    // Selects the tab and shows its page alone; other indexes do nothing.
    void ShowPage(int index);

    // True when a paint must hide the window first (started with "-A" and
    // not yet shown by the user).
    bool HideOnPaint() const { return state_.startHidden != 0; }

    TrayIcon& Tray() { return tray_; }
    const TrayIcon& Tray() const { return tray_; }
    int CurrentPage() const { return currentPage_; }

private:
    IMainWindowView& view_;
    ReaderState& state_;
    MainWindowPorts ports_;
    TrayIcon tray_;
    int currentPage_ = 0;
};

}  // namespace qv
