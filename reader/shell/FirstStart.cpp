#include "FirstStart.h"

#include "PacificClock.h"
#include "TimeoutSetting.h"

namespace qv {

LastLoginFields LastLoginSeed(std::int64_t pacificNow, const IClock& clock) {
    // A zero value is what a failed zone conversion leaves behind; it names
    // no real Pacific time, so it gets the same seed as an unconvertible one.
    if (pacificNow != 0) {
        if (const auto t = clock.BreakLocalTime(pacificNow)) {
            return {t->year, t->month, t->day, t->hour, t->minute, t->second};
        }
    }
    return {0, 0, 0, -1, -1, -1};
}

void WriteFirstStartSettings(Settings& settings, PacificClock& pacific, const IClock& clock) {
    settings.Write(L"General Settings", L"Run", 0);
    settings.Write(L"General Settings", L"Time", 1);
    settings.Write(kTimeoutSection, kTimeoutKey, 0);
    settings.Write(L"Exit settings", L"exit", 0);
    settings.Write(L"Exit settings", L"tray", 1);
    settings.Write(L"Update Settings", L"Automaticly update", 1);

    pacific.UpdatePacificNow(false);
    const LastLoginFields seed = LastLoginSeed(pacific.PacificNow(), clock);
    settings.Write(L"Last Login", L"y", seed.y);
    settings.Write(L"Last Login", L"mo", seed.mo);
    settings.Write(L"Last Login", L"d", seed.d);
    settings.Write(L"Last Login", L"h", seed.h);
    settings.Write(L"Last Login", L"mi", seed.mi);
    settings.Write(L"Last Login", L"s", seed.s);
}

}  // namespace qv
