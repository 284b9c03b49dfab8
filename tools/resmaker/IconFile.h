// The .ico writer: a 16x16 and a 32x32 image of one drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Canvas.h"

namespace qv::res {

// Draws on a square canvas in unit coordinates.
using IconDrawing = std::function<void(Canvas&)>;

// Both images are 32-bit BGRA with an AND mask.
std::vector<std::uint8_t> IconFile(const IconDrawing& drawing);

}  // namespace qv::res
