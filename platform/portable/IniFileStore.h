#pragma once
// Private-profile files without the Win32 API, for the native build. Names,
// numbers and the file layout follow what GetPrivateProfileIntW and
// WritePrivateProfileStringW give: ASCII-only case-insensitive names,
// Windows-1252 file text, CRLF line ends, the whole file laid out again on a
// write that changes it. Each such write builds the new file next to the old
// one and renames it over, so a crash mid-write leaves the old settings whole.

#include <string>

#include "ProfileStore.h"

namespace qv {

class IniFileStore : public IProfileStore {
public:
    int ReadInt(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                int defaultValue) const override;
    // False when the file exists but does not read, or the new file cannot be
    // written or moved into place (for instance when the folder is missing).
    bool WriteString(const std::wstring& path, const std::wstring& section,
                     const std::wstring& key, const std::wstring& value) override;
};

}  // namespace qv
