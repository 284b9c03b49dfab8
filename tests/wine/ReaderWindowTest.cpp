// The real QVReader.exe under Wine: start-up, single instance, the tray
// icon, the close decision, first start and the painted window.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "ReaderFixture.h"
#include "ReaderProcess.h"
#include "ScreenCapture.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

constexpr UINT kTrayIconId = 203;
constexpr UINT kTrayCallback = WM_USER + 5;
constexpr int kCloseButton = 1001;
constexpr UINT kExitCode = static_cast<UINT>(-1);

using ReaderWindowTest = ReaderFixture;

TEST_F(ReaderWindowTest, SecondInstanceEndsWhileTheFirstKeepsRunning) {
    InstallReader(folder, true);
    WriteSettings(L"1");
    ReaderProcess first(folder, L"");
    ASSERT_TRUE(first.Started()) << first.Error();
    const HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    ReaderProcess second(folder, L"");
    ASSERT_TRUE(second.Started()) << second.Error();
    EXPECT_TRUE(second.WaitForExit(15s));
    EXPECT_EQ(second.FindWindowTitled(L"Corvane Transactions Reader"), nullptr);

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(::IsWindow(main));
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_TRUE(TrayIconExists(main, kTrayIconId));
}

TEST_F(ReaderWindowTest, StartHiddenIsNeverSeenUntilTheTrayIconIsDoubleClicked) {
    InstallReader(folder, true);
    WriteSettings(L"1");
    reader.emplace(folder, L"-A");
    ASSERT_TRUE(reader->Started()) << reader->Error();

    // Sampled from the process's first moment until well after its window
    // exists, its icon is in the tray and the dialog loop has gone idle:
    // not one sample may see a window of the reader on the screen.
    const auto start = std::chrono::steady_clock::now();
    std::optional<std::chrono::steady_clock::time_point> settled;
    HWND main = nullptr;
    int samples = 0;
    while (std::chrono::steady_clock::now() - start < 30s) {
        ++samples;
        ASSERT_TRUE(reader->NoVisibleWindow())
            << "a window was visible "
            << std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
                   .count()
            << " ms after the start";
        if (main == nullptr) main = reader->FindWindowTitled(L"Corvane Transactions Reader");
        if (!settled && main != nullptr && TrayIconExists(main, kTrayIconId)) {
            settled = std::chrono::steady_clock::now();
        }
        if (settled && std::chrono::steady_clock::now() - *settled > 3s) break;
        std::this_thread::sleep_for(2ms);
    }
    ASSERT_TRUE(settled.has_value()) << "no tray icon after 30 s";
    EXPECT_GT(samples, 100);

    ::PostMessageW(main, kTrayCallback, kTrayIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 10s));
    // Shown for good: a repaint no longer hides it.
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(::IsWindowVisible(main));
}

TEST_F(ReaderWindowTest, DoubleClickOnAnotherIconIdIsIgnored) {
    const HWND main = StartReader(L"1", L"-A");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return reader->NoVisibleWindow(); }, 10s));
    ::PostMessageW(main, kTrayCallback, kTrayIconId + 1, WM_LBUTTONDBLCLK);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(reader->NoVisibleWindow());
}

TEST_F(ReaderWindowTest, CloseWithTrayOneHidesAndKeepsTheIcon) {
    const HWND main = StartReader(L"1");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(::IsWindowVisible(main));

    ::SendMessageW(::GetDlgItem(main, kCloseButton), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) == FALSE; }, 10s));
    std::this_thread::sleep_for(500ms);
    EXPECT_TRUE(reader->Running());
    EXPECT_TRUE(TrayIconExists(main, kTrayIconId));
}

