#include "CMyTreeCtrl.h"

#include <windowsx.h>

#include <array>

#include "DrawingRoutines.h"
#include "Gdi.h"
#include "resource.h"

namespace qv {
namespace {

constexpr COLORREF kSelectionLeft = RGB(99, 99, 99);
constexpr COLORREF kSelectionRight = RGB(192, 192, 192);
constexpr int kIconSize = 16;
constexpr COLORREF kIconMask = 1;  // the colour value the icons' background has

RECT ToRECT(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

void FillColour(HDC dc, const Rect& at, COLORREF colour) {
    const win::UniqueBrush brush(::CreateSolidBrush(colour));
    const RECT r = ToRECT(at);
    ::FillRect(dc, &r, brush.get());
}

void HorizontalGradient(HDC dc, const Rect& at, COLORREF left, COLORREF right) {
    if (at.Width() <= 0 || at.Height() <= 0) return;
    auto channel = [](BYTE value) { return static_cast<COLOR16>(value << 8); };
    TRIVERTEX ends[2] = {
        {at.left, at.top, channel(GetRValue(left)), channel(GetGValue(left)),
         channel(GetBValue(left)), 0},
        {at.right, at.bottom, channel(GetRValue(right)), channel(GetGValue(right)),
         channel(GetBValue(right)), 0},
    };
    GRADIENT_RECT mesh{0, 1};
    ::GdiGradientFill(dc, ends, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
}

// The bitmap over the whole rectangle, magenta left transparent.
void DrawImage(HDC dc, HBITMAP bitmap, const Rect& at) {
    const win::BitmapDc source(bitmap);
    if (!source) return;
    const SIZE size = win::BitmapSize(bitmap);
    win::TransparentBlit(dc, at.left, at.top, at.Width(), at.Height(), source.Dc(), 0, 0, size.cx,
                         size.cy);
}

// A bitmap of the icons' size in the mask colour: an image that shows nothing.
win::UniqueBitmap BlankIcon() {
    const win::WindowDc screen(nullptr);
    win::UniqueBitmap blank(::CreateCompatibleBitmap(screen.Dc(), kIconSize, kIconSize));
    const win::BitmapDc canvas(blank.get());
    if (canvas) FillColour(canvas.Dc(), Rect{0, 0, kIconSize, kIconSize}, kIconMask);
    return blank;
}

void SetTreeCursor(TreeCursor cursor) {
    if (cursor == TreeCursor::Keep) return;
    ::SetCursor(::LoadCursorW(nullptr, cursor == TreeCursor::Hand ? IDC_HAND : IDC_ARROW));
}

}  // namespace

UniqueImageList MakeAccountImageList() {
    UniqueImageList list(::ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 2, 0));
    if (!list) return list;
    for (const int id : {IDB_TREE_GROUP, IDB_TREE_ACCOUNT}) {
        win::UniqueBitmap bitmap = win::LoadBitmapResource(id);
        if (!bitmap) bitmap = BlankIcon();
        ::ImageList_AddMasked(list.get(), bitmap.get(), kIconMask);
    }
    return list;
}

void FillAccountTree(HWND tree, AccountList& list) {
    HTREEITEM groupItem = nullptr;
    for (CMyObject* node = list.Head(); node != nullptr; node = node->m_pNext) {
        node->m_nIndent = static_cast<int>(TreeView_GetIndent(tree));
        TVINSERTSTRUCTW insert{};
        insert.hParent = node->IsAccount() && groupItem != nullptr ? groupItem : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = node->m_szName.data();
        insert.item.iImage = node->m_nImage;
        insert.item.iSelectedImage = node->m_nImage;
        insert.item.lParam = reinterpret_cast<LPARAM>(node);
        const HTREEITEM item = TreeView_InsertItem(tree, &insert);
        if (!node->IsAccount()) {
            groupItem = item;
            TreeView_Expand(tree, TVI_ROOT, TVE_EXPAND);
        } else if (groupItem != nullptr) {
            TreeView_Expand(tree, groupItem, TVE_EXPAND);
        }
    }
}

void CMyTreeCtrl::SetAccountList(CMyObject* head) {
    head_ = head;
    Invalidate();
}

void CMyTreeCtrl::ShowAccounts(AccountList& list) {
    // The tree lets go of the old icons before they are destroyed.
    UniqueImageList icons = MakeAccountImageList();
    TreeView_SetImageList(Handle(), icons.get(), TVSIL_NORMAL);
    icons_ = std::move(icons);
    TreeView_DeleteAllItems(Handle());
    FillAccountTree(Handle(), list);
    SetAccountList(list.Head());
}

CMyObject* CMyTreeCtrl::GetSelectedNode() const {
    const HTREEITEM item = TreeView_GetSelection(Handle());
    if (item == nullptr) return nullptr;
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!TreeView_GetItem(Handle(), &data)) return nullptr;
    return reinterpret_cast<CMyObject*>(data.lParam);
}

void CMyTreeCtrl::SetImages(Images images) {
    images_ = std::move(images);
    Invalidate();
}

void CMyTreeCtrl::OnAttached() {
    images_.on = win::LoadBitmapResource(IDB_TREE_ON);
    images_.off = win::LoadBitmapResource(IDB_TREE_OFF);
    images_.dataLink = win::LoadBitmapResource(IDB_TREE_DATA_LINK);
    images_.expander = win::LoadBitmapResource(IDB_TREE_EXPANDER);
}

CMyObject* CMyTreeCtrl::NodeAt(Point point, bool& item) const {
    TVHITTESTINFO hit{};
    hit.pt = POINT{point.x, point.y};
    TVITEMW data{};
    data.hItem = TreeView_HitTest(Handle(), &hit);
    item = data.hItem != nullptr;
    if (!item) return nullptr;
    data.mask = TVIF_PARAM;
    if (!TreeView_GetItem(Handle(), &data)) return nullptr;
    return reinterpret_cast<CMyObject*>(data.lParam);
}

void CMyTreeCtrl::Paint(HDC target) {
    const HWND tree = Handle();
    const HTREEITEM first = TreeView_GetFirstVisible(tree);
    if (first == nullptr) return;  // the erased background is all there is

    if (!fontTaken_) {
        font_ = reinterpret_cast<HFONT>(::SendMessageW(tree, WM_GETFONT, 0, 0));
        fontTaken_ = true;
    }
    RECT client{};
    ::GetClientRect(tree, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    const bool horizontalBar = (::GetWindowLongPtrW(tree, GWL_STYLE) & WS_HSCROLL) != 0 &&
                               ::GetScrollInfo(tree, SB_HORZ, &info) != FALSE;
    scroll_ = TreeScrollState(horizontalBar, info.nPos, info.nMin, info.nMax, client.right);

    win::DoubleBuffer buffer(target, client.right, client.bottom);
    if (!buffer.Ready()) return;
    const HDC dc = buffer.Dc();
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const win::SelectObjectScope font(
        dc, font_ != nullptr ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);

    RECT window{};
    ::GetWindowRect(tree, &window);
    const int rightEdge =
        ImageRightEdge(window.right - window.left, client.right, ::GetSystemMetrics(SM_CYHSCROLL));

    for (HTREEITEM item = first; item != nullptr; item = TreeView_GetNextVisible(tree, item)) {
        RECT text{};
        if (!TreeView_GetItemRect(tree, item, &text, TRUE) || text.top >= client.bottom) break;
        PaintItem(dc, item, text, rightEdge);
    }
    buffer.CopyTo(target);
}

void CMyTreeCtrl::PaintItem(HDC dc, HTREEITEM item, const RECT& textRect, int rightEdge) const {
    std::array<wchar_t, kNodeNameWidth> text{};
    TVITEMW data{};
    data.mask = TVIF_PARAM | TVIF_STATE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    data.hItem = item;
    data.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
    data.pszText = text.data();
    data.cchTextMax = static_cast<int>(text.size());
    if (!TreeView_GetItem(Handle(), &data)) return;
    const bool selected = (data.state & TVIS_SELECTED) != 0;
    const Rect row{textRect.left, textRect.top, textRect.right, textRect.bottom};

    if (selected) {
        HorizontalGradient(dc, Rect{0, row.top, SelectionRight(scroll_), row.bottom},
                           kSelectionLeft, kSelectionRight);
    }

    if (auto* node = reinterpret_cast<CMyObject*>(data.lParam); node != nullptr) {
        const RowImagePlaces at = PlaceRowImages(*node, rightEdge, row);
        DrawImage(dc, node->m_bChecked != 0 ? images_.on.get() : images_.off.get(), at.check);
        node->m_rcCheck = ToNodeRect(at.check);
        DrawImage(dc, images_.dataLink.get(), at.link);
        node->m_rcLink = ToNodeRect(at.link);
    }

    if (TreeView_GetChild(Handle(), item) != nullptr) {
        const Rect box = ExpanderRect(row);
        FillColour(dc, box, RGB(255, 255, 255));
        const win::BitmapDc halves(images_.expander.get());
        if (halves) {
            const int half = (data.state & TVIS_EXPANDED) != 0 ? kExpanderSize : 0;
            ::BitBlt(dc, box.left, box.top, kExpanderSize, kExpanderSize, halves.Dc(), half, 0,
                     SRCAND);
        }
    }

    if (const HIMAGELIST icons = TreeView_GetImageList(Handle(), TVSIL_NORMAL); icons != nullptr) {
        int width = 0;
        int height = 0;
        ::ImageList_GetIconSize(icons, &width, &height);
        const Rect icon = IconRect(row, width, height);
        ::ImageList_Draw(icons, selected ? data.iSelectedImage : data.iImage, dc, icon.left,
                         icon.top, ILD_TRANSPARENT);
    }

    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textAt = textRect;
    ::DrawTextW(dc, text.data(), -1, &textAt, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CMyTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            // Rows are painted whole from a buffer; only an empty tree shows
            // the erased background.
            if (TreeView_GetFirstVisible(Handle()) != nullptr) return TRUE;
            break;
        case WM_PAINT: {
            win::PaintScope paint(Handle());
            Paint(paint.Dc());
            return 0;
        }
        case WM_LBUTTONDOWN: {
            const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            bool item = false;
            CMyObject* node = NodeAt(point, item);
            if (item && node == nullptr) break;  // an item of someone else's: the tree's own
            const TreePress press = PressTree(head_, node, point);
            SetTreeCursor(press.cursor);
            if (press.repaint) Invalidate();
            if (press.showData && onDataLink_) onDataLink_(*node);
            if (!press.passOn) return 0;
            break;
        }
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE: {
            const Point point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            bool item = false;
            const CMyObject* node = NodeAt(point, item);
            if (item && node == nullptr) break;
            const TreePointer pointer = PointTree(node, point);
            SetTreeCursor(pointer.cursor);
            if (!pointer.passOn) return 0;
            break;
        }
        default:
            break;
    }
    return ControlBase::WindowProc(message, wParam, lParam);
}

}  // namespace qv
