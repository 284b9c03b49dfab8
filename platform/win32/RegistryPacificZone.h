#pragma once
// The Pacific rules from the time-zone list of the registry
// (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones), so that the
// reader follows whatever rule changes the system has been updated with.

#include <optional>
#include <string>

#include "PacificZoneSource.h"

namespace qv {

inline constexpr wchar_t kTimeZonesKey[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
inline constexpr wchar_t kPacificZoneKeyName[] = L"Pacific Standard Time";

class RegistryPacificZone : public IPacificZoneSource {
public:
    // The zone's subkey under the time-zone list; other names serve tests.
    explicit RegistryPacificZone(std::wstring zoneKeyName = kPacificZoneKeyName);

    // Nothing when the key does not open or has no readable 44-byte "TZI".
    std::optional<TimeZoneRules> ReadPacificZone() const override;

private:
    std::wstring zoneKeyName_;
};

}  // namespace qv
