// The decisions of the drawn controls, without a window: which images a
// button and a check box paint, when a release changes a check box or a
// radio button, what the tab strip does with the mouse, and where the
// group box puts its frame and caption.

#include <gtest/gtest.h>

#include <vector>

#include "ButtonLook.h"
#include "CheckLook.h"
#include "GroupBoxGeometry.h"
#include "RadioGroup.h"
#include "TabStripState.h"

namespace qv {
namespace {

using enum ButtonImage;

TEST(ButtonLookTest, ImagesPaintedBottomToTop) {
    struct Case {
        bool enabled, hovered, pressed;
        std::vector<ButtonImage> images;
    };
    const Case cases[] = {
        {true, false, false, {Normal}},
        {true, true, false, {Normal, Hover}},
        {true, true, true, {Normal, Hover, Pressed}},
        {true, false, true, {Normal, Pressed}},  // pressed by the keyboard
        // A disabled button shows its disabled image alone, under the mouse too.
        {false, false, false, {Disabled}},
        {false, true, false, {Disabled}},
        {false, true, true, {Disabled}},
    };
    for (const Case& c : cases) {
        const ButtonLayers layers = ButtonImageLayers(c.enabled, c.hovered, c.pressed);
        const std::vector<ButtonImage> got(layers.images.begin(),
                                           layers.images.begin() + static_cast<long>(layers.count));
        EXPECT_EQ(got, c.images) << c.enabled << c.hovered << c.pressed;
    }
}

TEST(CheckLookTest, GlyphIndexesOfTheSixImageStrip) {
    struct Case {
        bool checked, hovered, pressed;
        std::vector<int> indexes;
    };
    const Case cases[] = {
        {false, false, false, {0}},  {false, true, false, {0, 1}}, {false, true, true, {0, 1, 2}},
        {true, false, false, {3}},   {true, true, false, {3, 4}},  {true, true, true, {3, 4, 5}},
        {true, false, true, {3, 5}},
    };
    for (const Case& c : cases) {
        const GlyphLayers layers = CheckGlyphLayers(c.checked, c.hovered, c.pressed);
        const std::vector<int> got(layers.indexes.begin(),
                                   layers.indexes.begin() + static_cast<long>(layers.count));
        EXPECT_EQ(got, c.indexes) << c.checked << c.hovered << c.pressed;
    }
}

TEST(CheckLookTest, GlyphIsCentredInItsSlotAndTheControlHeight) {
    EXPECT_EQ(GlyphOrigin(12, 12, 20), (Point{2, 4}));
    EXPECT_EQ(GlyphOrigin(13, 13, 13), (Point{1, 0}));
}

TEST(CheckLookTest, AReleaseTogglesOnlyOverTheControlAfterAHover) {
    const Rect client{0, 0, 80, 16};
    EXPECT_TRUE(CheckToggles(true, {10, 8}, client));
    // Pressed inside, released outside (the capture reports the point outside).
    EXPECT_FALSE(CheckToggles(true, {90, 8}, client));
    EXPECT_FALSE(CheckToggles(true, {10, -3}, client));
    EXPECT_FALSE(CheckToggles(true, {80, 8}, client));  // the right edge is outside
    EXPECT_FALSE(CheckToggles(false, {10, 8}, client));
    // A radio that is checked already stays as it is.
    EXPECT_TRUE(RadioClaims(true, {10, 8}, client, false));
    EXPECT_FALSE(RadioClaims(true, {10, 8}, client, true));
    EXPECT_FALSE(RadioClaims(true, {90, 8}, client, false));
}

class CountingRadio final : public RadioGroupMember {
public:
    int changes = 0;

protected:
    void OnCheckedChanged() override { ++changes; }
};

TEST(RadioGroupTest, CheckingOneClearsItsPartnersAndACheckedOneChangesNothing) {
    CountingRadio exit, tray, third;
    ASSERT_TRUE(exit.AddPartner(tray));
    ASSERT_TRUE(exit.AddPartner(third));
    ASSERT_TRUE(tray.AddPartner(exit));
    ASSERT_TRUE(tray.AddPartner(third));
    tray.SetChecked(true);
    third.SetChecked(true);  // an owner's saved values may contradict each other
    exit.changes = tray.changes = third.changes = 0;

    exit.Claim();
    EXPECT_TRUE(exit.Checked());
    EXPECT_FALSE(tray.Checked());
    EXPECT_FALSE(third.Checked());
    EXPECT_EQ(exit.changes, 1);
    EXPECT_EQ(tray.changes, 1);
    EXPECT_EQ(third.changes, 1);

    exit.Claim();  // clicking the checked radio again
    EXPECT_TRUE(exit.Checked());
    EXPECT_EQ(exit.changes + tray.changes + third.changes, 3) << "nothing repainted";
}

TEST(RadioGroupTest, PartnerListRefusesItselfDuplicatesAndAnEleventh) {
    CountingRadio radio;
    EXPECT_FALSE(radio.AddPartner(radio));
    std::vector<CountingRadio> others(RadioGroupMember::kMaxPartners + 1);
    EXPECT_TRUE(radio.AddPartner(others[0]));
    EXPECT_FALSE(radio.AddPartner(others[0]));
    for (std::size_t i = 1; i < RadioGroupMember::kMaxPartners; ++i) {
        EXPECT_TRUE(radio.AddPartner(others[i]));
    }
    EXPECT_FALSE(radio.AddPartner(others.back()));
    EXPECT_EQ(radio.PartnerCount(), RadioGroupMember::kMaxPartners);
}

// The main window's four tabs, with gaps between them.
TabStripState MainTabs() {
    TabStripState tabs;
    tabs.SetTabCount(4);
    const Rect rects[] = {{0, 0, 93, 29}, {98, 0, 191, 29}, {196, 0, 289, 29}, {294, 0, 387, 29}};
    for (int i = 0; i < 4; ++i) tabs.SetTabRect(i, rects[i]);
    tabs.Select(0);
    return tabs;
}

TEST(TabStripStateTest, APressSelectsAnotherTabAndOnTheSelectedOneAnnouncesNothing) {
    TabStripState tabs = MainTabs();
    EXPECT_EQ(tabs.OnPress({10, 10}), TabStripState::kNone);  // the selected tab
    EXPECT_EQ(tabs.Selected(), 0);
    EXPECT_EQ(tabs.OnPress({95, 10}), TabStripState::kNone);  // in the gap
    EXPECT_EQ(tabs.OnPress({150, 28}), 1);
    EXPECT_EQ(tabs.Selected(), 1);
    EXPECT_EQ(tabs.OnPress({150, 5}), TabStripState::kNone);
    EXPECT_EQ(tabs.OnPress({386, 0}), 3);
    EXPECT_EQ(tabs.OnPress({387, 0}), TabStripState::kNone);  // past the last tab
}

TEST(TabStripStateTest, HoverFollowsTheMouseAndLeavesWithIt) {
    TabStripState tabs = MainTabs();
    EXPECT_EQ(tabs.Hover(), TabStripState::kNone);
    EXPECT_TRUE(tabs.OnMouseMove({200, 10}));
    EXPECT_EQ(tabs.Hover(), 2);
    EXPECT_FALSE(tabs.OnMouseMove({250, 12})) << "same tab: no repaint";
    EXPECT_FALSE(tabs.OnMouseMove({192, 12})) << "between tabs the hover stays";
    EXPECT_EQ(tabs.Hover(), 2);
    EXPECT_TRUE(tabs.OnMouseMove({120, 12}));
    EXPECT_EQ(tabs.Hover(), 1);
    EXPECT_TRUE(tabs.OnMouseLeave());
    EXPECT_EQ(tabs.Hover(), TabStripState::kNone);
    EXPECT_FALSE(tabs.OnMouseLeave());
}

TEST(TabStripStateTest, DrawOrderPutsTheSelectedTabOnTop) {
    TabStripState tabs = MainTabs();
    tabs.Select(2);
    tabs.OnMouseMove({10, 10});
    const std::vector<TabDrawStep> expected = {{3, TabImage::Normal},
                                               {2, TabImage::Normal},
                                               {1, TabImage::Normal},
                                               {0, TabImage::Hover},
                                               {2, TabImage::Selected}};
    EXPECT_EQ(tabs.DrawOrder(), expected);
}

TEST(TabStripStateTest, OwnerSelectionIgnoresUnknownIndexes) {
    TabStripState tabs = MainTabs();
    EXPECT_FALSE(tabs.Select(0));
    EXPECT_TRUE(tabs.Select(3));
    EXPECT_FALSE(tabs.Select(4));
    EXPECT_FALSE(tabs.Select(-1));
    EXPECT_EQ(tabs.Selected(), 3);
}

TEST(GroupBoxGeometryTest, FrameWithCutCornersBelowTheCaption) {
    const GroupBoxLayout layout = LayOutGroupBox({0, 0, 100, 60}, 40, 13);
    // Inside the client shrunk by one pixel, its top 6 pixels lower, corners cut by 2.
    const std::array<Point, 9> frame = {Point{3, 7},   Point{96, 7},  Point{98, 9},
                                        Point{98, 56}, Point{96, 58}, Point{3, 58},
                                        Point{1, 56},  Point{1, 9},   Point{3, 7}};
    EXPECT_EQ(layout.frame, frame);
    EXPECT_EQ(layout.caption, (Rect{6, 0, 49, 14}));
    // The caption band covers the frame's top line where the text is.
    EXPECT_LE(layout.caption.top, frame[0].y);
    EXPECT_GT(layout.caption.bottom, frame[0].y);
}

TEST(GroupBoxGeometryTest, CaptionWiderThanTheControlIsClipped) {
    const GroupBoxLayout layout = LayOutGroupBox({0, 0, 80, 40}, 200, 13);
    EXPECT_EQ(layout.caption.right, 80);
    const GroupBoxLayout tiny = LayOutGroupBox({0, 0, 4, 8}, 200, 13);
    EXPECT_EQ(tiny.caption.right, tiny.caption.left) << "never a negative width";
    EXPECT_EQ(tiny.caption.bottom, 8);
}

}  // namespace
}  // namespace qv
