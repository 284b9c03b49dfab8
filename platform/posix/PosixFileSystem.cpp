#include "PosixFileSystem.h"

#include <sys/stat.h>

#include "TextConvert.h"

namespace qv {

bool PosixFileSystem::PathExists(const std::wstring& path) const {
    struct stat status {};
    return ::stat(WideToUtf8(path).c_str(), &status) == 0;
}

}  // namespace qv
