// The account tree in a dialog of its own under Wine, filled from an
// account list and driven with real mouse clicks: what the ON/OFF images
// and the Data link do, what a click on the text or beside the items does,
// and what the tree paints.

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "AccountList.h"
#include "CMyTreeCtrl.h"
#include "DialogBase.h"
#include "Gdi.h"
#include "InProcessInput.h"
#include "LoadAccounts.h"
#include "MouseInput.h"
#include "ReaderProcess.h"
#include "ScreenCapture.h"
#include "Win32UiDispatcher.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

constexpr int kDialog = 910;
constexpr int kTree = 1003;

class TreeDialog final : public win::DialogBase {
public:
    explicit TreeDialog(AccountList& list)
        : DialogBase(::GetModuleHandleW(nullptr), kDialog), list_(list) {}

    CMyTreeCtrl tree;
    std::vector<CMyObject*> dataLinks;  // nodes the Data link was pressed for, in order

protected:
    BOOL OnInitDialog() override {
        tree.Attach(Handle(), kTree);
        tree.ShowAccounts(list_);
        tree.SetDataLinkHandler([this](CMyObject& node) { dataLinks.push_back(&node); });
        return TRUE;
    }

private:
    AccountList& list_;
};

// A bitmap of one colour with magenta corners, as the program's images
// have a transparent surround.
win::UniqueBitmap SolidImage(int width, int height, COLORREF colour) {
    const win::WindowDc screen(nullptr);
    win::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.Dc(), width, height));
    const win::BitmapDc canvas(bitmap.get());
    const win::UniqueBrush brush(::CreateSolidBrush(colour));
    const RECT all{0, 0, width, height};
    ::FillRect(canvas.Dc(), &all, brush.get());
    for (const POINT p :
         {POINT{0, 0}, POINT{width - 1, 0}, POINT{0, height - 1}, POINT{width - 1, height - 1}}) {
        ::SetPixel(canvas.Dc(), p.x, p.y, RGB(255, 0, 255));
    }
    return bitmap;
}

// The expander strip: a black plus on white (left half), a black minus
// (right half).
win::UniqueBitmap ExpanderImage() {
    const int size = kExpanderSize;
    win::UniqueBitmap bitmap = SolidImage(2 * size, size, RGB(255, 255, 255));
    const win::BitmapDc canvas(bitmap.get());
    for (int i = 1; i < size - 1; ++i) {
        ::SetPixel(canvas.Dc(), i, size / 2, RGB(0, 0, 0));         // plus: across
        ::SetPixel(canvas.Dc(), size / 2, i, RGB(0, 0, 0));         // plus: down
        ::SetPixel(canvas.Dc(), size + i, size / 2, RGB(0, 0, 0));  // minus
    }
    for (const POINT p :
         {POINT{0, 0}, POINT{2 * size - 1, 0}, POINT{0, size - 1}, POINT{2 * size - 1, size - 1}}) {
        ::SetPixel(canvas.Dc(), p.x, p.y, RGB(255, 255, 255));
    }
    return bitmap;
}

