#include "Win32ProfileStore.h"

#include <windows.h>

namespace qv {

int Win32ProfileStore::ReadInt(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, int defaultValue) const {
    // The result is declared UINT but carries the signed value, -1 included.
    return static_cast<int>(
        GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue, path.c_str()));
}

bool Win32ProfileStore::WriteString(const std::wstring& path, const std::wstring& section,
                                    const std::wstring& key, const std::wstring& value) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                      path.c_str()) != FALSE;
}

}  // namespace qv
