#pragma once
// Mouse input as a user gives it: hardware events through the system's
// input queue (SendInput), which the window under the pointer receives
// with its own hit testing, capture and hover tracking; never messages
// posted to a chosen window.

#include <windows.h>

namespace qv::wine {

// Moves the pointer to a screen point; false when it did not get there.
bool MoveMouseTo(POINT screen);
// Moves there, presses and releases the left button.
bool ClickAt(POINT screen);
bool PressAt(POINT screen);
bool ReleaseAt(POINT screen);

// A point of a window's client area in screen coordinates.
POINT ClientToScreenPoint(HWND hwnd, int x, int y);

// Brings a window of another process to the top of the screen, so that the
// pointer lands on it and not on whatever else is open.
void BringToTop(HWND hwnd);

}  // namespace qv::wine
