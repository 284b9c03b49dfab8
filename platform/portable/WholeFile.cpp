#include "WholeFile.h"

#include <fstream>
#include <iterator>

#include "TextConvert.h"

namespace qv {

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    std::ifstream in(ToFsPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace qv
