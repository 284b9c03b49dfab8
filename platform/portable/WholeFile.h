#pragma once
// A whole file read as bytes, its wide path taken as the file system takes it.

#include <optional>
#include <string>

namespace qv {

// Nothing when the file does not exist or cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace qv
