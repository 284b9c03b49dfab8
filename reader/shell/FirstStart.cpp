#include "FirstStart.h"

#include "PacificClock.h"
#include "ProgramPaths.h"
#include "SettingKeys.h"

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
    settings.Write(kGeneralSection, L"Run", 0);
    settings.Write(kGeneralSection, kIntervalKey, 1);
    settings.Write(kGeneralSection, kTimeoutKey, 0);
    settings.Write(L"Exit settings", L"exit", 0);
    settings.Write(L"Exit settings", L"tray", 1);
    settings.Write(L"Update Settings", L"Automaticly update", 1);

    pacific.UpdatePacificNow(false);
    WriteLastLogin(settings, LastLoginSeed(pacific.PacificNow(), clock));
}

void EnsureFirstStartSettings(Settings& settings, const IFileSystem& files, PacificClock& pacific,
                              const IClock& clock) {
    if (!files.PathExists(ResolveSettingsPath(settings.ProgramFolder(), kSettingsFileName))) {
        WriteFirstStartSettings(settings, pacific, clock);
    }
}

}  // namespace qv
