#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "IniFileStore.h"
#include "ProfileCases.h"
#include "TextConvert.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the system temp folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("qv-ini-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& Path() const { return path_; }
    std::wstring Wide(const std::string& name) const { return Utf8ToWide((path_ / name).string()); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(path_)) {
            names.push_back(item.path().filename().string());
        }
        return names;
    }

private:
    fs::path path_;
};

std::string Slurp(std::istream& in) {
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class IniFileStoreCases : public testing::TestWithParam<test::ProfileCase> {};

TEST_P(IniFileStoreCases, BehavesAsTheTableSays) {
    const test::ProfileCase& profileCase = GetParam();
    ScratchFolder folder;
    IniFileStore store;

    const test::ProfileRun run = test::RunProfileCase(profileCase, store, folder.Wide("qv.ini"));

    EXPECT_EQ(run.reads, test::ExpectedReads(profileCase));
    EXPECT_EQ(run.writes, std::vector<bool>(run.writes.size(), true));
    EXPECT_EQ(run.endFile, profileCase.endFile);
}

INSTANTIATE_TEST_SUITE_P(Table, IniFileStoreCases, testing::ValuesIn(test::ProfileCases()),
                         [](const testing::TestParamInfo<test::ProfileCase>& info) {
                             return info.param.name;
                         });

class IniFileStoreFiles : public testing::Test {
protected:
    ScratchFolder folder_;
    IniFileStore store_;
};

TEST_F(IniFileStoreFiles, WriteIntoMissingFolderFailsAndCreatesNothing) {
    const std::wstring path = folder_.Wide("missing") + L"/qv.ini";

    EXPECT_FALSE(store_.WriteString(path, L"Main", L"Exit", L"1"));
    EXPECT_EQ(store_.ReadInt(path, L"Main", L"Exit", 7), 7);
    EXPECT_TRUE(folder_.Names().empty());
}

// A reader that already has the old file open keeps seeing all of it: the
// new text never goes into the old file, so a crash cannot cut it short.
TEST_F(IniFileStoreFiles, WriteReplacesTheFileInsteadOfRewritingIt) {
    const std::wstring path = folder_.Wide("qv.ini");
    ASSERT_TRUE(store_.WriteString(path, L"Main", L"Exit", L"0"));
    std::ifstream before(folder_.Path() / "qv.ini", std::ios::binary);
    ASSERT_TRUE(before);

    ASSERT_TRUE(store_.WriteString(path, L"Main", L"Exit", L"1"));
    ASSERT_TRUE(store_.WriteString(path, L"Main", L"Tray", L"1"));

    EXPECT_EQ(Slurp(before), "[Main]\r\nExit=0\r\n");
    EXPECT_EQ(store_.ReadInt(path, L"Main", L"Exit", -1), 1);
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"qv.ini"});
}

// Whatever sits at the path is not a settings file and must survive the write.
TEST_F(IniFileStoreFiles, PathThatIsAFolderFailsAndStaysAFolder) {
    fs::create_directories(folder_.Path() / "qv.ini" / "inside");

    EXPECT_FALSE(store_.WriteString(folder_.Wide("qv.ini"), L"Main", L"Exit", L"1"));
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{"qv.ini"});
    EXPECT_TRUE(fs::is_directory(folder_.Path() / "qv.ini" / "inside"));
}

// Wide paths reach the file system as UTF-8.
TEST_F(IniFileStoreFiles, NonAsciiPathIsUtf8OnDisk) {
    const fs::path sub = folder_.Path() / fs::path(std::u8string(u8"R\u00e9glages \u20ac"));
    fs::create_directories(sub);
    const std::wstring path = folder_.Wide("") + L"R\u00e9glages \u20ac/qv.ini";

    ASSERT_TRUE(store_.WriteString(path, L"Main", L"Exit", L"1"));

    EXPECT_TRUE(fs::is_regular_file(sub / "qv.ini"));
    EXPECT_EQ(store_.ReadInt(path, L"Main", L"Exit", -1), 1);
}

}  // namespace
}  // namespace qv
