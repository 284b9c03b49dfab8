#pragma once
// The reader without windows: the account list, the scheduler, the web
// session and the activity log of the program, with the console in the
// place of the windows. Every log line is written out as it is added; the
// faces of buttons, the tray and the data page have nothing to show here.

#include <functional>
#include <memory>
#include <string>

#include "ActivityLog.h"
#include "Browser.h"
#include "BrowserSession.h"
#include "CheckScheduler.h"
#include "CliOptions.h"
#include "Clock.h"
#include "FileSystem.h"
#include "InternetState.h"
#include "NetworkConfig.h"
#include "PacificZoneSource.h"
#include "ProfileStore.h"
#include "ReaderCheck.h"
#include "ReaderState.h"
#include "Settings.h"
#include "Timers.h"

namespace qv::cli {

struct ConsolePorts {
    IProfileStore& profiles;
    const IFileSystem& files;
    const IClock& clock;
    const IPacificZoneSource& zone;
    ITimers& timers;
    IBrowser& browser;
    const IInternetState& internet;
};

class ConsoleReader final : public IActivityLogView,
                            public ICheckSchedulerView,
                            public IBrowserSessionView {
public:
    using Writer = std::function<void(const std::wstring& line)>;

    // programFolder ends with its separator. `out` takes the log lines,
    // `err` the program's own complaints; `quit` ends the event loop.
    ConsoleReader(const ConsolePorts& ports, std::wstring programFolder, NetworkConfig config,
                  Writer out, Writer err, std::function<void()> quit);
    ~ConsoleReader() override;
    ConsoleReader(const ConsoleReader&) = delete;
    ConsoleReader& operator=(const ConsoleReader&) = delete;

    // Loads the accounts and starts the mode. False, with the reason told on
    // `err`, when the program cannot run at all; the loop is not needed then.
    bool Start(const CliOptions& options);
    // Ctrl+C or a termination request: a running check ends as its Stop
    // button ends it (signed out, "Last Login" written), then the loop ends.
    void Interrupt();
    // 0 when the manual check ran to its end or the automatic checks were
    // interrupted; 1 when the program could not run; kExitInterrupted when a
    // manual check was interrupted before its end.
    static constexpr int kExitInterrupted = 130;
    int ExitCode() const { return exitCode_; }

    // IActivityLogView
    void InsertLine(int position, const std::wstring& text) override;
    // ICheckSchedulerView: no buttons, no tray here.
    void SelectInterval(int) override {}
    void SetNowFace(NowFace) override {}
    void EnableNow(bool) override {}
    void SetAutoFace(AutoFace) override {}
    void ShowLogPage() override {}
    void StartTrayAnimation() override {}
    void StopTrayAnimation() override {}
    // IBrowserSessionView
    void ShowNewItemsBalloon(const CMyObject&, int) override {}
    void RecordsImported(const CMyObject&, const std::vector<RecentList::Record>&) override {}
    void FinishRun() override;

private:
    class WatchedBrowser;

    // Ends the loop once the sign-out the finished check sent has loaded,
    // or after a grace period when it does not.
    void QuitAfterSignOut();

    ConsolePorts ports_;
    std::wstring programFolder_;
    Writer out_;
    Writer err_;
    std::function<void()> quit_;
    CheckMode mode_ = CheckMode::Manual;
    bool quitting_ = false;
    int exitCode_ = 1;

    ReaderState state_;
    Settings settings_;
    std::unique_ptr<WatchedBrowser> browser_;
    ActivityLog log_;
    ReaderCheck check_;
};

}  // namespace qv::cli
