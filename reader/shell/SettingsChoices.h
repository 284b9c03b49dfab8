#pragma once
// What the settings page edits, and what its Save does with it: the
// general, update and exit settings of QVSetting.ini and the value under the
// current user's Run key that starts the reader with Windows.

#include <string>
#include <string_view>

#include "ReaderState.h"
#include "Registry.h"
#include "Settings.h"

namespace qv {

inline constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"Corvane QVReader";
inline constexpr wchar_t kSettingsSavedText[] = L"Settings Saved Successfully.";
inline constexpr wchar_t kSettingsNotSavedText[] =
    L"The settings could not be saved: QVSetting.ini cannot be written. Check that the program "
    L"folder and the file may be written to.";

// The page's controls as integers, as they are read from the file: a
// missing key gives -1, which a check box shows as checked (non-zero).
struct SettingsChoices {
    int run = kMissingSetting;
    int update = kMissingSetting;
    int exitChoice = kMissingSetting;
    int tray = kMissingSetting;
    int timeoutIndex = kMissingSetting;  // the time-out list's selection; -1 for none
    bool operator==(const SettingsChoices&) const = default;
};

SettingsChoices ReadSettingsChoices(const Settings& settings);

// Starting with Windows and checking for updates at start exclude each
// other: checking one clears the other.
void AfterRunClicked(SettingsChoices& choices);
void AfterUpdateClicked(SettingsChoices& choices);

// The Run value's data: the program's path in double quotes, then " -A".
// Unquoted, a path with blanks (as under Program Files) lets Windows start
// another program first.
std::wstring StartWithWindowsData(std::wstring_view programPath);

enum class SaveOutcome { Saved, NotWritten };

// Save, in its order: Run, the Run value (created or deleted; a registry
// failure is not the file's), Automaticly update, Exit, Tray, Timeout, and
// the time-out value at once. Every key is read back: NotWritten when the
// file does not hold what was saved.
SaveOutcome SaveSettingsChoices(const SettingsChoices& choices, Settings& settings,
                                IRegistry& registry, std::wstring_view programPath,
                                ReaderState& state);

}  // namespace qv