// Two groups, three accounts: Shop (alice, bob) and Spare (carol).
class AccountTreeTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AddAccountLine(list, L"Shop.mdb;pw;x;alice;a;x;bob;b;x;"), 3u);
        ASSERT_EQ(AddAccountLine(list, L"Spare.mdb;pw;x;carol;c;x;"), 2u);
        shop = list.Head();
        alice = shop->m_pNext;
        bob = alice->m_pNext;
        spare = bob->m_pNext;
        carol = spare->m_pNext;

        ASSERT_TRUE(dialog.Create(nullptr));
        ::SetWindowPos(dialog.Handle(), HWND_TOPMOST, 50, 50, 0, 0, SWP_NOSIZE);
        ::SetForegroundWindow(dialog.Handle());
        ASSERT_TRUE(Drive([] { return MoveMouseTo(POINT{900, 900}); }));
        Pump(300ms);
    }

    HWND Tree() const { return dialog.tree.Handle(); }

    // Images that differ from each other, whatever the program's own are.
    void UseDrawnImages() {
        CMyTreeCtrl::Images images;
        images.on = SolidImage(kCheckImageWidth, kCheckImageHeight, RGB(40, 170, 60));
        images.off = SolidImage(kCheckImageWidth, kCheckImageHeight, RGB(200, 40, 40));
        images.dataLink = SolidImage(kDataLinkWidth, kDataLinkHeight, RGB(40, 90, 200));
        images.expander = ExpanderImage();
        dialog.tree.SetImages(std::move(images));
        Pump(300ms);
    }

    POINT Centre(const NodeRect& r) const {
        return ClientToScreenPoint(Tree(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    bool ClickCheck(const CMyObject& node) {
        const POINT at = Centre(node.m_rcCheck);
        return Drive([at] { return ClickAt(at); });
    }
    bool ClickLink(const CMyObject& node) {
        const POINT at = Centre(node.m_rcLink);
        return Drive([at] { return ClickAt(at); });
    }
    bool ClickText(HTREEITEM item) {
        RECT text{};
        if (!TreeView_GetItemRect(Tree(), item, &text, TRUE)) return false;
        const POINT at =
            ClientToScreenPoint(Tree(), (text.left + text.right) / 2, (text.top + text.bottom) / 2);
        return Drive([at] { return ClickAt(at); });
    }

    HTREEITEM ItemOf(const CMyObject& node) const {
        for (HTREEITEM item = TreeView_GetRoot(Tree()); item != nullptr;
             item = TreeView_GetNextVisible(Tree(), item)) {
            TVITEMW data{};
            data.mask = TVIF_PARAM;
            data.hItem = item;
            if (TreeView_GetItem(Tree(), &data) && data.lParam == reinterpret_cast<LPARAM>(&node)) {
                return item;
            }
        }
        return nullptr;
    }

    CMyObject* CaretNode() const {
        TVITEMW data{};
        data.mask = TVIF_PARAM;
        data.hItem = TreeView_GetSelection(Tree());
        if (data.hItem == nullptr || !TreeView_GetItem(Tree(), &data)) return nullptr;
        return reinterpret_cast<CMyObject*>(data.lParam);
    }

    // The check states in list order: Shop, alice, bob, Spare, carol.
    std::vector<int> States() const {
        std::vector<int> states;
        for (const CMyObject* n = list.Head(); n != nullptr; n = n->m_pNext) {
            states.push_back(n->m_bChecked);
        }
        return states;
    }

    // Pixels that differ inside a rectangle of the tree's client area.
    static int DifferingPixels(const Capture& a, const Capture& b, const RECT& inside) {
        if (a.width != b.width || a.height != b.height) return -1;
        int count = 0;
        for (int y = inside.top; y < inside.bottom && y < a.height; ++y) {
            for (int x = inside.left; x < inside.right && x < a.width; ++x) {
                count += a.At(x, y) != b.At(x, y);
            }
        }
        return count;
    }

    // The client area of the tree on screen (the capture holds the window,
    // border included).
    Capture CaptureClient() const {
        const Capture window = CaptureWindow(Tree());
        RECT outer{};
        ::GetWindowRect(Tree(), &outer);
        const POINT origin = ClientToScreenPoint(Tree(), 0, 0);
        RECT client{};
        ::GetClientRect(Tree(), &client);
        Capture inner;
        inner.width = client.right;
        inner.height = client.bottom;
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) {
                inner.pixels.push_back(
                    window.At(x + origin.x - outer.left, y + origin.y - outer.top));
            }
        }
        return inner;
    }

    AccountList list;
    CMyObject* shop = nullptr;
    CMyObject* alice = nullptr;
    CMyObject* bob = nullptr;
    CMyObject* spare = nullptr;
    CMyObject* carol = nullptr;
    TreeDialog dialog{list};
};

