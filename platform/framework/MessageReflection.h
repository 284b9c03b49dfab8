#pragma once
// Messages a window receives about one of its children, handed back to that
// child, so that a drawn control paints and handles itself and its owner
// has no dispatch switch for it: WM_DRAWITEM and WM_MEASUREITEM to the
// control they name (menu items to the owner registered for their item
// data), WM_CTLCOLOR* to the control in lParam, WM_COMMAND from a control
// and WM_NOTIFY to the sender. The window's own handler sees a message only
// when the control did not take it.

#include <windows.h>

namespace qv::win {

// What draws the owner-drawn items of a menu.
class IMenuItemOwner {
public:
    virtual ~IMenuItemOwner() = default;
    virtual bool OnMeasureItem(MEASUREITEMSTRUCT& measure) = 0;
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& draw) = 0;
};

// Menu items are found by their item data, never by reading memory that
// item data points at: a menu item of somebody else (a system menu, a
// common control) is simply not in the registry. User-interface thread only.
void RegisterMenuItem(ULONG_PTR itemData, IMenuItemOwner& owner);
void UnregisterMenuItem(ULONG_PTR itemData);

// Hands the message to the child it concerns. True when the child handled
// it; `result` then holds the value the window procedure should return
// (for WM_CTLCOLOR* the brush).
bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace qv::win
