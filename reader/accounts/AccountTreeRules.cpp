#include "AccountTreeRules.h"

#include <algorithm>

namespace qv {
namespace {

// The expander sits in a 16-pixel slot that starts 36 pixels left of the
// text; the icon in the 20 pixels just left of it.
constexpr int kExpanderSlotStart = 36;
constexpr int kExpanderSlotWidth = 16;
constexpr int kIconSlotWidth = 20;

// A box of the given size with its right edge at `right`, centred on the row.
Rect RightAligned(int right, int width, int height, const Rect& row) {
    const int top = row.top + (row.Height() - height) / 2;
    return Rect{right - width, top, right, top + height};
}

Rect Centred(int slotLeft, int slotWidth, int width, int height, const Rect& row) {
    const int left = slotLeft + (slotWidth - width) / 2;
    const int top = row.top + (row.Height() - height) / 2;
    return Rect{left, top, left + width, top + height};
}

bool AnyAccountOn(const CMyObject* head, const CMyObject& group) {
    for (const CMyObject* node = head; node != nullptr; node = node->m_pNext) {
        if (node->m_pParent == &group && node->m_bChecked != 0) return true;
    }
    return false;
}

TreeCursor CursorOver(NodeImage image) {
    return image == NodeImage::None ? TreeCursor::Arrow : TreeCursor::Hand;
}

}  // namespace

TreeScroll TreeScrollState(bool hasHorizontalBar, int position, int rangeMin, int rangeMax,
                           int clientWidth) {
    if (!hasHorizontalBar) return TreeScroll{0, clientWidth};
    return TreeScroll{-position, std::max(clientWidth, rangeMax - rangeMin + 1)};
}

int ImageRightEdge(int windowWidth, int clientWidth, int scrollBarSize) {
    return windowWidth - clientWidth < scrollBarSize ? clientWidth - scrollBarSize : clientWidth;
}

RowImagePlaces PlaceRowImages(const CMyObject& node, int rightEdge, const Rect& row) {
    const int linkRight = rightEdge - node.m_nIndent;
    const int checkRight = linkRight - node.m_nCheckOffset - kCheckImageWidth;
    return RowImagePlaces{
        RightAligned(checkRight, kCheckImageWidth, kCheckImageHeight, row),
        RightAligned(linkRight, kDataLinkWidth, kDataLinkHeight, row),
    };
}

Rect ExpanderRect(const Rect& text) {
    return Centred(text.left - kExpanderSlotStart, kExpanderSlotWidth, kExpanderSize, kExpanderSize,
                   text);
}

Rect IconRect(const Rect& text, int iconWidth, int iconHeight) {
    return Centred(text.left - kIconSlotWidth, kIconSlotWidth, iconWidth, iconHeight, text);
}

NodeImage HitNodeImage(const CMyObject& node, Point point) {
    if (ToRect(node.m_rcCheck).Contains(point)) return NodeImage::Check;
    if (ToRect(node.m_rcLink).Contains(point)) return NodeImage::Link;
    return NodeImage::None;
}

void ToggleNodeCheck(CMyObject* head, CMyObject& node) {
    node.m_bChecked = node.m_bChecked != 0 ? 0 : 1;
    if (node.IsAccount()) {
        CMyObject* group = node.m_pParent;
        if (group == nullptr) return;
        if (group->m_bChecked != 0) {
            group->m_bChecked = AnyAccountOn(head, *group) ? 1 : 0;
        } else if (node.m_bChecked != 0) {
            group->m_bChecked = 1;
        }
        return;
    }
    for (CMyObject* account = head; account != nullptr; account = account->m_pNext) {
        if (account->m_pParent == &node) account->m_bChecked = node.m_bChecked;
    }
}

TreePress PressTree(CMyObject* head, CMyObject* node, Point point) {
    if (node == nullptr) return {};
    const NodeImage image = HitNodeImage(*node, point);
    TreePress press{CursorOver(image), false, false, true};
    if (image == NodeImage::Check) {
        ToggleNodeCheck(head, *node);
        press.repaint = true;
    } else if (image == NodeImage::Link) {
        press.showData = true;
    }
    return press;
}

TreePointer PointTree(const CMyObject* node, Point point) {
    if (node == nullptr) return {};
    return TreePointer{CursorOver(HitNodeImage(*node, point)), true};
}

}  // namespace qv
