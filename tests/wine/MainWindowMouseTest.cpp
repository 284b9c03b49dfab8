// The real QVReader.exe under Wine, driven with the mouse as a user drives
// it: the tab strip switches pages, the tabs and the close button answer the
// pointer with their hover look, and the close button acts by "Tray".

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "MouseInput.h"
#include "ReaderFixture.h"
#include "ScreenCapture.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

constexpr int kCloseButton = 1001;
constexpr int kTabStrip = 1002;
// The pages answer to their template ids, in tab order; the browser page last.
constexpr int kPageIds[] = {152, 9, 154, 183};
constexpr int kBrowserPage = 163;
constexpr const wchar_t* kTabNames[] = {L"accounts", L"log", L"data", L"settings"};
// Tab rectangles within the strip (left, right); all are 29 pixels high.
constexpr int kTabLeft[] = {0, 98, 196, 294};
constexpr int kTabWidth = 93;

class MainWindowMouseTest : public ReaderFixture {
protected:
    HWND main = nullptr;

    void StartOnTop(const wchar_t* tray) {
        main = StartReader(tray);
        ASSERT_NE(main, nullptr);
        ::SetWindowPos(main, nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        BringToTop(main);
        // Park the pointer away from the window.
        ASSERT_TRUE(MoveMouseTo(POINT{900, 900}));
    }

    HWND Strip() const { return ::GetDlgItem(main, kTabStrip); }

    POINT TabCentre(int tab) const {
        return ClientToScreenPoint(Strip(), kTabLeft[tab] + kTabWidth / 2, 14);
    }

    // Which of the four pages are visible, as a string of 0 and 1.
    std::string VisiblePages() const {
        std::string pages;
        for (int id : kPageIds) {
            const HWND page = ::GetDlgItem(main, id);
            pages += page != nullptr && ::IsWindowVisible(page) ? '1' : '0';
        }
        return pages;
    }

    Capture CaptureChild(int id) const { return CaptureWindow(::GetDlgItem(main, id)); }
};

std::string OnlyPage(int index) {
    std::string pages(4, '0');
    pages[static_cast<std::size_t>(index)] = '1';
    return pages;
}

TEST_F(MainWindowMouseTest, AClickOnEachTabShowsItsPageAndHidesTheOthers) {
    StartOnTop(L"1");
    ASSERT_EQ(VisiblePages(), OnlyPage(0));
    const HWND browser = ::GetDlgItem(main, kBrowserPage);
    ASSERT_NE(browser, nullptr);

    for (int tab : {1, 2, 3, 0, 2}) {
        SCOPED_TRACE(tab);
        ASSERT_TRUE(ClickAt(TabCentre(tab)));
        EXPECT_TRUE(WaitUntil([&] { return VisiblePages() == OnlyPage(tab); }, 5s))
            << "pages visible: " << VisiblePages();
        EXPECT_FALSE(::IsWindowVisible(browser)) << "the browser page is never shown";
        if (tab != 2) {
            // Screenshots of the window on each tab, with the pointer off it.
            ASSERT_TRUE(MoveMouseTo(POINT{900, 900}));
            std::this_thread::sleep_for(300ms);
            EXPECT_TRUE(WritePng(CaptureWindow(main),
                                 ArtifactFolder() + L"main-window-" + kTabNames[tab] + L".png"));
        }
    }
    ASSERT_TRUE(MoveMouseTo(POINT{900, 900}));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(WritePng(CaptureWindow(main), ArtifactFolder() + L"main-window-data.png"));
}

TEST_F(MainWindowMouseTest, AClickOnTheSelectedTabOrBetweenTabsChangesNothing) {
    StartOnTop(L"1");
    ASSERT_TRUE(ClickAt(TabCentre(1)));
    ASSERT_TRUE(WaitUntil([&] { return VisiblePages() == OnlyPage(1); }, 5s));
    ASSERT_TRUE(ClickAt(TabCentre(1)));
    ASSERT_TRUE(ClickAt(ClientToScreenPoint(Strip(), 95, 14)));  // the gap after tab 0
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(VisiblePages(), OnlyPage(1));
}

TEST_F(MainWindowMouseTest, HoveringATabChangesItsLookUntilThePointerLeaves) {
    StartOnTop(L"1");
    const Capture before = CaptureChild(kTabStrip);
    ASSERT_EQ(before.width, 387);
    ASSERT_EQ(before.height, 29);

    ASSERT_TRUE(MoveMouseTo(TabCentre(2)));
    Capture hovered;
    EXPECT_TRUE(WaitUntil(
        [&] { return DifferingPixels(before, hovered = CaptureChild(kTabStrip)) > 50; }, 5s));
    // Only the hovered tab changed.
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 387; ++x) {
            if (x >= kTabLeft[2] && x < kTabLeft[2] + kTabWidth) continue;
            ASSERT_EQ(hovered.At(x, y), before.At(x, y)) << x << "," << y;
        }
    }

    ASSERT_TRUE(MoveMouseTo(POINT{900, 900}));
    EXPECT_TRUE(
        WaitUntil([&] { return DifferingPixels(before, CaptureChild(kTabStrip)) == 0; }, 5s))
        << "the hover look stays after the pointer left";
}

TEST_F(MainWindowMouseTest, HoveringTheCloseButtonChangesItsLook) {
    StartOnTop(L"1");
    const HWND close = ::GetDlgItem(main, kCloseButton);
    const Capture before = CaptureWindow(close);
    ASSERT_EQ(before.width, 26);
    ASSERT_EQ(before.height, 25);

    ASSERT_TRUE(MoveMouseTo(ClientToScreenPoint(close, 13, 12)));
    EXPECT_TRUE(WaitUntil([&] { return DifferingPixels(before, CaptureWindow(close)) > 30; }, 5s));
    WritePng(CaptureWindow(main), ArtifactFolder() + L"main-window-close-hover.png");

    ASSERT_TRUE(MoveMouseTo(POINT{900, 900}));
    EXPECT_TRUE(WaitUntil([&] { return DifferingPixels(before, CaptureWindow(close)) == 0; }, 5s));
}

TEST_F(MainWindowMouseTest, ClickingCloseHidesWithTrayOneAndExitsWithTrayZero) {
    StartOnTop(L"1");
    const HWND close = ::GetDlgItem(main, kCloseButton);
    ASSERT_TRUE(ClickAt(ClientToScreenPoint(close, 13, 12)));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main) == FALSE; }, 5s));
    EXPECT_TRUE(reader->Running());
    reader.reset();  // ends this reader

    StartOnTop(L"0");
    ASSERT_TRUE(ClickAt(ClientToScreenPoint(::GetDlgItem(main, kCloseButton), 13, 12)));
    DWORD exitCode = 0;
    ASSERT_TRUE(reader->WaitForExit(15s, &exitCode));
    EXPECT_EQ(exitCode, static_cast<DWORD>(-1));
}

TEST_F(MainWindowMouseTest, APressOnCloseReleasedElsewhereDoesNothing) {
    StartOnTop(L"0");
    const HWND close = ::GetDlgItem(main, kCloseButton);
    ASSERT_TRUE(PressAt(ClientToScreenPoint(close, 13, 12)));
    ASSERT_TRUE(ReleaseAt(ClientToScreenPoint(main, 240, 300)));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(reader->Running());
    EXPECT_TRUE(::IsWindowVisible(main));
}

}  // namespace
}  // namespace qv::wine
