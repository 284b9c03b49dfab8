#include "GroupBoxGeometry.h"

#include <algorithm>

namespace qv {
namespace {

constexpr int kFrameDrop = 6;  // the frame's top runs through the caption's middle
constexpr int kCornerCut = 2;
constexpr int kCaptionLeft = 6;
constexpr int kCaptionPadding = 9;

}  // namespace

GroupBoxLayout LayOutGroupBox(const Rect& client, int textWidth, int textHeight) {
    // The frame lies inside the client rectangle shrunk by one pixel; its
    // right and bottom lines are that rectangle's last column and row.
    const int left = client.left + 1;
    const int top = client.top + 1 + kFrameDrop;
    const int right = client.right - 2;
    const int bottom = client.bottom - 2;
    const int c = kCornerCut;

    GroupBoxLayout layout;
    layout.frame = {Point{left + c, top},     Point{right - c, top},    Point{right, top + c},
                    Point{right, bottom - c}, Point{right - c, bottom}, Point{left + c, bottom},
                    Point{left, bottom - c},  Point{left, top + c},     Point{left + c, top}};
    layout.caption = Rect{client.left + kCaptionLeft, client.top,
                          std::min(client.left + textWidth + kCaptionPadding, client.right),
                          std::min(client.top + textHeight + 1, client.bottom)};
    layout.caption.right = std::max(layout.caption.right, layout.caption.left);
    return layout;
}

}  // namespace qv
