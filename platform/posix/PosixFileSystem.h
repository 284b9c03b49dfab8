#pragma once
// Files through the C library; paths are UTF-8 on this side.

#include "FileSystem.h"

namespace qv {

class PosixFileSystem final : public IFileSystem {
public:
    bool PathExists(const std::wstring& path) const override;
};

}  // namespace qv
