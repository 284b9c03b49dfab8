#pragma once
// Integer settings in private-profile files. A missing file, section or key
// reads as -1; callers ignore failed writes.

#include <string>

#include "ProfileStore.h"

namespace qv {

inline constexpr wchar_t kSettingsFileName[] = L"QVSetting.ini";
inline constexpr int kMissingSetting = -1;

class Settings {
public:
    Settings(IProfileStore& store, std::wstring programFolder);

    int ReadSettingInt(const std::wstring& file, const std::wstring& section,
                       const std::wstring& key) const;
    bool WriteSettingInt(const std::wstring& file, const std::wstring& section,
                         const std::wstring& key, int value);

    // The same, on QVSetting.ini in the program folder.
    int Read(const std::wstring& section, const std::wstring& key) const;
    bool Write(const std::wstring& section, const std::wstring& key, int value);

    const std::wstring& ProgramFolder() const { return programFolder_; }

private:
    IProfileStore& store_;
    std::wstring programFolder_;
};

}  // namespace qv