TEST_F(ReaderWindowTest, CloseWithTrayZeroExitsRemovesTheIconAndWritesTheChosenTime) {
    InstallReader(folder, true);
    WriteProfileValue(SettingsFile(), L"General Settings", L"Time", L"3");
    const HWND main = StartReader(L"0");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(TrayIconExists(main, kTrayIconId));

    // The stored period is what the list shows; the user then picks another.
    const HWND accountPage = ::GetDlgItem(main, 152);
    const HWND periods = ::GetDlgItem(accountPage, 1008);
    ASSERT_NE(periods, nullptr);
    EXPECT_EQ(::SendMessageW(periods, CB_GETCURSEL, 0, 0), 3);
    ::SendMessageW(periods, CB_SETCURSEL, 4, 0);
    ::SendMessageW(accountPage, WM_COMMAND, MAKEWPARAM(1008, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(periods));

    ::SendMessageW(::GetDlgItem(main, kCloseButton), BM_CLICK, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(reader->WaitForExit(15s, &exitCode));
    EXPECT_EQ(exitCode, kExitCode);
    EXPECT_FALSE(TrayIconExists(main, kTrayIconId));
    EXPECT_EQ(::GetPrivateProfileIntW(L"General Settings", L"Time", -1, SettingsFile().c_str()), 4);
}

TEST_F(ReaderWindowTest, TrayMenuCommandsShowAndExit) {
    const HWND main = StartReader(L"1", L"-A");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return reader->NoVisibleWindow(); }, 10s));

    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(20008, 0), 0);  // "Show(&S)"
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 10s));

    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(20007, 0), 0);  // "Exit(&C)"
    DWORD exitCode = 0;
    ASSERT_TRUE(reader->WaitForExit(15s, &exitCode));
    EXPECT_EQ(exitCode, kExitCode);
}

TEST_F(ReaderWindowTest, EnterEscAndSystemCloseLeaveTheWindowAlone) {
    const HWND main = StartReader(L"0");
    ASSERT_NE(main, nullptr);
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    ::PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ::PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(reader->Running());
    EXPECT_TRUE(::IsWindowVisible(main));
}

