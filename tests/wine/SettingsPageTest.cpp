// The settings page of the reader's main window in the test's own process,
// driven with the mouse: the page shows the file, Run and update exclude
// each other, Save writes the file and the Run value and says so, and a file
// that cannot be written is not called saved.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "InProcessInput.h"
#include "InProcessReader.h"
#include "MouseInput.h"
#include "ReaderProcess.h"
#include "ScreenCapture.h"
#include "WindowMessages.h"
#include "resource.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Corvane QVReader";

std::wstring RunValue() {
    wchar_t data[600] = {};
    DWORD bytes = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, data,
                       &bytes) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return data;
}

class SettingsPageTest : public testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
        ASSERT_TRUE(reader.Create());
        ::SetWindowPos(Main(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE);
        ::SendMessageW(Main(), kShowPageMessage, 0, 3);
        ASSERT_TRUE(Drive([] { return MoveMouseTo(POINT{900, 900}); }));
    }
    void TearDown() override { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue); }

    HWND Main() { return reader.Main().Handle(); }
    HWND Page() { return ::GetDlgItem(Main(), IDD_QVLIVE_SETTINGS); }
    HWND Item(int id) { return ::GetDlgItem(Page(), id); }
    bool Checked(int id) { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    POINT Box(int id) { return ClientToScreenPoint(Item(id), 6, 8); }

    // Clicks Save and returns the text of the box that follows, closing it.
    std::wstring Save() {
        std::wstring text;
        const POINT at = ClientToScreenPoint(Item(IDC_SAVE_BUTTON), 50, 24);
        const bool done = Drive([&] {
            if (!ClickAt(at)) return false;
            const std::wstring caption = L"Corvane";
            HWND box = nullptr;
            const bool shown = WaitUntil(
                [&] {
                    box = FindTopLevelWindow(::GetCurrentProcessId(), &caption, true);
                    return box != nullptr;
                },
                10s);
            if (!shown) return false;
            wchar_t message[300] = {};
            ::GetDlgItemTextW(box, 0xFFFF, message, 300);
            text = message;
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return true;
        });
        EXPECT_TRUE(done) << "no box after Save";
        return text;
    }

    int Setting(const wchar_t* section, const wchar_t* key) {
        return ::GetPrivateProfileIntW(section, key, -9,
                                       reader.Folder().File(L"QVSetting.ini").c_str());
    }

    InProcessReader reader;
};

TEST_F(SettingsPageTest, ShowsTheFirstStartDefaultsAndRunAndUpdateExcludeEachOther) {
    EXPECT_FALSE(Checked(IDC_RUN_CHECK));
    EXPECT_TRUE(Checked(IDC_UPDATE_CHECK));
    EXPECT_FALSE(Checked(IDC_EXIT_RADIO));
    EXPECT_TRUE(Checked(IDC_TRAY_RADIO));
    EXPECT_EQ(::SendMessageW(Item(IDC_TIMEOUT_LIST), CB_GETCURSEL, 0, 0), 0);  // "2 Minutes"
    EXPECT_TRUE(WritePng(CaptureWindow(Main()), ArtifactFolder() + L"settings-page.png"));

    ASSERT_TRUE(Drive([&] { return ClickAt(Box(IDC_RUN_CHECK)); }));
    EXPECT_TRUE(Checked(IDC_RUN_CHECK));
    EXPECT_FALSE(Checked(IDC_UPDATE_CHECK));
    ASSERT_TRUE(Drive([&] { return ClickAt(Box(IDC_UPDATE_CHECK)); }));
    EXPECT_TRUE(Checked(IDC_UPDATE_CHECK));
    EXPECT_FALSE(Checked(IDC_RUN_CHECK));
    ASSERT_TRUE(Drive([&] { return ClickAt(Box(IDC_EXIT_RADIO)); }));
    EXPECT_TRUE(Checked(IDC_EXIT_RADIO));
    EXPECT_FALSE(Checked(IDC_TRAY_RADIO));
}

TEST_F(SettingsPageTest, SaveWritesTheFileAndTheRunValueAndSaysSo) {
    ASSERT_TRUE(Drive([&] { return ClickAt(Box(IDC_RUN_CHECK)); }));
    ::SendMessageW(Item(IDC_TIMEOUT_LIST), CB_SETCURSEL, 2, 0);  // "5 Minutes"
    EXPECT_EQ(Save(), L"Settings Saved Successfully.");
    EXPECT_EQ(Setting(L"General Settings", L"Run"), 1);
    EXPECT_EQ(Setting(L"General Settings", L"Timeout"), 2);
    EXPECT_EQ(Setting(L"Update Settings", L"Automaticly update"), 0);
    EXPECT_EQ(reader.State().timeoutMs, 300000);
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(RunValue(), L"\"" + std::wstring(path) + L"\" -A");

    ASSERT_TRUE(Drive([&] { return ClickAt(Box(IDC_RUN_CHECK)); }));
    EXPECT_EQ(Save(), L"Settings Saved Successfully.");
    EXPECT_EQ(RunValue(), L"(none)");
    EXPECT_EQ(Setting(L"General Settings", L"Run"), 0);
}

// Another program holds the file open and lets nobody write it (the tests
// run as root, for whom a read-only file or folder is still writable).
TEST_F(SettingsPageTest, AFileThatCannotBeWrittenIsNotCalledSavedAndThePageKeepsItsValues) {
    const std::wstring file = reader.Folder().File(L"QVSetting.ini");
    const HANDLE holder = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ::SendMessageW(Item(IDC_TIMEOUT_LIST), CB_SETCURSEL, 3, 0);
    const std::wstring text = Save();
    ::CloseHandle(holder);
    EXPECT_NE(text, L"Settings Saved Successfully.");
    EXPECT_NE(text.find(L"could not be saved"), std::wstring::npos) << text;
    EXPECT_EQ(Setting(L"General Settings", L"Timeout"), 0);
    EXPECT_EQ(::SendMessageW(Item(IDC_TIMEOUT_LIST), CB_GETCURSEL, 0, 0), 3);
}

}  // namespace
}  // namespace qv::wine
