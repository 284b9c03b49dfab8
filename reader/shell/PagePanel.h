#pragma once
// The panel the log and settings pages paint over their whole client area:
// the window's grey with a white rounded frame inset by five pixels.

#include <windows.h>

namespace qv {

void PaintPagePanel(HDC dc, const RECT& client);

}  // namespace qv
