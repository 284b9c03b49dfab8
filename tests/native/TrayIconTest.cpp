// The tray icon's record as the shell receives it: the animation during a
// check, the restored icon and the new-items balloon.

#include <gtest/gtest.h>

#include "PortFakes.h"
#include "TrayIcon.h"
#include "resource.h"

namespace qv {
namespace {

constexpr std::uint32_t kPlainFlags =
    NotifyIconRecord::kMessage | NotifyIconRecord::kIcon | NotifyIconRecord::kTip;

class TrayIconTest : public testing::Test {
protected:
    test::FakeNotifyIcon shell;
    TrayIcon tray{shell, 0x0405};

    const NotifyIconRecord& Last() const { return shell.events.back().record; }
};

TEST_F(TrayIconTest, AddCarriesIdentityTipAndCallback) {
    tray.Add();
    ASSERT_EQ(shell.events.size(), 1u);
    EXPECT_EQ(shell.events[0].call, test::FakeNotifyIcon::Call::Add);
    EXPECT_EQ(Last().id, 203u);
    EXPECT_EQ(Last().flags, kPlainFlags);
    EXPECT_EQ(Last().callbackMessage, 0x0405u);
    EXPECT_EQ(Last().iconResource, IDI_QVREADER);
    EXPECT_EQ(Last().tip, L"Corvane Transactions Reader");
}

TEST_F(TrayIconTest, AnimationRunsSevenTicksAndHoldsTheLastFrameOnce) {
    // Two full cycles and the start of a third: the frame is never reset.
    const int expected[] = {205, 206, 207, 208, 209, 210, 210, 205, 206, 207, 208,
                            209, 210, 210, 205};
    for (int icon : expected) {
        tray.StepTrayAnimation();
        EXPECT_EQ(shell.events.back().call, test::FakeNotifyIcon::Call::Modify);
        EXPECT_EQ(Last().iconResource, icon);
        EXPECT_EQ(Last().flags, kPlainFlags);
        EXPECT_EQ(Last().timeout, 1000u);
    }
    EXPECT_EQ(tray.AnimationFrame(), 1);

    tray.RestoreTrayIcon();
    EXPECT_EQ(Last().iconResource, IDI_QVREADER);
    EXPECT_EQ(Last().flags, kPlainFlags);
    // Restoring does not restart the cycle.
    tray.StepTrayAnimation();
    EXPECT_EQ(Last().iconResource, 206);
}

TEST_F(TrayIconTest, NoBalloonForNothingNew) {
    tray.ShowNewItemsBalloon(L"abc", 0);
    EXPECT_TRUE(shell.events.empty());
    EXPECT_TRUE(tray.BalloonTitle().empty());
}

TEST_F(TrayIconTest, BalloonNamesTheAccountAndTheCount) {
    tray.ShowNewItemsBalloon(L"abc", 3);
    ASSERT_EQ(shell.events.size(), 1u);
    EXPECT_EQ(Last().infoTitle, L"Account: abc");
    EXPECT_EQ(Last().info, L"Get 3 new items");
    EXPECT_EQ(Last().flags, kPlainFlags | NotifyIconRecord::kInfo);
    EXPECT_EQ(Last().infoFlags, 1u);
    EXPECT_EQ(Last().timeout, 1000u);

    // The next animation step modifies the icon without showing the balloon again.
    tray.StepTrayAnimation();
    EXPECT_EQ(Last().flags & NotifyIconRecord::kInfo, 0u);
}

TEST_F(TrayIconTest, BalloonTextsAreCutToTheRecordFields) {
    struct Case {
        std::size_t nicknameLength;
        std::size_t titleLength;
    };
    // "Account: " is nine characters; the title field holds 63.
    const Case cases[] = {{54, 63}, {55, 63}, {53, 62}, {300, 63}};
    for (const auto& c : cases) {
        const std::wstring nickname(c.nicknameLength, L'n');
        tray.ShowNewItemsBalloon(nickname, 2147483647);
        EXPECT_EQ(Last().infoTitle.size(), c.titleLength) << c.nicknameLength;
        EXPECT_EQ(Last().infoTitle.substr(0, 9), L"Account: ");
        // The window keeps the whole text; only the record is cut.
        EXPECT_EQ(tray.BalloonTitle().size(), 9 + c.nicknameLength);
        EXPECT_EQ(Last().info, L"Get 2147483647 new items");
    }
}

}  // namespace
}  // namespace qv
