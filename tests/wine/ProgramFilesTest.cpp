// What the built program files carry (manifest, version, icons, dialog
// templates) and what the sibling stand-in provides under Windows.

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "AccountDescription.h"
#include "AccountFileWriter.h"
#include "ReaderProcess.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

class ReaderResources : public testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryExW((BuildFolder() + L"QVReader.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << ::GetLastError();
    }
    void TearDown() override {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }
    std::string Resource(LPCWSTR type, LPCWSTR name) const {
        HRSRC found = ::FindResourceW(module_, name, type);
        if (found == nullptr) return {};
        HGLOBAL loaded = ::LoadResource(module_, found);
        const char* bytes = static_cast<const char*>(::LockResource(loaded));
        return std::string(bytes, ::SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

TEST_F(ReaderResources, ManifestAsksForAdministratorAndCommonControlsSix) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

TEST_F(ReaderResources, IconsAndDialogTemplatesAreThere) {
    for (int icon = 203; icon <= 211; ++icon) {
        for (int size : {16, 32}) {
            HANDLE loaded =
                ::LoadImageW(module_, MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, 0);
            EXPECT_NE(loaded, nullptr) << "icon " << icon << " at " << size;
            if (loaded != nullptr) ::DestroyIcon(static_cast<HICON>(loaded));
        }
    }
    for (int dialog : {102, 152, 9, 154, 183, 163}) {
        EXPECT_FALSE(Resource(RT_DIALOG, MAKEINTRESOURCEW(dialog)).empty()) << "dialog " << dialog;
    }
}

TEST(ReaderVersion, FileVersionIsReadableAsTheUpdateCheckReadsIt) {
    const std::wstring path = BuildFolder() + L"QVReader.exe";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 0u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
}

TEST(SiblingStandIn, ShowsAWindowTitledCorvaneUntilClosed) {
    ReaderProcess sibling(BuildFolder() + L"Corvane.exe", L"", BuildFolder());
    ASSERT_TRUE(sibling.Started()) << sibling.Error();
    const HWND window = sibling.WaitForWindowTitled(L"Corvane", 20s);
    ASSERT_NE(window, nullptr);
    // The window exists a moment before it is shown.
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, 10s));
    EXPECT_EQ(::FindWindowW(nullptr, L"Corvane"), window);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(sibling.WaitForExit(15s, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST(SiblingStandIn, WritesTheAccountFileOfADescription) {
    TempFolder folder;
    // UTF-8 description with letters that have Windows-1252 bytes.
    const std::string description =
        "group Shop.mdb \"db pass\"\n"
        "account alice s3cret\n"
        "account \"Zo\xC3\xAB\" \"\xE2\x82\xACuro\"\n"
        "group Outlet.mdb x\n"
        "account bob hunter2\n";
    {
        std::ofstream out(std::filesystem::path(folder.File(L"accounts.txt")), std::ios::binary);
        out << description;
    }
    ReaderProcess writer(BuildFolder() + L"Corvane.exe",
                         L"write-accounts \"" + folder.File(L"accounts.txt") + L"\" \"" +
                             folder.Path().substr(0, folder.Path().size() - 1) + L"\"",
                         folder.Path());
    DWORD exitCode = 1;
    ASSERT_TRUE(writer.WaitForExit(20s, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    const ParsedDescription parsed = ParseAccountDescription(description);
    ASSERT_FALSE(parsed.error.has_value());
    EXPECT_EQ(ReadWholeFile(folder.File(L"account.ini")), AccountFileBytes(parsed.groups));
    // The ANSI record of the first group, as the reader will decode it.
    EXPECT_EQ(GroupRecord(parsed.groups[0]), "Shop.mdb;db pass;;alice;s3cret;;Zo\xEB;\x80uro;;");
}

}  // namespace
}  // namespace qv::wine
