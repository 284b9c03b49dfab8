#pragma once
// The scheduler of the account page: manual checks with the Now button,
// automatic ones with the Auto button and the chosen period, measured from
// the end of the last check ("Last Login" in QVSetting.ini). It keeps the
// check state and the online flag, has the planner prepare every account and
// hands the check list to the web session. Windows are reached through the
// view only.

#include <cstdint>
#include <optional>
#include <vector>

#include "ActivityLog.h"
#include "CMyObject.h"
#include "CheckPlanner.h"
#include "Clock.h"
#include "InternetState.h"
#include "ReaderState.h"
#include "SettingKeys.h"
#include "Settings.h"
#include "TimerIds.h"
#include "Timers.h"
#include "WebSession.h"

namespace qv {

enum class NowFace { ManualRun, StopManualRun };
enum class AutoFace { AutoRun, StopAutoRun };

class ICheckSchedulerView {
public:
    virtual ~ICheckSchedulerView() = default;
    // Selects the item of the time-period list; an index outside 0..5
    // selects nothing.
    virtual void SelectInterval(int index) = 0;
    virtual void SetNowFace(NowFace face) = 0;
    // Disabled: drawn with its disabled look and deaf to clicks.
    virtual void EnableNow(bool enabled) = 0;
    virtual void SetAutoFace(AutoFace face) = 0;
    // The main window's page switch to the log page.
    virtual void ShowLogPage() = 0;
    // The tray icon's animation (the main window's timer 55) and, when it
    // stops, the normal icon put back.
    virtual void StartTrayAnimation() = 0;
    virtual void StopTrayAnimation() = 0;
};

struct CheckSchedulerPorts {
    Settings& settings;
    const IClock& clock;
    ITimers& timers;
    const IInternetState& internet;
};

// The period of an interval index in seconds; 0 for an index outside 0..5.
std::int64_t IntervalPeriodSeconds(int intervalIndex);

// "Last Login" as a time value of the machine's zone; nothing when a key is
// missing or the fields name no real local time.
std::optional<std::int64_t> ReadLastLogin(const Settings& settings, const IClock& clock);

class CheckScheduler {
public:
    CheckScheduler(ICheckSchedulerView& view, ReaderState& state, ActivityLog& log,
                   CheckPlanner& planner, IWebSession& session, const CheckSchedulerPorts& ports);
    ~CheckScheduler();
    CheckScheduler(const CheckScheduler&) = delete;
    CheckScheduler& operator=(const CheckScheduler&) = delete;

    // The account page's initialisation, after the account list is loaded:
    // the interval from "Time", the button faces, the one-second clock.
    void Initialise(CMyObject* accountHead);
    // The account list was read again; its head may be another node.
    void SetAccountHead(CMyObject* accountHead) { accountHead_ = accountHead; }

    void OnIntervalSelected(int index);
    void OnNowClicked();
    void OnAutoClicked();
    // Timer 5000, every second.
    void OnClockTick();
    // Stops the automatic clock for good: the program is about to end.
    void StopClock();

    // Expects the check state set to 1 or 2 by the caller; true when a check
    // has started.
    bool StartRun();
    void FinishRun();
    bool CollectCheckedAccounts();

    const std::vector<CMyObject*>& CheckList() const { return checkList_; }

private:
    ICheckSchedulerView& view_;
    ReaderState& state_;
    ActivityLog& log_;
    CheckPlanner& planner_;
    IWebSession& session_;
    CheckSchedulerPorts ports_;
    CMyObject* accountHead_ = nullptr;
    std::vector<CMyObject*> checkList_;
    // When the last automatic start failed; the clock waits a period from it.
    std::optional<std::int64_t> failedAutoStart_;
};

}  // namespace qv
