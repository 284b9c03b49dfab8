#pragma once
// The account page's drawn buttons and its time-period list: which face
// each button shows in which state of the scheduler, and the list's texts
// in interval-index order.

#include <array>

#include "ButtonLook.h"
#include "CheckScheduler.h"
#include "resource.h"

namespace qv {

inline constexpr ButtonFace kManualRunFace{
    IDB_MANUAL_NORMAL, IDB_MANUAL_HOVER, IDB_MANUAL_PRESSED, IDB_MANUAL_DISABLED, 106, 48};
inline constexpr ButtonFace kStopManualRunFace{IDB_STOP_MANUAL_NORMAL,
                                               IDB_STOP_MANUAL_HOVER,
                                               IDB_STOP_MANUAL_PRESSED,
                                               IDB_STOP_MANUAL_PRESSED,
                                               106,
                                               48};
inline constexpr ButtonFace kAutoRunFace{IDB_AUTO_RUN, IDB_AUTO_RUN, IDB_AUTO_RUN,
                                         IDB_AUTO_RUN, 121,          41};
inline constexpr ButtonFace kStopAutoRunFace{
    IDB_STOP_AUTO_RUN, IDB_STOP_AUTO_RUN, IDB_STOP_AUTO_RUN, IDB_STOP_AUTO_RUN, 121, 41};

constexpr const ButtonFace& FaceOf(NowFace face) {
    return face == NowFace::StopManualRun ? kStopManualRunFace : kManualRunFace;
}
constexpr const ButtonFace& FaceOf(AutoFace face) {
    return face == AutoFace::StopAutoRun ? kStopAutoRunFace : kAutoRunFace;
}

inline constexpr std::array<const wchar_t*, 6> kIntervalTexts{
    L"10 Minutes", L"20 Minutes", L"30 Minutes", L"60 Minutes", L"90 Minutes", L"120 Minutes"};

inline constexpr wchar_t kTimePeriodLabel[] = L"Select Time Period:";

}  // namespace qv
