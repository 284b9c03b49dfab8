#include "SettingsChoices.h"

#include "SettingKeys.h"
#include "TimeoutSetting.h"

namespace qv {
namespace {

constexpr wchar_t kRunKey[] = L"Run";
constexpr wchar_t kExitSection[] = L"Exit settings";
constexpr wchar_t kExitKey[] = L"Exit";
constexpr wchar_t kTrayKey[] = L"Tray";
constexpr wchar_t kUpdateSection[] = L"Update Settings";
constexpr wchar_t kUpdateKey[] = L"Automaticly update";

struct Entry {
    const wchar_t* section;
    const wchar_t* key;
    int SettingsChoices::*field;
};

// In the order Save writes them.
constexpr Entry kEntries[] = {
    {kGeneralSection, kRunKey, &SettingsChoices::run},
    {kUpdateSection, kUpdateKey, &SettingsChoices::update},
    {kExitSection, kExitKey, &SettingsChoices::exitChoice},
    {kExitSection, kTrayKey, &SettingsChoices::tray},
    {kGeneralSection, kTimeoutKey, &SettingsChoices::timeoutIndex},
};

}  // namespace

SettingsChoices ReadSettingsChoices(const Settings& settings) {
    SettingsChoices choices;
    for (const Entry& entry : kEntries)
        choices.*entry.field = settings.Read(entry.section, entry.key);
    return choices;
}

void AfterRunClicked(SettingsChoices& choices) {
    if (choices.run != 0) choices.update = 0;
}

void AfterUpdateClicked(SettingsChoices& choices) {
    if (choices.update != 0) choices.run = 0;
}

int TimeoutSelection(int timeoutIndex) {
    return timeoutIndex >= 0 && timeoutIndex < static_cast<int>(kTimeoutTexts.size()) ? timeoutIndex
                                                                                      : -1;
}

void ArmTimeout(const SettingsChoices& choices, ReaderState& state) {
    state.timeoutMs = TimeoutForIndex(choices.timeoutIndex, state.timeoutMs);
}

const wchar_t* SaveOutcomeText(SaveOutcome outcome) {
    return outcome == SaveOutcome::Saved ? kSettingsSavedText : kSettingsNotSavedText;
}

std::wstring StartWithWindowsData(std::wstring_view programPath) {
    return L"\"" + std::wstring(programPath) + L"\" -A";
}

SaveOutcome SaveSettingsChoices(const SettingsChoices& choices, Settings& settings,
                                IRegistry& registry, std::wstring_view programPath,
                                ReaderState& state) {
    settings.Write(kGeneralSection, kRunKey, choices.run);
    if (choices.run != 0) {
        registry.SetCurrentUserString(kRunKeyPath, kRunValueName,
                                      StartWithWindowsData(programPath));
    } else {
        registry.DeleteCurrentUserValue(kRunKeyPath, kRunValueName);
    }
    for (const Entry& entry : kEntries) {
        if (entry.field != &SettingsChoices::run) {
            settings.Write(entry.section, entry.key, choices.*entry.field);
        }
    }
    ArmTimeout(choices, state);
    return ReadSettingsChoices(settings) == choices ? SaveOutcome::Saved : SaveOutcome::NotWritten;
}

}  // namespace qv
