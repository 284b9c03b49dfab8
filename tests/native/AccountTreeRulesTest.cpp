// The account tree's decisions without a window: where a row's images go,
// which image a point is on, what a press does, and how a click on a check
// image spreads between a group and its accounts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AccountList.h"
#include "AccountTreeRules.h"
#include "LoadAccounts.h"

namespace qv {
namespace {

// Nodes placed as a paint with the usual indent and offset would place them.
void PlaceAsPainted(CMyObject& node, int rightEdge, const Rect& row) {
    node.m_nIndent = 19;
    const RowImagePlaces at = PlaceRowImages(node, rightEdge, row);
    node.m_rcCheck = ToNodeRect(at.check);
    node.m_rcLink = ToNodeRect(at.link);
}

TEST(AccountTreeLayoutTest, CheckImageEndsSevenPixelsBeforeTheDataLinkAtTheRightEdge) {
    CMyObject node;
    node.m_nIndent = 19;
    const RowImagePlaces at = PlaceRowImages(node, 300, Rect{40, 16, 90, 32});
    EXPECT_EQ(at.link, (Rect{300 - 19 - kDataLinkWidth, 18, 300 - 19, 30}));
    EXPECT_EQ(at.check.right, 300 - 19 - 20 - kCheckImageWidth);
    EXPECT_EQ(at.check.Width(), kCheckImageWidth);
    EXPECT_EQ(at.link.left - at.check.right, 7);
    EXPECT_EQ(at.check.top, at.link.top);
    EXPECT_EQ(at.check.Height(), kCheckImageHeight);

    // A larger check offset moves only the check image.
    node.m_nCheckOffset = 35;
    const RowImagePlaces wider = PlaceRowImages(node, 300, Rect{40, 16, 90, 32});
    EXPECT_EQ(wider.link, at.link);
    EXPECT_EQ(wider.check.right, at.check.right - 15);
}

TEST(AccountTreeLayoutTest, ImagesAreCentredOnTheRowAndIgnoreItsHorizontalPlace) {
    CMyObject node;
    struct Case {
        Rect row;
        int top;
    };
    const Case cases[] = {
        {{40, 0, 90, 16}, 2},
        {{-120, 16, -60, 32}, 18},   // scrolled far to the left
        {{10, 100, 400, 117}, 102},  // odd height: the spare pixel goes below
        {{10, 5, 20, 12}, 3},        // a row lower than the image
    };
    for (const Case& c : cases) {
        const RowImagePlaces at = PlaceRowImages(node, 250, c.row);
        EXPECT_EQ(at.check.top, c.top) << c.row.top;
        EXPECT_EQ(at.link.top, c.top) << c.row.top;
        EXPECT_EQ(at.link.right, 250) << c.row.left;
    }
}

TEST(AccountTreeLayoutTest, RightEdgeStaysPutWhetherOrNotTheVerticalScrollBarShows) {
    // Client 200 wide; a 1-pixel border on each side; scroll bars 17 pixels.
    EXPECT_EQ(ImageRightEdge(202, 200, 17), 183) << "no vertical bar: keep clear of its place";
    EXPECT_EQ(ImageRightEdge(202, 183, 17), 183) << "with the bar the client shrinks";
    EXPECT_EQ(ImageRightEdge(200, 200, 17), 183) << "no border";
    EXPECT_EQ(ImageRightEdge(216, 200, 17), 183) << "one pixel short of a bar";
    EXPECT_EQ(ImageRightEdge(217, 200, 17), 200) << "exactly a bar wider";

    CMyObject node;
    const Rect row{30, 0, 150, 16};
    EXPECT_EQ(PlaceRowImages(node, ImageRightEdge(202, 200, 17), row),
              PlaceRowImages(node, ImageRightEdge(202, 183, 17), row));
}

TEST(AccountTreeLayoutTest, ScrollStateFollowsTheHorizontalBar) {
    EXPECT_EQ(TreeScrollState(false, 40, 0, 500, 200), (TreeScroll{0, 200}));
    EXPECT_EQ(TreeScrollState(true, 40, 0, 499, 200), (TreeScroll{-40, 500}));
    EXPECT_EQ(TreeScrollState(true, 0, 0, 120, 200), (TreeScroll{0, 200}))
        << "never narrower than the client";
    // The selected row's band reaches the end of the scrollable width on screen.
    EXPECT_EQ(SelectionRight(TreeScrollState(true, 40, 0, 499, 200)), 460);
}

TEST(AccountTreeLayoutTest, ExpanderAndIconSitLeftOfTheText) {
    const Rect text{60, 16, 110, 32};
    EXPECT_EQ(ExpanderRect(text), (Rect{27, 19, 36, 28}));
    EXPECT_EQ(IconRect(text, 16, 16), (Rect{42, 16, 58, 32}));
    EXPECT_EQ(IconRect(Rect{60, 16, 110, 34}, 16, 16), (Rect{42, 17, 58, 33}));
}

TEST(AccountTreeHitTest, EachImageHoldsItsLeftAndTopEdgeButNotItsRightAndBottom) {
    CMyObject node;
    node.m_rcCheck = NodeRect{100, 20, 130, 32};
    node.m_rcLink = NodeRect{137, 20, 180, 32};
    struct Case {
        Point p;
        NodeImage hit;
    };
    const Case cases[] = {
        {{100, 20}, NodeImage::Check}, {{129, 31}, NodeImage::Check}, {{130, 25}, NodeImage::None},
        {{115, 32}, NodeImage::None},  {{99, 25}, NodeImage::None},   {{115, 19}, NodeImage::None},
        {{137, 20}, NodeImage::Link},  {{179, 31}, NodeImage::Link},  {{180, 25}, NodeImage::None},
        {{150, 32}, NodeImage::None},  {{133, 25}, NodeImage::None},  // in the gap between them
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitNodeImage(node, c.p), c.hit) << c.p.x << "," << c.p.y;
    }
}

TEST(AccountTreeHitTest, NodeNeverPaintedHasNoImageToHit) {
    CMyObject node;
    EXPECT_EQ(HitNodeImage(node, Point{0, 0}), NodeImage::None);
}

// Two groups as account.ini would give them: Shop with alice, bob and carol,
// and Spare with no account.
class AccountTreeCheckTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AddAccountLine(list, L"Shop.mdb;pw;x;alice;a;x;bob;b;x;carol;c;x;"), 4u);
        ASSERT_EQ(AddAccountLine(list, L"Spare.mdb;pw;x;"), 1u);
        shop = list.Head();
        alice = shop->m_pNext;
        bob = alice->m_pNext;
        carol = bob->m_pNext;
        spare = carol->m_pNext;
    }

    void Click(CMyObject& node) { ToggleNodeCheck(list.Head(), node); }

    // The check states in list order: Shop, alice, bob, carol, Spare.
    std::vector<int> States() const {
        std::vector<int> states;
        for (const CMyObject* n = list.Head(); n != nullptr; n = n->m_pNext) {
            states.push_back(n->m_bChecked);
        }
        return states;
    }

    AccountList list;
    CMyObject* shop = nullptr;
    CMyObject* alice = nullptr;
    CMyObject* bob = nullptr;
    CMyObject* carol = nullptr;
    CMyObject* spare = nullptr;
};

