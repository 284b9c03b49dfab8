#include "CheckScheduler.h"

#include "CivilDays.h"
#include "LastLogin.h"

namespace qv {

std::int64_t IntervalPeriodSeconds(int intervalIndex) {
    static constexpr std::int64_t kMinutes[] = {10, 20, 30, 60, 90, 120};
    if (intervalIndex < 0 || intervalIndex >= 6) return 0;
    return kMinutes[intervalIndex] * 60;
}

std::optional<std::int64_t> ReadLastLogin(const Settings& settings, const IClock& clock) {
    const auto [y, mo, d, h, mi, s] = ReadLastLoginFields(settings);
    // A missing key reads as -1 and fails one of these tests.
    if (y < 1900 || y > 9999 || mo < 1 || mo > 12 || d < 1 || d > DaysInMonth(y, mo) || h < 0 ||
        h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) {
        return std::nullopt;
    }
    return clock.MakeLocalTime(MakeCivilTime(y, mo, d, h, mi, s));
}

CheckScheduler::CheckScheduler(ICheckSchedulerView& view, ReaderState& state, ActivityLog& log,
                               CheckPlanner& planner, IWebSession& session,
                               const CheckSchedulerPorts& ports)
    : view_(view), state_(state), log_(log), planner_(planner), session_(session), ports_(ports) {}

CheckScheduler::~CheckScheduler() {
    StopClock();
}

void CheckScheduler::StopClock() {
    ports_.timers.KillTimer(kAutoClockTimer);
}

void CheckScheduler::Initialise(CMyObject* accountHead) {
    state_.intervalIndex = ports_.settings.Read(kGeneralSection, kIntervalKey);
    view_.SelectInterval(state_.intervalIndex);
    view_.SetNowFace(NowFace::ManualRun);
    view_.SetAutoFace(AutoFace::AutoRun);
    accountHead_ = accountHead;
    ports_.timers.SetTimer(kAutoClockTimer, kAutoClockMs, [this] { OnClockTick(); });
}

void CheckScheduler::OnIntervalSelected(int index) {
    state_.intervalIndex = index;
}

void CheckScheduler::OnNowClicked() {
    switch (state_.checkState) {
        case kCheckManual:
            FinishRun();
            break;
        case kCheckAutomatic:
            break;  // the button is disabled during an automatic check
        default:
            state_.checkState = kCheckManual;
            view_.ShowLogPage();
            if (!StartRun()) state_.checkState = kCheckIdle;
            break;
    }
}

void CheckScheduler::OnAutoClicked() {
    state_.autoCheck = state_.autoCheck ? 0 : 1;
    if (!state_.autoCheck) {
        view_.SetAutoFace(AutoFace::AutoRun);
        if (state_.checkState == kCheckAutomatic) FinishRun();
        return;
    }
    // Turned on again, the clock goes by "Last Login" alone: the user may
    // have mended what made the last automatic start fail.
    failedAutoStart_.reset();
    view_.ShowLogPage();
    view_.SetAutoFace(AutoFace::StopAutoRun);
}

void CheckScheduler::OnClockTick() {
    if (state_.checkState != kCheckIdle) return;
    if (!state_.autoCheck) return;

    const std::optional<std::int64_t> now = ports_.clock.MakeLocalTime(ports_.clock.LocalNow());
    if (!now) return;  // no time to measure by; a later tick tries again
    const std::int64_t reference = *now - IntervalPeriodSeconds(state_.intervalIndex);

    // A missing or impossible "Last Login" counts as long past, so the first
    // tick starts a check.
    const std::optional<std::int64_t> last = ReadLastLogin(ports_.settings, ports_.clock);
    if (last && !(reference > *last)) return;
    if (failedAutoStart_ && !(reference > *failedAutoStart_)) return;

    state_.checkState = kCheckAutomatic;
    if (StartRun()) {
        failedAutoStart_.reset();
        return;
    }
    // A failed automatic start (no account on, no connection) returns to
    // idle, so Now and exit work again, and tries again one period later;
    // "Last Login" is not written, as no check ran.
    state_.checkState = kCheckIdle;
    failedAutoStart_ = *now;
}

bool CheckScheduler::CollectCheckedAccounts() {
    checkList_.clear();
    for (CMyObject* node = accountHead_; node; node = node->m_pNext) {
        if (node->IsAccount() && node->m_bChecked == 1) checkList_.push_back(node);
    }
    return !checkList_.empty();
}

bool CheckScheduler::StartRun() {
    if (!CollectCheckedAccounts()) return false;

    if (!ports_.internet.IsConnected()) {
        log_.AddLogLine(kLogNoInternet);
        log_.AddLogLine(kLogSeparator);
        state_.online = 0;
        return false;
    }
    state_.online = 1;

    if (state_.checkState == kCheckAutomatic) {
        log_.AddLogLine(kLogStartAuto);
        view_.EnableNow(false);
    } else if (state_.checkState == kCheckManual) {
        log_.AddLogLine(kLogStartManual);
        view_.SetNowFace(NowFace::StopManualRun);
    } else {
        return false;
    }
    view_.StartTrayAnimation();

    if (!planner_.UpdatePacificNow(true)) {
        // Without the Pacific rules no report range can be worked out; the
        // started check is ended the ordinary way, which undoes its faces
        // and the animation.
        log_.AddNoteLine(L"The Pacific time zone cannot be read; no account can be checked.");
        FinishRun();
        return false;
    }
    // A database error while planning an account is told here, in a line of
    // its own naming the account and the database's description. The account
    // is left without a report address, and the session passes over it at
    // once; the other accounts are checked.
    for (const AccountPlan& plan : planner_.BuildReportAddresses(checkList_)) {
        if (plan.Failed()) log_.AddNoteLine(plan.errorText);
    }

    session_.BeginCheck(checkList_);
    return true;
}

void CheckScheduler::FinishRun() {
    session_.StopAndSignOut();
    if (state_.checkState == kCheckAutomatic) {
        view_.EnableNow(true);
        log_.AddLogLine(kLogFinishAuto);
    } else if (state_.checkState == kCheckManual) {
        view_.SetNowFace(NowFace::ManualRun);
        log_.AddLogLine(kLogFinishManual);
    }
    view_.StopTrayAnimation();

    const CivilTime now = ports_.clock.LocalNow();
    WriteLastLogin(ports_.settings,
                   {now.year, now.month, now.day, now.hour, now.minute, now.second});

    state_.checkState = kCheckIdle;
    log_.AddLogLine(kLogSeparator);
}

}  // namespace qv
