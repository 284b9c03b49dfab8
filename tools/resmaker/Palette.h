// The product's colours, shared by the icons and the bitmaps.
#pragma once

#include "Canvas.h"

namespace qv::res {

inline const Color kTileBlue = Rgb(0x1F5FAE);
inline const Color kTileEdge = Rgb(0x17467F);
inline const Color kWhite = Rgb(0xFFFFFF);
inline const Color kBlack = Rgb(0x000000);
inline const Color kOrange = Rgb(0xF59E1B);
inline const Color kExitRed = Rgb(0xD2352B);
inline const Color kExitEdge = Rgb(0x9C2119);

inline const Color kBodyGrey = Rgb(0xE8E8E8);    // the window fill
inline const Color kPanelFrame = Rgb(0xA3A3A3);  // frame of the white panels
inline const Color kLabelBlue = Rgb(0x1F4F8A);   // dark text on light faces
inline const Color kLineGrey = Rgb(0x5B6B7F);    // thin lines of small symbols

}  // namespace qv::res
