#pragma once
// The account tree: a standard tree view that paints its rows itself and
// shows, at the right edge of every row, the node's ON/OFF image and its
// Data link. Keys, scrolling and selection stay the standard tree's; a
// press on an image changes check states or asks for the data page, and
// then reaches the tree as any other press. Each item's data is its node.

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <functional>

#include "AccountList.h"
#include "AccountTreeRules.h"
#include "CMyObject.h"
#include "ControlBase.h"
#include "WinHandles.h"

namespace qv {

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};
using UniqueImageList = win::UniqueWin<HIMAGELIST, ImageListTraits>;

// The tree's icons: image 0 for groups, image 1 for accounts, 16 x 16 with
// the colour value 1 masked out. A missing bitmap leaves its image blank,
// so the account icon keeps its index.
UniqueImageList MakeAccountImageList();

// Appends an item for every node of the list: groups at the root, each
// account under the group before it, both expanded; the item data is the
// node, and each node takes the tree's indentation.
void FillAccountTree(HWND tree, AccountList& list);

class CMyTreeCtrl final : public win::ControlBase {
public:
    // What a row is drawn with; a missing bitmap draws nothing, but its
    // place still takes clicks.
    struct Images {
        win::UniqueBitmap on;
        win::UniqueBitmap off;
        win::UniqueBitmap dataLink;
        win::UniqueBitmap expander;  // plus (left half), minus (right half)
    };

    using DataLinkHandler = std::function<void(CMyObject&)>;

    // The head of the account list, which a click on a group's or an
    // account's check image walks to update the others.
    void SetAccountList(CMyObject* head);
    // Makes the icons the tree's normal image list, fills the tree from
    // the list (in place of any items it had) and keeps the list's head.
    void ShowAccounts(AccountList& list);
    // The node of the selected item; null when no item is selected.
    CMyObject* GetSelectedNode() const;
    // Told of every press on a row's Data link, with the row's node.
    void SetDataLinkHandler(DataLinkHandler handler) { onDataLink_ = std::move(handler); }
    // Replaces the bitmaps loaded from the program's resources.
    void SetImages(Images images);

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC target);
    void PaintItem(HDC dc, HTREEITEM item, const RECT& text, int rightEdge) const;
    // The node of the item under a client point; `item` tells whether
    // there was an item at all.
    CMyObject* NodeAt(Point point, bool& item) const;

    CMyObject* head_ = nullptr;
    Images images_;
    UniqueImageList icons_;
    HFONT font_ = nullptr;  // the control's own, taken on the first paint
    bool fontTaken_ = false;
    TreeScroll scroll_;
    DataLinkHandler onDataLink_;
};

}  // namespace qv
