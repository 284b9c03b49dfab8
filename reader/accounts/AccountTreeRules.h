#pragma once
// What the account tree decides without a window: where a row's ON/OFF
// image, Data link, expander and icon go, which of a node's two images a
// point is on, what a press or a move over a row does, and how a click on
// a check image spreads between a group and its accounts. The tree's
// window paints what this says and keeps the rectangles it drew in the
// node (m_rcCheck, m_rcLink), which the hit tests read.

#include "CMyObject.h"
#include "ControlGeometry.h"

namespace qv {

inline constexpr int kCheckImageWidth = 30;
inline constexpr int kCheckImageHeight = 12;
inline constexpr int kDataLinkWidth = 43;
inline constexpr int kDataLinkHeight = 12;
inline constexpr int kExpanderSize = 9;  // each half of the expander strip

inline Rect ToRect(const NodeRect& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}
inline NodeRect ToNodeRect(const Rect& r) {
    return NodeRect{r.left, r.top, r.right, r.bottom};
}

// The horizontal scroll state a paint works with: the offset of the content
// (the scroll position negated, 0 without a horizontal scroll bar) and the
// width of what can be scrolled (never less than the client width).
struct TreeScroll {
    int offset = 0;
    int width = 0;
    bool operator==(const TreeScroll&) const = default;
};
TreeScroll TreeScrollState(bool hasHorizontalBar, int position, int rangeMin, int rangeMax,
                           int clientWidth);

// The x the row images are aligned to. A window less than a scroll bar
// wider than its client area shows no vertical scroll bar: the edge then
// keeps clear of where one would be, so the images stay put when it comes.
int ImageRightEdge(int windowWidth, int clientWidth, int scrollBarSize);

// Where a row's check image and Data link are drawn: both at the right edge
// (the check image further left by the node's check offset), vertically
// centred on the row. They do not move with horizontal scrolling.
struct RowImagePlaces {
    Rect check;
    Rect link;
    bool operator==(const RowImagePlaces&) const = default;
};
RowImagePlaces PlaceRowImages(const CMyObject& node, int rightEdge, const Rect& row);

// The expander's square, left of the item's text and centred on the row.
Rect ExpanderRect(const Rect& text);
// The icon's place: centred in the 20 pixels left of the text.
Rect IconRect(const Rect& text, int iconWidth, int iconHeight);

// The selected row's gradient runs from x = 0 to here.
inline int SelectionRight(const TreeScroll& scroll) {
    return scroll.width + scroll.offset;
}

enum class NodeImage { None, Check, Link };

// Which of the rectangles the node was last drawn with holds the point.
NodeImage HitNodeImage(const CMyObject& node, Point point);

// A click on the node's check image. An account flips; its group then
// shows whether any of its accounts is ON. A group flips and every account
// of it takes its new state. `head` is the head of the account list.
void ToggleNodeCheck(CMyObject* head, CMyObject& node);

enum class TreeCursor { Keep, Arrow, Hand };

// What a press of the left button does, the node's state already changed.
struct TreePress {
    TreeCursor cursor = TreeCursor::Keep;
    bool repaint = false;   // a check state changed: repaint the whole tree
    bool showData = false;  // the Data link: open the data page for the node
    bool passOn = false;    // the standard tree still gets the press
};
// `node` is the node of the item under the point, or null over no item.
TreePress PressTree(CMyObject* head, CMyObject* node, Point point);

// A mouse move or a release of the left button over the tree.
struct TreePointer {
    TreeCursor cursor = TreeCursor::Keep;
    bool passOn = false;
};
TreePointer PointTree(const CMyObject* node, Point point);

}  // namespace qv