BOOL CALLBACK FindIconStatic(HWND child, LPARAM found) {
    const LONG style = ::GetWindowLongW(child, GWL_STYLE);
    if ((style & SS_TYPEMASK) == SS_ICON && (style & WS_VISIBLE) != 0 &&
        ::SendMessageW(child, STM_GETICON, 0, 0) != 0) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool HasVisibleIcon(HWND box) {
    bool found = false;
    ::EnumChildWindows(box, &FindIconStatic, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct MenuSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindPopupMenu(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<MenuSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[32] = {};
    ::GetClassNameW(hwnd, className, 32);
    if (pid == search.pid && ::IsWindowVisible(hwnd) && std::wstring(className) == L"#32768") {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The visible pop-up menu of a process, or null.
HWND VisiblePopupMenu(DWORD pid) {
    MenuSearch search{pid, nullptr};
    ::EnumWindows(&FindPopupMenu, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(ReaderWindowTest, RightClickOnTheTrayIconOpensTheMenuEachTime) {
    const HWND main = StartReader(L"1");
    ASSERT_NE(main, nullptr);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ::PostMessageW(main, kTrayCallback, kTrayIconId, WM_RBUTTONDOWN);
        HWND menu = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return (menu = VisiblePopupMenu(reader->Pid())) != nullptr; }, 10s));
        // Esc closes the menu without choosing anything.
        ::PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_TRUE(WaitUntil([&] { return VisiblePopupMenu(reader->Pid()) == nullptr; }, 10s));
    }
    EXPECT_TRUE(reader->Running());
    EXPECT_TRUE(::IsWindowVisible(main));
}

TEST_F(ReaderWindowTest, StartUpTurnsOffTheSecureToPlainRedirectWarning) {
    constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    constexpr wchar_t kValue[] = L"WarnOnHTTPSToHTTPRedirect";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const DWORD on = 1;
    ::RegSetValueExW(key, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof(on));

    ASSERT_NE(StartReader(L"1"), nullptr);

    DWORD type = 0, value = 1, size = sizeof(value);
    EXPECT_EQ(
        ::RegQueryValueExW(key, kValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 0u);
    ::RegCloseKey(key);
}

// Key lines of the file in order, values of the Last Login keys left out.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

TEST_F(ReaderWindowTest, FirstStartWritesTheDefaultFile) {
    InstallReader(folder, true);
    reader.emplace(folder, L"");
    ASSERT_NE(reader->WaitForMainWindow(), nullptr);
    SYSTEMTIME utc{};
    ::GetSystemTime(&utc);

    const std::vector<std::string> lines = Lines(ReadWholeFile(SettingsFile()));
    const std::vector<std::string> fixed = {
        "[General Settings]",   "Run=0",       "Time=1", "Timeout=0",
        "[Exit settings]",      "exit=0",      "tray=1", "[Update Settings]",
        "Automaticly update=1", "[Last Login]"};
    ASSERT_EQ(lines.size(), fixed.size() + 6);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + fixed.size()), fixed);

    const char* keys[] = {"y", "mo", "d", "h", "mi", "s"};
    int value[6] = {};
    for (int i = 0; i < 6; ++i) {
        const std::string& line = lines[fixed.size() + i];
        ASSERT_EQ(line.substr(0, line.find('=')), keys[i]);
        value[i] = std::stoi(line.substr(line.find('=') + 1));
    }
    // The seed is the Pacific wall clock: seven or eight hours behind UTC.
    SYSTEMTIME seed{};
    seed.wYear = static_cast<WORD>(value[0]);
    seed.wMonth = static_cast<WORD>(value[1]);
    seed.wDay = static_cast<WORD>(value[2]);
    seed.wHour = static_cast<WORD>(value[3]);
    seed.wMinute = static_cast<WORD>(value[4]);
    seed.wSecond = static_cast<WORD>(value[5]);
    FILETIME seedFile{}, utcFile{};
    ASSERT_TRUE(::SystemTimeToFileTime(&seed, &seedFile));
    ASSERT_TRUE(::SystemTimeToFileTime(&utc, &utcFile));
    const auto ticks = [](const FILETIME& f) {
        return (static_cast<long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    };
    const long long behindSeconds = (ticks(utcFile) - ticks(seedFile)) / 10000000;
    const bool pacific = (behindSeconds > 7 * 3600 - 120 && behindSeconds < 7 * 3600 + 120) ||
                         (behindSeconds > 8 * 3600 - 120 && behindSeconds < 8 * 3600 + 120);
    EXPECT_TRUE(pacific) << "seed is " << behindSeconds << " s behind UTC";
}

TEST_F(ReaderWindowTest, MissingSiblingWarnsAndStartUpGoesOn) {
    InstallReader(folder, false);
    WriteSettings(L"1");
    reader.emplace(folder, L"");
    const HWND box = reader->WaitForWindowTitled(L"Corvane", 20s);
    ASSERT_NE(box, nullptr);
    // The message box's text is its static control with id 0xFFFF.
    wchar_t text[128] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 128);
    EXPECT_STREQ(text, L"File error! Please reinstall Corvane!");
    EXPECT_TRUE(HasVisibleIcon(box)) << "the warning box shows no icon";
    EXPECT_EQ(reader->FindWindowTitled(L"Corvane Transactions Reader"), nullptr);

    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_NE(reader->WaitForMainWindow(), nullptr);
    EXPECT_TRUE(reader->Running());
}

TEST_F(ReaderWindowTest, MainWindowScreenshot) {
    const HWND main = StartReader(L"1");
    ASSERT_NE(main, nullptr);
    ::SetWindowPos(main, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE);
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(1s);

    RECT rect{};
    ::GetWindowRect(main, &rect);
    EXPECT_EQ(rect.right - rect.left, 480);
    EXPECT_EQ(rect.bottom - rect.top, 470);
    EXPECT_EQ(::GetWindowLongW(main, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0);
    EXPECT_NE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    const Capture shot = CaptureWindow(main);
    ASSERT_EQ(shot.width, 480);
    const std::wstring path = ArtifactFolder() + L"main-window.png";
    EXPECT_TRUE(WritePng(shot, path));
    // The margin beside the pages carries the fill colour; the title is white text.
    EXPECT_EQ(shot.At(6, 300), 0xE8E8E8u);
    EXPECT_EQ(shot.At(470, 460), 0xE8E8E8u);
    int white = 0;
    for (int y = 7; y < 20; ++y) {
        for (int x = 30; x < 230; ++x) white += shot.At(x, y) == 0xFFFFFF;
    }
    EXPECT_GT(white, 40) << "no title text painted";
    // Something (the window icon) is drawn at (8, 6).
    int iconPixels = 0;
    for (int y = 6; y < 22; ++y) {
        for (int x = 8; x < 24; ++x) iconPixels += shot.At(x, y) != 0xE8E8E8u;
    }
    EXPECT_GT(iconPixels, 20) << "no window icon painted";
}

}  // namespace
}  // namespace qv::wine