TEST_F(AccountTreeCheckTest, GroupOffTurnsItsAccountsOffAndOneAccountBackOnTurnsItOn) {
    Click(*shop);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 1})) << "the other group is untouched";
    Click(*bob);
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 1, 0, 1}));
    Click(*bob);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 1})) << "its siblings are OFF";
    Click(*shop);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(AccountTreeCheckTest, AccountOffLeavesTheGroupOnWhileAnotherIsOn) {
    Click(*alice);
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 1, 1, 1}));
    Click(*carol);
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 1, 0, 1}));
    Click(*bob);
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 1})) << "the last one ON went OFF";
    Click(*alice);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 0, 0, 1}));
    Click(*carol);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 0, 1, 1})) << "ON with an ON group stays so";
}

TEST_F(AccountTreeCheckTest, GroupWithoutAccountsFlipsOnlyItself) {
    Click(*spare);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 0}));
    Click(*spare);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(AccountTreeCheckTest, GroupClickGivesEveryAccountItsNewState) {
    Click(*alice);
    Click(*bob);
    Click(*shop);  // ON with carol: now OFF, all of them
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 1}));
    Click(*alice);
    Click(*shop);  // alice alone made it ON; the click turns all OFF again
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 1}));
    Click(*shop);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(AccountTreeCheckTest, PressOnAnImageActsAndStillReachesTheTree) {
    PlaceAsPainted(*bob, 300, Rect{60, 32, 100, 48});
    const Point onCheck{bob->m_rcCheck.left + 3, bob->m_rcCheck.top + 3};
    const Point onLink{bob->m_rcLink.right - 1, bob->m_rcLink.bottom - 1};

    const TreePress check = PressTree(list.Head(), bob, onCheck);
    EXPECT_EQ(bob->m_bChecked, 0);
    EXPECT_EQ(check.cursor, TreeCursor::Hand);
    EXPECT_TRUE(check.repaint);
    EXPECT_FALSE(check.showData);
    EXPECT_TRUE(check.passOn);

    const TreePress link = PressTree(list.Head(), bob, onLink);
    EXPECT_EQ(link.cursor, TreeCursor::Hand);
    EXPECT_TRUE(link.showData);
    EXPECT_FALSE(link.repaint);
    EXPECT_TRUE(link.passOn);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 0, 1, 1})) << "the Data link changes no state";
}

TEST_F(AccountTreeCheckTest, PressBesideTheImagesOnlySelectsAndBesideTheItemsDoesNothing) {
    PlaceAsPainted(*shop, 300, Rect{40, 0, 80, 16});
    const TreePress text = PressTree(list.Head(), shop, Point{50, 8});
    EXPECT_EQ(text.cursor, TreeCursor::Arrow);
    EXPECT_TRUE(text.passOn);
    EXPECT_FALSE(text.repaint || text.showData);

    // Below the last item the tree finds no item: nothing, not even the tree, hears it.
    const TreePress none = PressTree(list.Head(), nullptr, Point{50, 300});
    EXPECT_EQ(none.cursor, TreeCursor::Keep);
    EXPECT_FALSE(none.passOn || none.repaint || none.showData);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(AccountTreeCheckTest, MovingShowsTheHandOverEitherImage) {
    PlaceAsPainted(*carol, 300, Rect{60, 48, 100, 64});
    const Point onCheck{carol->m_rcCheck.left, carol->m_rcCheck.top};
    const Point onLink{carol->m_rcLink.left, carol->m_rcLink.top};
    const Point gap{carol->m_rcCheck.right, carol->m_rcCheck.top};
    EXPECT_EQ(PointTree(carol, onCheck).cursor, TreeCursor::Hand);
    EXPECT_EQ(PointTree(carol, onLink).cursor, TreeCursor::Hand);
    EXPECT_EQ(PointTree(carol, gap).cursor, TreeCursor::Arrow);
    EXPECT_TRUE(PointTree(carol, gap).passOn);
    EXPECT_EQ(PointTree(nullptr, onCheck).cursor, TreeCursor::Keep);
    EXPECT_FALSE(PointTree(nullptr, onCheck).passOn);
    EXPECT_EQ(carol->m_bChecked, 1) << "moving changes no state";
}

}  // namespace
}  // namespace qv
