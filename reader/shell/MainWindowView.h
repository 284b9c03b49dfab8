#pragma once
// What the main window's logic asks of the window that shows it.

namespace qv {

enum class Page : int { Accounts = 0, Log = 1, Data = 2, Settings = 3 };
inline constexpr int kPageCount = 4;

class IMainWindowView {
public:
    virtual ~IMainWindowView() = default;
    virtual void ResizeWindow(int width, int height) = 0;
    // Gives the close button its face and the tab strip its place, tabs
    // and images (MainWindowLayout.h).
    virtual void SetUpCloseButton() = 0;
    virtual void SetUpTabStrip() = 0;
    // Selects a tab without announcing it, and repaints the strip.
    virtual void SelectTab(int index) = 0;
    virtual void CreatePages() = 0;
    virtual void LayOutControls() = 0;
    virtual void SetTitle(const wchar_t* title) = 0;
    virtual void ShowMainWindow(bool visible) = 0;
    virtual void ShowPageWindow(Page page, bool visible) = 0;
    virtual void OpenTrayMenu() = 0;
    virtual void EndProgram(int exitCode) = 0;
};

}  // namespace qv
