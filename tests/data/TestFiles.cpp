#include "TestFiles.h"

#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#include "TextConvert.h"

namespace qv::test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::wstring& name) {
    std::random_device seed;
    const std::wstring unique =
        L"qvdata-" + std::to_wstring(seed()) + L"-" + std::to_wstring(seed());
    const std::wstring base = FromFsPath(fs::temp_directory_path());
    const wchar_t separator = static_cast<wchar_t>(fs::path::preferred_separator);
    std::wstring rootText = base;
    if (!rootText.empty() && rootText.back() != separator && rootText.back() != L'/')
        rootText += separator;
    rootText += unique;
    root_ = ToFsPath(rootText);
    folderText_ = rootText + separator + name + separator;
    fs::create_directories(ToFsPath(folderText_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void TempFolder::WriteFile(const std::wstring& name, std::string_view bytes) const {
    std::ofstream out(ToFsPath(folderText_ + name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write a test file");
}

}  // namespace qv::test
