#pragma once
// The settings a reader writes when it finds no QVSetting.ini.

#include "Clock.h"
#include "FileSystem.h"
#include "LastLogin.h"
#include "Settings.h"

namespace qv {

class PacificClock;

// The "Last Login" seed: the Pacific wall clock broken into its six fields,
// or 0, 0, 0, -1, -1, -1 when it has no calendar form.
LastLoginFields LastLoginSeed(std::int64_t pacificNow, const IClock& clock);

// Writes the defaults in their fixed order; the first write creates the file.
void WriteFirstStartSettings(Settings& settings, PacificClock& pacific, const IClock& clock);

// The first start of a reader: the defaults are written when QVSetting.ini
// is not in the settings' program folder.
void EnsureFirstStartSettings(Settings& settings, const IFileSystem& files, PacificClock& pacific,
                              const IClock& clock);

}  // namespace qv
