// A small built-in pixel font, so labels look the same on every machine
// without a system font: capitals 7 pixels high, lower case with 2-pixel
// descenders, digits and a few signs, one pixel between letters.
#pragma once

#include <string>

#include "Canvas.h"

namespace qv::res {

struct TextStyle {
    bool bold = false;  // each stroke one pixel wider
};

constexpr int kCapHeight = 7;
constexpr int kDescent = 2;

// Width in pixels of the text as TextShape sets it.
int TextWidth(const std::string& text, TextStyle style = {});

// The text's pixels as a shape in pixel coordinates, the capitals' top row
// at top; whole-pixel positions keep every stroke crisp. A letter the font
// lacks is an error.
Shape TextShape(const std::string& text, int left, int top, TextStyle style = {});

// Left and top that centre the text's capitals in the box.
struct TextOrigin {
    int left, top;
};
TextOrigin CentreText(const std::string& text, int boxLeft, int boxTop, int boxWidth, int boxHeight,
                      TextStyle style = {});

}  // namespace qv::res
