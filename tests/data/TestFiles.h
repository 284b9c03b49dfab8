#pragma once
// Files for the tests: a private temporary folder and the report fixture.

#include <filesystem>
#include <string>
#include <string_view>

namespace qv::test {

// The fixture's text as written in fixtures/report-page.html (UTF-8).
const char* ReportPageFixtureUtf8();

// A new empty folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    // name: the last part of the folder's name, may hold any character.
    explicit TempFolder(const std::wstring& name = L"qvdata");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as the reader's program folder: ending in its separator.
    std::wstring FolderText() const { return folderText_; }
    void WriteFile(const std::wstring& name, std::string_view bytes) const;

private:
    std::filesystem::path root_;
    std::wstring folderText_;
};

}  // namespace qv::test
