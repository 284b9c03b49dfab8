#include "ConsoleReader.h"

#include <utility>

#include "FirstStart.h"
#include "LoadAccounts.h"
#include "PacificClock.h"
#include "TimeoutSetting.h"

namespace qv::cli {
namespace {

// After a finished check, how long the sign-out may take before the program
// ends all the same.
constexpr std::uint32_t kSignOutGraceTimer = 9001;
constexpr std::uint32_t kSignOutGraceMs = 15000;

}  // namespace

// The browser as the session sees it, with a note of whether a document is
// still awaited, so the program can end once the last sign-out has loaded.
class ConsoleReader::WatchedBrowser final : public IBrowser {
public:
    explicit WatchedBrowser(IBrowser& inner) : inner_(inner) {
        inner_.SetDocumentCompleteHandler([this](const std::wstring& url) {
            pending_ = false;
            if (handler_) handler_(url);
            if (!pending_ && idle_) idle_();
        });
        inner_.SetNavigationFailedHandler([this](const std::wstring& url, const LoadError& error) {
            pending_ = false;
            if (failed_) failed_(url, error);
            if (!pending_ && idle_) idle_();
        });
    }
    ~WatchedBrowser() override {
        inner_.SetDocumentCompleteHandler({});
        inner_.SetNavigationFailedHandler({});
    }

    // Runs after a document completes that no newer navigation followed.
    void OnIdle(std::function<void()> idle) { idle_ = std::move(idle); }
    bool Pending() const { return pending_; }

    void SetDocumentCompleteHandler(DocumentCompleteHandler handler) override {
        handler_ = std::move(handler);
    }
    void SetNavigationFailedHandler(NavigationFailedHandler handler) override {
        failed_ = std::move(handler);
    }
    void Navigate(const std::wstring& url) override {
        pending_ = true;
        inner_.Navigate(url);
    }
    void Stop() override {
        pending_ = false;
        inner_.Stop();
    }
    std::wstring LocationUrl() const override { return inner_.LocationUrl(); }
    std::optional<std::wstring> InnerHtml(std::wstring_view id) const override {
        return inner_.InnerHtml(id);
    }
    bool SetOuterHtml(std::wstring_view id, std::wstring_view markup) override {
        return inner_.SetOuterHtml(id, markup);
    }
    bool Click(std::wstring_view id) override {
        // A click that submits a form starts a navigation of the engine.
        const bool clicked = inner_.Click(id);
        if (clicked) pending_ = true;
        return clicked;
    }

private:
    IBrowser& inner_;
    DocumentCompleteHandler handler_;
    NavigationFailedHandler failed_;
    std::function<void()> idle_;
    bool pending_ = false;
};

ConsoleReader::ConsoleReader(const ConsolePorts& ports, std::wstring programFolder,
                             NetworkConfig config, Writer out, Writer err,
                             std::function<void()> quit)
    : ports_(ports),
      programFolder_(std::move(programFolder)),
      out_(std::move(out)),
      err_(std::move(err)),
      quit_(std::move(quit)),
      settings_(ports.profiles, programFolder_),
      browser_(std::make_unique<WatchedBrowser>(ports.browser)),
      planner_(ports.zone, ports.clock, config, programFolder_),
      log_(*this, ports.clock),
      session_(*browser_, ports.timers, state_, log_, *this, config, programFolder_),
      scheduler_(*this, state_, log_, planner_, session_,
                 CheckSchedulerPorts{settings_, ports.clock, ports.timers, ports.internet}) {}

ConsoleReader::~ConsoleReader() {
    ports_.timers.KillTimer(kSignOutGraceTimer);
}

bool ConsoleReader::Start(const CliOptions& options) {
    mode_ = options.mode;

    LoadAccounts(programFolder_, accounts_);
    if (accounts_.Empty()) {
        err_(L"no account in " + programFolder_ + kAccountFile);
        return false;
    }
    // The same first start as the reader's: its defaults, "Last Login"
    // seeded from the Pacific clock.
    PacificClock pacific(ports_.zone, ports_.clock);
    EnsureFirstStartSettings(settings_, ports_.files, pacific, ports_.clock);

    state_.timeoutMs =
        options.timeoutMs
            ? *options.timeoutMs
            : TimeoutForIndex(settings_.Read(kGeneralSection, kTimeoutKey), kTimeoutAtLoadMs);
    scheduler_.Initialise(accounts_.Head());
    if (options.intervalIndex) scheduler_.OnIntervalSelected(*options.intervalIndex);

    if (mode_ == CheckMode::Automatic) {
        scheduler_.OnAutoClicked();
        exitCode_ = 0;
        return true;
    }
    scheduler_.OnNowClicked();
    if (state_.checkState == kCheckManual) return true;
    // StartRun has told the log of a missing connection; an empty check
    // list it leaves to the caller.
    if (scheduler_.CheckList().empty()) {
        err_(L"no account is switched on in " + programFolder_ + kAccountFile);
    } else {
        err_(L"the check could not start");
    }
    return false;
}

void ConsoleReader::InsertLine(int, const std::wstring& text) {
    out_(text);
}

void ConsoleReader::FinishRun() {
    scheduler_.FinishRun();
    if (mode_ == CheckMode::Manual) {
        exitCode_ = 0;
        QuitAfterSignOut();
    }
}

void ConsoleReader::Interrupt() {
    if (quitting_) return;
    if (state_.checkState != kCheckIdle) {
        // A manual check stopped half-way did not do its job; automatic
        // checking ends this way by design.
        if (mode_ == CheckMode::Manual) exitCode_ = kExitInterrupted;
        scheduler_.FinishRun();
    }
    QuitAfterSignOut();
}

void ConsoleReader::QuitAfterSignOut() {
    if (quitting_) return;
    quitting_ = true;
    scheduler_.StopClock();  // no new check starts meanwhile
    if (!browser_->Pending()) {
        quit_();
        return;
    }
    browser_->OnIdle([this] { quit_(); });
    ports_.timers.SetTimer(kSignOutGraceTimer, kSignOutGraceMs, [this] {
        ports_.timers.KillTimer(kSignOutGraceTimer);
        quit_();
    });
}

}  // namespace qv::cli