TEST_F(AccountTreeTest, FilledWithGroupsAtTheRootAndTheirAccountsBelowThemExpanded) {
    EXPECT_EQ(TreeView_GetCount(Tree()), 5u);
    const HTREEITEM first = TreeView_GetRoot(Tree());
    EXPECT_EQ(first, ItemOf(*shop));
    EXPECT_EQ(TreeView_GetNextSibling(Tree(), first), ItemOf(*spare));
    EXPECT_EQ(TreeView_GetParent(Tree(), ItemOf(*bob)), first);
    EXPECT_EQ(TreeView_GetParent(Tree(), ItemOf(*carol)), ItemOf(*spare));
    EXPECT_NE(TreeView_GetItemState(Tree(), first, TVIS_EXPANDED) & TVIS_EXPANDED, 0u);
    EXPECT_EQ(alice->m_nIndent, static_cast<int>(TreeView_GetIndent(Tree())));
    EXPECT_GT(alice->m_nIndent, 0);
    ASSERT_TRUE(TreeView_SelectItem(Tree(), nullptr));
    EXPECT_EQ(dialog.tree.GetSelectedNode(), nullptr) << "no item selected";

    // Every row was painted with its images at the right edge, whichever
    // bitmaps the program holds.
    RECT client{};
    ::GetClientRect(Tree(), &client);
    for (const CMyObject* node : {shop, alice, bob, spare, carol}) {
        const Rect check = ToRect(node->m_rcCheck);
        const Rect link = ToRect(node->m_rcLink);
        EXPECT_EQ(check.Width(), kCheckImageWidth) << node->m_strNickname;
        EXPECT_EQ(link.Width(), kDataLinkWidth);
        EXPECT_EQ(link.Height(), kDataLinkHeight);
        EXPECT_EQ(link.left - check.right, 7);
        EXPECT_LE(link.right, client.right);
        EXPECT_EQ(link.right, shop->m_rcLink.right) << "one column for every row";
    }
}

TEST_F(AccountTreeTest, ClickOnAnAccountsImageTurnsItOffAndRepaintsItsRow) {
    UseDrawnImages();
    ASSERT_TRUE(ClickText(ItemOf(*alice)));
    ASSERT_EQ(CaretNode(), alice);
    const Capture on = CaptureClient();

    ASSERT_TRUE(ClickCheck(*alice));
    EXPECT_EQ(States(), (std::vector<int>{1, 0, 1, 1, 1})) << "bob keeps the group ON";
    const Capture off = CaptureClient();
    const RECT check{alice->m_rcCheck.left, alice->m_rcCheck.top, alice->m_rcCheck.right,
                     alice->m_rcCheck.bottom};
    EXPECT_GT(DifferingPixels(on, off, check), kCheckImageWidth * kCheckImageHeight / 2)
        << "the OFF image is drawn";
    RECT client{};
    ::GetClientRect(Tree(), &client);
    const RECT otherRows{0, alice->m_rcCheck.bottom + 2, client.right, client.bottom};
    EXPECT_EQ(DifferingPixels(on, off, otherRows), 0);

    ASSERT_TRUE(ClickCheck(*bob));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 1, 1})) << "the last account OFF";
    ASSERT_TRUE(ClickCheck(*alice));
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 0, 1, 1}));
}

TEST_F(AccountTreeTest, ClickOnAGroupsImageSwitchesAllItsAccountsAndRepaintsTheirRows) {
    UseDrawnImages();
    ASSERT_TRUE(ClickText(ItemOf(*shop)));
    const Capture on = CaptureClient();
    ASSERT_TRUE(ClickCheck(*shop));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 1, 1})) << "the other group is untouched";
    // The tree itself repaints no row but the one clicked.
    const Capture off = CaptureClient();
    for (const CMyObject* account : {alice, bob}) {
        const NodeRect& r = account->m_rcCheck;
        EXPECT_GT(DifferingPixels(on, off, RECT{r.left, r.top, r.right, r.bottom}),
                  kCheckImageWidth * kCheckImageHeight / 2)
            << account->m_strNickname;
    }
    const NodeRect& spareCheck = spare->m_rcCheck;
    EXPECT_EQ(DifferingPixels(on, off, RECT{0, spareCheck.top - 2, off.width, off.height}), 0);

    ASSERT_TRUE(ClickCheck(*spare));
    EXPECT_EQ(States(), (std::vector<int>{0, 0, 0, 0, 0}));
    ASSERT_TRUE(ClickCheck(*shop));
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 0, 0}));
    EXPECT_TRUE(dialog.dataLinks.empty());
}

