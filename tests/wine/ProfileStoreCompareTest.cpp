// Runs the shared profile table against the system's private-profile
// functions and against the portable store built for Windows. The system is
// the reference: both must agree with it byte for byte, and with the table.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "IniFileStore.h"
#include "ProfileCases.h"
#include "Win32ProfileStore.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// The system functions cache files by name, so every run gets new names.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("qv-profile-" + std::to_string(random()) + "-" + name);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return (path_ / name).wstring(); }
    bool Empty() const { return fs::is_empty(path_); }

private:
    fs::path path_;
};

class ProfileStoreCompare : public testing::TestWithParam<test::ProfileCase> {};

TEST_P(ProfileStoreCompare, PortableStoreMatchesSystem) {
    const test::ProfileCase& profileCase = GetParam();
    ScratchFolder folder(profileCase.name);
    Win32ProfileStore system;
    IniFileStore portable;

    const test::ProfileRun expected =
        test::RunProfileCase(profileCase, system, folder.File(L"system.ini"));
    const test::ProfileRun actual =
        test::RunProfileCase(profileCase, portable, folder.File(L"portable.ini"));

    EXPECT_EQ(actual.reads, expected.reads);
    EXPECT_EQ(actual.writes, expected.writes);
    EXPECT_EQ(actual.endFile, expected.endFile);

    EXPECT_EQ(expected.reads, test::ExpectedReads(profileCase)) << "system against the table";
    EXPECT_EQ(expected.writes, std::vector<bool>(expected.writes.size(), true))
        << "system against the table";
    EXPECT_EQ(expected.endFile, profileCase.endFile) << "system against the table";
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileStoreCompare, testing::ValuesIn(test::ProfileCases()),
                         [](const testing::TestParamInfo<test::ProfileCase>& info) {
                             return info.param.name;
                         });

TEST(ProfileStoreCompareFiles, WriteIntoMissingFolderFailsOnBoth) {
    ScratchFolder folder("missing");
    Win32ProfileStore system;
    IniFileStore portable;

    EXPECT_FALSE(system.WriteString(folder.File(L"none\\system.ini"), L"Main", L"Exit", L"1"));
    EXPECT_FALSE(portable.WriteString(folder.File(L"none\\portable.ini"), L"Main", L"Exit", L"1"));
    EXPECT_TRUE(folder.Empty());
}

// Replacing an existing file by rename must work with the Windows runtime too.
TEST(ProfileStoreCompareFiles, RepeatedWritesReplaceTheFile) {
    ScratchFolder folder("replace");
    IniFileStore portable;
    const std::wstring path = folder.File(L"portable.ini");

    for (int value = 0; value < 3; ++value) {
        ASSERT_TRUE(portable.WriteString(path, L"Main", L"Exit", std::to_wstring(value)));
        EXPECT_EQ(portable.ReadInt(path, L"Main", L"Exit", -1), value);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace qv
