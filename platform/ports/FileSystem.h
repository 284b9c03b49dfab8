#pragma once

#include <string>

namespace qv {

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // True when a file or a folder exists at the path.
    virtual bool PathExists(const std::wstring& path) const = 0;
};

}  // namespace qv