TEST_F(AccountTreeTest, ClickOnADataLinkTellsTheOwnerItsNode) {
    ASSERT_TRUE(ClickLink(*bob));
    ASSERT_TRUE(ClickLink(*spare));
    EXPECT_EQ(dialog.dataLinks, (std::vector<CMyObject*>{bob, spare}));
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(AccountTreeTest, ClickOnTheTextSelectsTheItemAndChangesNoCheck) {
    ASSERT_TRUE(ClickText(ItemOf(*carol)));
    EXPECT_EQ(dialog.tree.GetSelectedNode(), carol);
    EXPECT_EQ(CaretNode(), carol);
    ASSERT_TRUE(ClickText(ItemOf(*shop)));
    EXPECT_EQ(dialog.tree.GetSelectedNode(), shop);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_TRUE(dialog.dataLinks.empty());
}

TEST_F(AccountTreeTest, ClickBelowTheLastItemChangesNothing) {
    UseDrawnImages();
    ASSERT_TRUE(ClickText(ItemOf(*bob)));
    ASSERT_EQ(CaretNode(), bob);
    const Capture before = CaptureClient();

    RECT last{};
    ASSERT_TRUE(TreeView_GetItemRect(Tree(), ItemOf(*carol), &last, FALSE));
    RECT client{};
    ::GetClientRect(Tree(), &client);
    ASSERT_LT(last.bottom + 20, client.bottom);
    // Below the last row, under the column of its images and under its text.
    for (const int x : {(carol->m_rcCheck.left + carol->m_rcCheck.right) / 2,
                        (carol->m_rcLink.left + carol->m_rcLink.right) / 2, 60}) {
        const POINT at = ClientToScreenPoint(Tree(), x, last.bottom + 20);
        ASSERT_TRUE(Drive([at] { return ClickAt(at); }));
    }
    EXPECT_EQ(CaretNode(), bob);
    EXPECT_EQ(States(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_TRUE(dialog.dataLinks.empty());
    EXPECT_EQ(DifferingPixels(before, CaptureClient(), client), 0);
}

TEST_F(AccountTreeTest, PaintsTheSelectedRowAsAGradientAndTheImagesOfEveryRow) {
    UseDrawnImages();
    ASSERT_TRUE(ClickCheck(*carol));  // Spare and carol OFF; carol selected
    ASSERT_EQ(CaretNode(), carol);
    ASSERT_TRUE(Drive([] { return MoveMouseTo(POINT{900, 900}); }));
    const Capture tree = CaptureClient();
    EXPECT_TRUE(WritePng(CaptureWindow(dialog.Handle()), ArtifactFolder() + L"account-tree.png"));

    const int y = (carol->m_rcCheck.top + carol->m_rcCheck.bottom) / 2;
    const std::uint32_t left = tree.At(1, y);
    const std::uint32_t right = tree.At(carol->m_rcCheck.left - 2, y);
    EXPECT_EQ(left, 0x636363u) << "the gradient starts at its left colour";
    EXPECT_GT(right & 0xFF, left & 0xFF) << "and lightens to the right";
    EXPECT_EQ(tree.At(1, (alice->m_rcCheck.top + alice->m_rcCheck.bottom) / 2), 0xFFFFFFu)
        << "an unselected row is white";

    auto middle = [&](const NodeRect& r) {
        return tree.At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    EXPECT_EQ(middle(alice->m_rcCheck), 0x28AA3Cu) << "ON";
    EXPECT_EQ(middle(carol->m_rcCheck), 0xC82828u) << "OFF";
    EXPECT_EQ(middle(spare->m_rcCheck), 0xC82828u) << "its only account is OFF";
    EXPECT_EQ(middle(bob->m_rcLink), 0x285AC8u);
    EXPECT_EQ(tree.At(alice->m_rcCheck.left, alice->m_rcCheck.top), 0xFFFFFFu)
        << "magenta is transparent";

    // Both groups are expanded: their expanders show the minus half.
    for (const CMyObject* group : {shop, spare}) {
        RECT text{};
        ASSERT_TRUE(TreeView_GetItemRect(Tree(), ItemOf(*group), &text, TRUE));
        const Rect box = ExpanderRect(Rect{text.left, text.top, text.right, text.bottom});
        const int cx = box.left + kExpanderSize / 2;
        const int cy = box.top + kExpanderSize / 2;
        EXPECT_EQ(tree.At(cx - 2, cy), 0u) << "the bar";
        EXPECT_EQ(tree.At(cx, cy - 2), 0xFFFFFFu) << "no upright: not the plus";
    }
}

}  // namespace
}  // namespace qv::wine
