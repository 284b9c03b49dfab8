#pragma once
// The drawn check box and radio button: which glyphs of their six-image
// strip are painted, where the glyph and the text go, and when a mouse
// release changes the checked flag.

#include <array>
#include <cstddef>

#include "ControlGeometry.h"

namespace qv {

// The strip holds, from its left: unchecked, unchecked hovered, unchecked
// pressed, checked, checked hovered, checked pressed.
inline constexpr int kGlyphCount = 6;
// The text starts here, right of the 16-pixel glyph slot.
inline constexpr int kCheckTextLeft = 18;

struct GlyphLayers {
    std::array<int, 3> indexes{};
    std::size_t count = 0;
    bool operator==(const GlyphLayers&) const = default;
};

// The base image, then the hovered one over it, then the pressed one.
GlyphLayers CheckGlyphLayers(bool checked, bool hovered, bool pressed);

// Top-left of the glyph: centred in a 16-pixel slot and in the control's height.
Point GlyphOrigin(int glyphWidth, int glyphHeight, int controlHeight);

// A check box toggles only when the button goes up over it, after the
// mouse was seen over it: a press inside that ends outside changes nothing.
bool CheckToggles(bool hovered, Point release, const Rect& client);

// A radio button that is already checked stays as it is.
bool RadioClaims(bool hovered, Point release, const Rect& client, bool checked);

}  // namespace qv
