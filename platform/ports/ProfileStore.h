#pragma once
// Private-profile (INI) files: case-insensitive section and key names,
// decimal integer reads with a default, string writes that create the file
// and the section when they are missing.

#include <string>

namespace qv {

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    virtual int ReadInt(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key, int defaultValue) const = 0;
    virtual bool WriteString(const std::wstring& path, const std::wstring& section,
                             const std::wstring& key, const std::wstring& value) = 0;
};

}  // namespace qv
