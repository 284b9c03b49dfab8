#include "ReaderCheck.h"

#include <utility>

#include "FirstStart.h"
#include "LoadAccounts.h"
#include "PacificClock.h"
#include "SettingKeys.h"
#include "TimeoutSetting.h"

namespace qv {

ReaderCheck::ReaderCheck(const ReaderCheckPorts& ports, const ReaderCheckViews& views,
                         ActivityLog& log, ReaderState& state, std::wstring programFolder,
                         NetworkConfig config)
    : ports_(ports),
      state_(state),
      programFolder_(std::move(programFolder)),
      accountFile_(programFolder_ + kAccountFile),
      planner_(ports.zone, ports.clock, config, programFolder_),
      session_(ports.browser, ports.sessionTimers, state, log, views.session, config,
               programFolder_),
      scheduler_(
          views.scheduler, state, log, planner_, session_,
          CheckSchedulerPorts{ports.settings, ports.clock, ports.schedulerTimers, ports.internet}) {
}

void ReaderCheck::Load(std::optional<int> timeoutMs) {
    accountFile_.Accept();
    LoadAccounts(programFolder_, accounts_);
    // The reader's first start: its defaults, "Last Login" seeded from the
    // Pacific clock. Nothing happens when the file is there already.
    PacificClock pacific(ports_.zone, ports_.clock);
    EnsureFirstStartSettings(ports_.settings, ports_.files, pacific, ports_.clock);
    state_.timeoutMs =
        timeoutMs
            ? *timeoutMs
            : TimeoutForIndex(ports_.settings.Read(kGeneralSection, kTimeoutKey), kTimeoutAtLoadMs);
    scheduler_.Initialise(accounts_.Head());
}

bool ReaderCheck::ReloadIfChanged() {
    // A running check holds references into the list; it waits for the end.
    if (state_.checkState != kCheckIdle || !accountFile_.Poll()) return false;
    accountFile_.Accept();
    if (!ReloadAccounts(programFolder_, accounts_)) return false;
    scheduler_.SetAccountHead(accounts_.Head());
    return true;
}

}  // namespace qv
