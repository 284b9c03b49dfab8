#pragma once
// Every timer of the reader, with its period, in one place: the ids are
// per window, but one list keeps two of them from ever meeting by accident.

#include <cstdint>

namespace qv {

// Main window: dragging the borderless window, and the tray icon's
// animation while a check runs.
inline constexpr std::uint32_t kDragTimer = 5;
inline constexpr std::uint32_t kDragMs = 20;
inline constexpr std::uint32_t kTrayAnimationTimer = 55;
inline constexpr std::uint32_t kTrayAnimationMs = 500;

// Account page: the automatic-check clock, and the look at account.ini for
// changes the sibling program made.
inline constexpr std::uint32_t kAutoClockTimer = 5000;
inline constexpr std::uint32_t kAutoClockMs = 1000;
inline constexpr std::uint32_t kAccountFileTimer = 5001;
inline constexpr std::uint32_t kAccountFileMs = 1000;

// Browser page: one step of the web session, and the time-out of a step
// (its period is the time-out setting).
inline constexpr std::uint32_t kSessionTickTimer = 1000;
inline constexpr std::uint32_t kSessionTickMs = 500;
inline constexpr std::uint32_t kSessionTimeoutTimer = 1001;

}  // namespace qv
