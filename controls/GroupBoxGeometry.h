#pragma once
// Where the drawn group box puts its frame and its caption: a frame with
// cut corners 6 pixels below the top, and a caption band over it at the
// top-left, clipped to the control when the text is wider than it.

#include <array>

#include "ControlGeometry.h"

namespace qv {

struct GroupBoxLayout {
    // A closed outline through the eight corner cuts: the first point
    // again at the end, ready for a polyline of one-pixel lines.
    std::array<Point, 9> frame{};
    // Filled with the caption colour, the text drawn inside, clipped to it.
    Rect caption;
};

GroupBoxLayout LayOutGroupBox(const Rect& client, int textWidth, int textHeight);

}  // namespace qv
