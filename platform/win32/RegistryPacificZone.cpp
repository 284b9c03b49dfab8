#include "RegistryPacificZone.h"

#include <windows.h>

#include <cwchar>
#include <utility>
#include <vector>

#include "TimeZoneConversion.h"
#include "WinHandles.h"

namespace qv {
namespace {

constexpr DWORD kMaxValueNameChars = 16383;
constexpr DWORD kTziBytes = 44;
constexpr DWORD kNameBytes = 512;           // 255 characters and the terminator, with room
constexpr std::size_t kRuleNameChars = 31;  // TIME_ZONE_INFORMATION keeps 32 with terminator

// The values of the zone's key that the rules are made of, as they were read.
struct ZoneRecord {
    std::optional<std::vector<unsigned char>> tzi;
    std::wstring standardName;
    std::wstring daylightName;
};

std::wstring TextFromRegistryBytes(const std::vector<unsigned char>& bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const wchar_t c = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == L'\0') break;
        text.push_back(c);
    }
    return text;
}

std::optional<std::vector<unsigned char>> QueryValue(HKEY key, const wchar_t* name,
                                                     DWORD capacity) {
    std::vector<unsigned char> data(capacity);
    DWORD size = capacity;
    if (::RegQueryValueExW(key, name, nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    return data;
}

ZoneRecord ReadRecord(HKEY key) {
    ZoneRecord record;
    std::vector<wchar_t> name(kMaxValueNameChars + 1);
    for (DWORD index = 0;; ++index) {
        DWORD nameChars = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(key, index, name.data(), &nameChars, nullptr, nullptr, nullptr,
                            nullptr) != ERROR_SUCCESS) {
            break;
        }
        const wchar_t* valueName = name.data();
        const DWORD capacity = std::wcscmp(valueName, L"TZI") == 0 ? kTziBytes : kNameBytes;
        auto data = QueryValue(key, valueName, capacity);
        // A value that does not fit its buffer is left out, as if missing.
        if (!data) continue;
        if (::_wcsicmp(valueName, L"TZI") == 0) {
            record.tzi = std::move(data);
        } else if (::_wcsicmp(valueName, L"Std") == 0) {
            record.standardName = TextFromRegistryBytes(*data);
        } else if (::_wcsicmp(valueName, L"Dlt") == 0) {
            record.daylightName = TextFromRegistryBytes(*data);
        }
    }
    return record;
}

}  // namespace

RegistryPacificZone::RegistryPacificZone(std::wstring zoneKeyName)
    : zoneKeyName_(std::move(zoneKeyName)) {}

std::optional<TimeZoneRules> RegistryPacificZone::ReadPacificZone() const {
    const std::wstring path = std::wstring(kTimeZonesKey) + L"\\" + zoneKeyName_;
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const win::UniqueHkey key(raw);

    const ZoneRecord record = ReadRecord(key.get());
    if (!record.tzi) return std::nullopt;
    auto rules = ParseRegistryTzi(record.tzi->data(), record.tzi->size());
    if (!rules) return std::nullopt;
    rules->standardName = record.standardName.substr(0, kRuleNameChars);
    rules->daylightName = record.daylightName.substr(0, kRuleNameChars);
    return rules;
}

}  // namespace qv
