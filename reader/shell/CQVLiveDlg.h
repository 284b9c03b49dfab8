#pragma once
// The reader's main window: a borderless dialog that owns the five pages and
// the notification-area icon. Its behaviour lives in MainWindowController;
// this class forwards messages to it, carries out what it asks of a window
// and paints.

#include <memory>
#include <optional>

#include "CDlgQVLiveAccount.h"
#include "CDlgQVLiveData.h"
#include "CDlgQVLiveLog.h"
#include "CDlgQVLiveSettings.h"
#include "CDlgQVLiveWeb.h"
#include "CMyObject.h"
#include "CNButtonEx.h"
#include "CNTabCtrlEx.h"
#include "DialogBase.h"
#include "MainWindowController.h"
#include "ReaderPorts.h"
#include "Win32NotifyIcon.h"
#include "Win32SystemPorts.h"
#include "WinHandles.h"

namespace qv {

class CQVLiveDlg final : public win::DialogBase, private IMainWindowView {
public:
    CQVLiveDlg(HINSTANCE instance, const ReaderPorts& ports);
    ~CQVLiveDlg() override;

    // The exit code the window asked for when it ended.
    int ExitCode() const { return exitCode_; }

    const ReaderPorts& Ports() const { return ports_; }
    CDlgQVLiveLog& LogPage() { return logPage_; }
    CDlgQVLiveWeb& WebPage() { return webPage_; }
    CDlgQVLiveAccount& AccountPage() { return accountPage_; }

    // What the pages ask of the main window.
    void ShowPage(int index);
    void StartTrayAnimation();
    void StopTrayAnimation();
    void ShowNewItemsBalloon(const CMyObject& account, int count);
    // The last balloon's texts, as the shell was given them.
    const std::wstring& BalloonTitle() const { return controller_->Tray().BalloonTitle(); }
    const std::wstring& BalloonText() const { return controller_->Tray().BalloonText(); }
    // The tree's Data link: the data page for a group or an account.
    void ShowAccountData(CMyObject& item);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void PaintBackground(HDC dc, const RECT& client) override { PaintContent(dc, client); }

private:
    // IMainWindowView
    void ResizeWindow(int width, int height) override;
    void SetUpCloseButton() override;
    void SetUpTabStrip() override;
    void SelectTab(int index) override;
    void CreatePages() override;
    void LayOutControls() override;
    void SetTitle(const wchar_t* title) override;
    void ShowMainWindow(bool visible) override;
    void ShowPageWindow(Page page, bool visible) override;
    void OpenTrayMenu() override;
    void EndProgram(int exitCode) override;

    void Paint();
    void PaintContent(HDC dc, const RECT& client);
    bool OnCommand(WORD id);

    ReaderPorts ports_;
    win::UniqueIcon bigIcon_;
    win::UniqueIcon smallIcon_;
    win::UniqueMenu trayMenu_;
    UINT taskbarCreated_ = 0;
    int exitCode_ = 0;

    CNButtonEx closeButton_;
    CNTabCtrlEx tabs_;
    CDlgQVLiveAccount accountPage_;
    CDlgQVLiveLog logPage_;
    CDlgQVLiveData dataPage_;
    CDlgQVLiveSettings settingsPage_;
    CDlgQVLiveWeb webPage_;

    std::optional<win::Win32NotifyIcon> notifyIcon_;
    std::optional<MainWindowController> controller_;
};

}  // namespace qv
