#pragma once
// The window messages the reader defines, and the few system message
// numbers its portable core compares against. The core cannot include
// <windows.h>; Win32NumberChecks.cpp holds each copied number against the
// real one at compile time.

#include <cstdint>

namespace qv {

inline constexpr std::uint32_t kUserMessageBase = 0x0400;  // WM_USER

// The tray icon's callback to the main window.
inline constexpr std::uint32_t kTrayCallbackMessage = kUserMessageBase + 5;
// Posted by the tab strip to its parent: the picked tab's index in lParam.
inline constexpr std::uint32_t kShowPageMessage = kUserMessageBase + 100;

// Mouse messages the tray callback carries in lParam.
inline constexpr std::uint32_t kMouseLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr std::uint32_t kMouseRightDown = 0x0204;        // WM_RBUTTONDOWN

}  // namespace qv
