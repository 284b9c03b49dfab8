// The reader's main window created in this process, so that the test can
// add log lines through the real log page and read back what its list box
// shows, as the user sees it.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CMyObject.h"
#include "InProcessReader.h"
#include "ScreenCapture.h"
#include "Win32UiDispatcher.h"
#include "WindowMessages.h"
#include "resource.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

class LogPageTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(reader.Create());
        ::SetWindowPos(main.Handle(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE);
        Pump();
    }

    static void Pump() {
        win::Win32UiDispatcher::PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    }

    HWND List() const {
        return ::GetDlgItem(::GetDlgItem(main.Handle(), IDD_QVLIVE_LOG), IDC_LOG_LIST);
    }

    std::vector<std::wstring> Lines() const {
        std::vector<std::wstring> lines;
        const auto count = ::SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring line(static_cast<std::size_t>(::SendMessageW(List(), LB_GETTEXTLEN, i, 0)),
                              L'\0');
            ::SendMessageW(List(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
            lines.push_back(line);
        }
        return lines;
    }

    InProcessReader reader;
    CQVLiveDlg& main = reader.Main();
};

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

TEST_F(LogPageTest, LinesAddedWhileThePageIsShownAppearNewestFirst) {
    ::SendMessageW(main.Handle(), kShowPageMessage, 0, 1);
    ASSERT_TRUE(::IsWindowVisible(::GetDlgItem(main.Handle(), IDD_QVLIVE_LOG)));
    ASSERT_TRUE(Lines().empty());

    CMyObject account;
    account.m_nKind = kAccountNode;
    account.m_strNickname = L"abc";
    CDlgQVLiveLog& log = main.LogPage();
    log.AddLogLine(kLogStartManual);
    log.AddLogLine(kLogLoginAttempt, 0, &account);
    log.AddLogLine(kLogNewItems, 3, &account);
    Pump();
    std::vector<std::wstring> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[0], L"  [abc] Find out 3 new items.")) << lines[0];
    EXPECT_TRUE(EndsWith(lines[1], L"  [abc] Login attempt.")) << lines[1];
    EXPECT_TRUE(EndsWith(lines[2], L"  Start manual check of data.")) << lines[2];

    // Three lines of one event keep their order, below any later line; the
    // list's sort style must not reorder them.
    log.AddLogLine(kLogTooMuchData, 0, &account);
    log.AddLogLine(kLogFinishManual);
    log.AddLogLine(kLogSeparator);
    lines = Lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].substr(0, 4), L"- - ");
    EXPECT_EQ(lines[0].size(), 91u);
    EXPECT_TRUE(EndsWith(lines[1], L"Finish manual check of data."));
    EXPECT_TRUE(EndsWith(lines[2], L"[abc] It will take several minutes because "));
    EXPECT_EQ(lines[3], std::wstring(42, L' ') + L"of too much data. Please wait patiently or ");
    EXPECT_EQ(lines[4], std::wstring(42, L' ') + L"choose the \"Manual Import Data\".");
    EXPECT_TRUE(EndsWith(lines[5], L"Find out 3 new items."));

    Pump();
    const Capture shot = CaptureWindow(main.Handle());
    EXPECT_TRUE(WritePng(shot, ArtifactFolder() + L"log-page.png"));
    // The list box shows the lines: dark text pixels inside it.
    RECT list{};
    ::GetWindowRect(List(), &list);
    RECT window{};
    ::GetWindowRect(main.Handle(), &window);
    int dark = 0;
    for (int y = list.top - window.top + 2; y < list.top - window.top + 40; ++y) {
        for (int x = list.left - window.left + 2; x < list.right - window.left - 20; ++x) {
            const std::uint32_t p = shot.At(x, y);
            dark += ((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60;
        }
    }
    EXPECT_GT(dark, 100) << "no text painted in the list";
}

TEST_F(LogPageTest, LinesAddedWhileHiddenAreThereWhenThePageIsShown) {
    ASSERT_FALSE(::IsWindowVisible(::GetDlgItem(main.Handle(), IDD_QVLIVE_LOG)));
    main.LogPage().AddLogLine(kLogNoInternet);
    main.LogPage().AddLogLine(kLogSeparator);
    ::SendMessageW(main.Handle(), kShowPageMessage, 0, 1);
    const std::vector<std::wstring> lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[1], L"  Unable to connect Internet."));
}

}  // namespace
}  // namespace qv::wine
