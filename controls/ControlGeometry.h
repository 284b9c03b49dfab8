#pragma once
// Points and rectangles of the drawn controls, in client pixels, as the
// platform lays them out: a rectangle holds its left and top edge, not its
// right and bottom one.

namespace qv {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace qv
