#pragma once
// What the settings page edits, and what its Save does with it: the
// general, update and exit settings of QVSetting.ini and the value under the
// current user's Run key that starts the reader with Windows.

#include <array>
#include <string>
#include <string_view>

#include "ButtonLook.h"
#include "ReaderState.h"
#include "Registry.h"
#include "Settings.h"
#include "resource.h"

namespace qv {

// The time-out list's items; the index is the "Timeout" value.
inline constexpr std::array<const wchar_t*, 4> kTimeoutTexts{L"2 Minutes", L"3 Minutes",
                                                             L"5 Minutes", L"10 Minutes"};
inline constexpr ButtonFace kSaveFace{
    IDB_SAVE_NORMAL, IDB_SAVE_HOVER, IDB_SAVE_PRESSED, IDB_SAVE_PRESSED, 106, 48};

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

// The time-out list's selection for an index: none for an index outside it.
int TimeoutSelection(int timeoutIndex);

// The time-out value follows the index; an unknown index leaves it as it is.
void ArmTimeout(const SettingsChoices& choices, ReaderState& state);

enum class SaveOutcome { Saved, NotWritten };

// What the box after Save says.
const wchar_t* SaveOutcomeText(SaveOutcome outcome);

// Save, in its order: Run, the Run value (created or deleted; a registry
// failure is not the file's), Automaticly update, Exit, Tray, Timeout, and
// the time-out value at once. Every key is read back: NotWritten when the
// file does not hold what was saved.
SaveOutcome SaveSettingsChoices(const SettingsChoices& choices, Settings& settings,
                                IRegistry& registry, std::wstring_view programPath,
                                ReaderState& state);

}  // namespace qv
