// The main window's frame: the skin pieces the window tiles round its edges,
// the close button on the title band and the page tabs.
#pragma once

#include <string>

#include "Image.h"

namespace qv::res {

// The window's size, and where the close button and the tabs sit on it.
constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 470;
constexpr int kTopBandHeight = 85;
constexpr int kBottomBandHeight = 30;
constexpr int kBorderWidth = 20;
constexpr int kCloseTop = 3;
constexpr int kTabTop = 41;

// The colour of the top band's row y (0 .. kTopBandHeight-1), the same
// across the band so its middle piece can be tiled.
Color TopBandRow(int y);

enum class SkinPiece {
    kTopLeft,
    kTop,
    kTopRight,
    kLeft,
    kRight,
    kBottomLeft,
    kBottom,
    kBottomRight
};

// Each corner's outermost pixels are magenta (the window's rounded outline);
// nothing else in the skin is.
Image DrawSkin(SkinPiece piece);

Image DrawCloseButton(bool hover);

enum class TabLook { kNormal, kHover, kSelected };

// 93x29, magenta outside the rounded top corners.
Image DrawTab(const std::string& label, TabLook look);

}  // namespace qv::res
