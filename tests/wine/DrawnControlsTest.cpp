// The drawn controls in a real dialog under Wine, driven with the mouse:
// what they paint, what the owner still hears of them, and the cases where
// a click must change nothing.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "CGuiGroupBox.h"
#include "CNButtonEx.h"
#include "CNCheckEx.h"
#include "CNRadioEx.h"
#include "CNStaticEx.h"
#include "DialogBase.h"
#include "InProcessInput.h"
#include "MouseInput.h"
#include "ReaderProcess.h"
#include "ScreenCapture.h"
#include "Win32UiDispatcher.h"
#include "resource.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

enum : int {
    kDialog = 900,
    kCheck = 901,
    kRadioExit = 902,
    kRadioTray = 903,
    kButton = 904,
    kGroup = 905,
    kStatic = 906
};

// The owner: binds the drawn controls and notes every command it hears.
class ControlsDialog final : public win::DialogBase {
public:
    ControlsDialog() : DialogBase(::GetModuleHandleW(nullptr), kDialog) {}

    CNCheckEx check;
    CNRadioEx exitRadio;
    CNRadioEx trayRadio;
    CNButtonEx button;
    CGuiGroupBox group;
    CNStaticEx text;
    std::vector<int> clicks;  // ids of BN_CLICKED notifications, in order

protected:
    BOOL OnInitDialog() override {
        check.Attach(Handle(), kCheck);
        check.SetGlyphStrip(IDB_CHECK_GLYPHS);
        exitRadio.Attach(Handle(), kRadioExit);
        trayRadio.Attach(Handle(), kRadioTray);
        for (CNRadioEx* radio : {&exitRadio, &trayRadio}) radio->SetGlyphStrip(IDB_RADIO_GLYPHS);
        exitRadio.AddPartner(trayRadio);
        trayRadio.AddPartner(exitRadio);
        trayRadio.SetCheck(true);
        button.Attach(Handle(), kButton);
        button.SetBitmaps(IDB_SAVE_NORMAL, IDB_SAVE_HOVER, IDB_SAVE_PRESSED, IDB_SAVE_PRESSED, 106,
                          48);
        ::SetWindowPos(button.Handle(), nullptr, 0, 0, 106, 48, SWP_NOMOVE | SWP_NOZORDER);
        group.Attach(Handle(), kGroup);
        group.SetCaptionBackColour(RGB(255, 255, 255));
        text.Attach(Handle(), kStatic);
        text.SetTextColour(RGB(200, 0, 0));
        text.SetBold(true);
        return TRUE;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            clicks.push_back(LOWORD(wParam));
            result = 0;
            return true;
        }
        return false;
    }
};

class DrawnControlsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create(nullptr));
        ::SetWindowPos(dialog.Handle(), HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE);
        ::SetForegroundWindow(dialog.Handle());
        ASSERT_TRUE(Drive([] { return MoveMouseTo(POINT{900, 900}); }));
        Pump(300ms);
    }

    HWND Item(int id) const { return ::GetDlgItem(dialog.Handle(), id); }
    POINT At(int id, int x, int y) const { return ClientToScreenPoint(Item(id), x, y); }
    bool Checked(int id) const {
        return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    ControlsDialog dialog;
};

TEST_F(DrawnControlsTest, CheckBoxTogglesOnAClickAndNotOnAPressReleasedOutside) {
    ASSERT_FALSE(Checked(kCheck));
    const Capture unchecked = CaptureWindow(Item(kCheck));

    ASSERT_TRUE(Drive([&] { return ClickAt(At(kCheck, 6, 8)); }));
    EXPECT_TRUE(Checked(kCheck));
    EXPECT_EQ(dialog.clicks, std::vector<int>{kCheck}) << "the owner still hears the click";
    ASSERT_TRUE(Drive([] { return MoveMouseTo(POINT{900, 900}); }));
    EXPECT_GT(DifferingPixels(unchecked, CaptureWindow(Item(kCheck))), 5) << "the tick is drawn";

    ASSERT_TRUE(Drive([&] { return PressAt(At(kCheck, 6, 8)) && ReleaseAt(POINT{900, 900}); }));
    EXPECT_TRUE(Checked(kCheck)) << "released outside: no change";
    EXPECT_EQ(dialog.clicks.size(), 1u);

    ASSERT_TRUE(Drive([&] { return ClickAt(At(kCheck, 6, 8)); }));
    EXPECT_FALSE(Checked(kCheck));
}

TEST_F(DrawnControlsTest, RadioClaimsItsGroupAndAClickOnTheCheckedOneChangesNothing) {
    ASSERT_TRUE(Checked(kRadioTray));
    ASSERT_FALSE(Checked(kRadioExit));

    ASSERT_TRUE(Drive([&] { return ClickAt(At(kRadioTray, 6, 8)); }));
    EXPECT_TRUE(Checked(kRadioTray));
    EXPECT_FALSE(Checked(kRadioExit));

    ASSERT_TRUE(Drive([&] { return ClickAt(At(kRadioExit, 6, 8)); }));
    EXPECT_TRUE(Checked(kRadioExit));
    EXPECT_FALSE(Checked(kRadioTray)) << "the partner is cleared";
    EXPECT_EQ(dialog.clicks, (std::vector<int>{kRadioTray, kRadioExit}));
}

TEST_F(DrawnControlsTest, ImageButtonShowsHoverAndDisabledOnlyItsDisabledImage) {
    const Capture normal = CaptureWindow(Item(kButton));
    ASSERT_EQ(normal.width, 106);
    ASSERT_TRUE(Drive([&] { return MoveMouseTo(At(kButton, 50, 24)); }));
    ASSERT_TRUE(PumpUntil([&] {
        return DifferingPixels(normal, CaptureWindow(Item(kButton))) > 50;
    })) << "no hover look";

    ASSERT_TRUE(Drive([] { return MoveMouseTo(POINT{900, 900}); }));
    dialog.button.EnableButton(false);
    Pump(300ms);
    const Capture disabled = CaptureWindow(Item(kButton));
    EXPECT_GT(DifferingPixels(normal, disabled), 50);
    // Under the mouse a disabled button keeps its disabled image, and a click does nothing.
    ASSERT_TRUE(Drive([&] { return ClickAt(At(kButton, 50, 24)); }));
    EXPECT_EQ(DifferingPixels(disabled, CaptureWindow(Item(kButton))), 0);
    EXPECT_TRUE(dialog.clicks.empty());

    dialog.button.EnableButton(true);
    ASSERT_TRUE(Drive([&] { return ClickAt(At(kButton, 50, 24)); }));
    EXPECT_EQ(dialog.clicks, std::vector<int>{kButton});
}

TEST_F(DrawnControlsTest, GroupBoxDrawsItsOwnCaptionClippedToTheBox) {
    EXPECT_EQ(dialog.group.Caption(), L"A caption far wider than its box");
    wchar_t text[64] = {};
    ::GetWindowTextW(Item(kGroup), text, 64);
    EXPECT_STREQ(text, L"") << "the platform must not draw a caption too";

    // The window is on top: its screenshot is what the user sees.
    const Capture shot = CaptureWindow(dialog.Handle());
    EXPECT_TRUE(WritePng(shot, ArtifactFolder() + L"drawn-controls.png"));
    const Capture box = CaptureWindow(Item(kGroup));
    int white = 0;
    for (int x = 6; x < box.width; ++x) white += box.At(x, 2) == 0xFFFFFFu;
    EXPECT_GT(white, box.width / 3) << "no caption band";
}

}  // namespace
}  // namespace qv::wine
