#pragma once
// Where the main window's drawn controls go and what they are drawn from:
// the close button's face and the four tabs of the tab strip.

#include <array>

#include "ButtonLook.h"
#include "ControlGeometry.h"
#include "resource.h"

namespace qv {

inline constexpr ButtonFace kCloseButtonFace{
    IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_HOVER, IDB_CLOSE_HOVER, 26, 25};
// The close button's left edge, counted from the client area's right edge.
inline constexpr int kCloseButtonFromRight = 32;
inline constexpr int kCloseButtonTop = 3;

// The tab strip's place in the main window's client area.
inline constexpr Rect kTabStripBounds{30, 41, 30 + 387, 41 + 29};

struct TabLayout {
    Rect rect;  // within the strip
    int normal;
    int hover;
    int selected;
};

// In page order: accounts, log, data, settings.
inline constexpr std::array<TabLayout, 4> kTabs{{
    {{0, 0, 93, 29}, IDB_TAB_ACCOUNTS_NORMAL, IDB_TAB_ACCOUNTS_HOVER, IDB_TAB_ACCOUNTS_SELECTED},
    {{98, 0, 191, 29}, IDB_TAB_LOG_NORMAL, IDB_TAB_LOG_HOVER, IDB_TAB_LOG_SELECTED},
    {{196, 0, 289, 29}, IDB_TAB_DATA_NORMAL, IDB_TAB_DATA_HOVER, IDB_TAB_DATA_SELECTED},
    {{294, 0, 387, 29}, IDB_TAB_SETTINGS_NORMAL, IDB_TAB_SETTINGS_HOVER, IDB_TAB_SETTINGS_SELECTED},
}};

}  // namespace qv
