#pragma once
// The objects of a check, put together in one place for every front end:
// the account list loaded from account.ini, the planner, the web session
// and the scheduler, over the program's settings and its activity log. The
// console program and the account page differ only in the views and ports
// they hand in.

#include <optional>
#include <string>

#include "AccountFileWatch.h"
#include "AccountList.h"
#include "ActivityLog.h"
#include "Browser.h"
#include "BrowserSession.h"
#include "CheckPlanner.h"
#include "CheckScheduler.h"
#include "Clock.h"
#include "FileSystem.h"
#include "InternetState.h"
#include "NetworkConfig.h"
#include "PacificZoneSource.h"
#include "ReaderState.h"
#include "Settings.h"
#include "Timers.h"

namespace qv {

struct ReaderCheckPorts {
    Settings& settings;
    const IFileSystem& files;
    const IClock& clock;
    const IPacificZoneSource& zone;
    const IInternetState& internet;
    IBrowser& browser;
    // The automatic clock's timer, and the web session's step and time-out
    // timers: the account page's and the browser page's in the windows.
    ITimers& schedulerTimers;
    ITimers& sessionTimers;
};

struct ReaderCheckViews {
    ICheckSchedulerView& scheduler;
    IBrowserSessionView& session;
};

class ReaderCheck {
public:
    // programFolder ends with its separator. Every reference must outlive
    // the object.
    ReaderCheck(const ReaderCheckPorts& ports, const ReaderCheckViews& views, ActivityLog& log,
                ReaderState& state, std::wstring programFolder, NetworkConfig config);
    ReaderCheck(const ReaderCheck&) = delete;
    ReaderCheck& operator=(const ReaderCheck&) = delete;

    // Reads account.ini, writes the default settings when the settings file
    // is missing, arms the time-out from the settings (or the given one)
    // and starts the scheduler's clock. A missing account file leaves the
    // list empty.
    void Load(std::optional<int> timeoutMs = std::nullopt);

    // Reads account.ini again when it changed on disk and no check runs;
    // the accounts still there keep their nodes and ON/OFF state. True
    // when the account list changed (the tree is to be filled again).
    bool ReloadIfChanged();

    AccountList& Accounts() { return accounts_; }
    CheckScheduler& Scheduler() { return scheduler_; }
    BrowserSession& Session() { return session_; }
    const std::wstring& ProgramFolder() const { return programFolder_; }

private:
    ReaderCheckPorts ports_;
    ReaderState& state_;
    std::wstring programFolder_;
    AccountList accounts_;
    AccountFileWatch accountFile_;
    CheckPlanner planner_;
    BrowserSession session_;
    CheckScheduler scheduler_;
};

}  // namespace qv
