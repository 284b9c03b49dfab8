#include "Settings.h"

#include <utility>

#include "ProgramPaths.h"

namespace qv {

Settings::Settings(IProfileStore& store, std::wstring programFolder)
    : store_(store), programFolder_(std::move(programFolder)) {}

int Settings::ReadSettingInt(const std::wstring& file, const std::wstring& section,
                             const std::wstring& key) const {
    return store_.ReadInt(ResolveSettingsPath(programFolder_, file), section, key, kMissingSetting);
}

bool Settings::WriteSettingInt(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, int value) {
    return store_.WriteString(ResolveSettingsPath(programFolder_, file), section, key,
                              std::to_wstring(value));
}

int Settings::Read(const std::wstring& section, const std::wstring& key) const {
    return ReadSettingInt(kSettingsFileName, section, key);
}

bool Settings::Write(const std::wstring& section, const std::wstring& key, int value) {
    return WriteSettingInt(kSettingsFileName, section, key, value);
}

}  // namespace qv
