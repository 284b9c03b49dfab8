// The pictures of the pages: push buttons, check box and radio glyphs, the
// account tree's symbols and the strip under the tree.
#pragma once

#include <string>

#include "Image.h"

namespace qv::res {

// The inside of the account strip: the Now and Auto buttons stand on it.
inline const Color kStripFace = Rgb(0xFFFFFF);

enum class ButtonTone { kBlue, kOrange };
enum class ButtonLook { kNormal, kHover, kPressed, kDisabled };

// A glossy pill with a centred label; outside the pill it is backdrop, the
// colour of what the button is drawn over.
Image DrawButton(int width, int height, const std::string& label, ButtonTone tone, ButtonLook look,
                 Color backdrop);

// Six 12x12 glyphs in a row: unchecked, hovered, pressed, then the same checked.
Image DrawCheckGlyphs();  // white outside the boxes
Image DrawRadioGlyphs();  // magenta outside the circles

// 16x16 on the colour RGB(1,0,0), which the tree's image list leaves out.
Image DrawTreeGroup();
Image DrawTreeAccount();

// Magenta around: a green tick and "ON", a red sign and "OFF", a page and "Data".
Image DrawTreeOn();
Image DrawTreeOff();
Image DrawTreeDataLink();

// 18x9: plus on the left, minus on the right.
Image DrawTreeExpander();

enum class StripPiece { kLeft, kMiddle, kRight };
Image DrawAccountStrip(StripPiece piece);

}  // namespace qv::res
