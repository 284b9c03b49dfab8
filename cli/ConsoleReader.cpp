#include "ConsoleReader.h"

#include <utility>

#include "LoadAccounts.h"

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
      log_(*this, ports.clock),
      check_(ReaderCheckPorts{settings_, ports.files, ports.clock, ports.zone, ports.internet,
                              *browser_, ports.timers, ports.timers},
             ReaderCheckViews{*this, *this}, log_, state_, programFolder_, std::move(config)) {}

ConsoleReader::~ConsoleReader() {
    ports_.timers.KillTimer(kSignOutGraceTimer);
}

bool ConsoleReader::Start(const CliOptions& options) {
    mode_ = options.mode;

    check_.Load(options.timeoutMs);
    if (check_.Accounts().Empty()) {
        err_(L"no account in " + programFolder_ + kAccountFile);
        return false;
    }
    CheckScheduler& scheduler = check_.Scheduler();
    if (options.intervalIndex) scheduler.OnIntervalSelected(*options.intervalIndex);

    if (mode_ == CheckMode::Automatic) {
        scheduler.OnAutoClicked();
        exitCode_ = 0;
        return true;
    }
    scheduler.OnNowClicked();
    if (state_.checkState == kCheckManual) return true;
    // StartRun has told the log of a missing connection; an empty check
    // list it leaves to the caller.
    if (scheduler.CheckList().empty()) {
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
    check_.Scheduler().FinishRun();
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
        check_.Scheduler().FinishRun();
    }
    QuitAfterSignOut();
}

void ConsoleReader::QuitAfterSignOut() {
    if (quitting_) return;
    quitting_ = true;
    check_.Scheduler().StopClock();  // no new check starts meanwhile
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
