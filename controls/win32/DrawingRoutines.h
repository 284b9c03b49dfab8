#pragma once
// Drawing shared by the drawn controls and the account tree.

#include <windows.h>

namespace qv::win {

inline constexpr COLORREF kTransparentColour = RGB(255, 0, 255);

// Copies a rectangle of `source` to the target, stretched when the sizes
// differ, leaving the target as it was wherever the source is magenta.
void TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, int sourceWidth, int sourceHeight);

// What the parent paints behind `control`, drawn into `target` at (0, 0),
// so the control looks transparent. The parent paints through
// WM_PRINTCLIENT; the dialog base answers it with its background.
void CopyParentBackground(HWND control, HDC target);

}  // namespace qv::win
