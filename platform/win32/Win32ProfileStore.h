#pragma once
// Private-profile files through the system's own functions. The file layout,
// caching and name matching are the system's.

#include <string>

#include "ProfileStore.h"

namespace qv {

class Win32ProfileStore : public IProfileStore {
public:
    int ReadInt(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                int defaultValue) const override;
    bool WriteString(const std::wstring& path, const std::wstring& section,
                     const std::wstring& key, const std::wstring& value) override;
};

}  // namespace qv
