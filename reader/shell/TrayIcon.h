#pragma once
// The reader's notification-area icon: its record, the animation shown
// while a check runs and the new-items balloon.

#include <string>

#include "NotifyIcon.h"

namespace qv {

inline constexpr wchar_t kTrayTip[] = L"Corvane Transactions Reader";

class TrayIcon {
public:
    // One animation cycle is seven ticks: six frames and the last held once more.
    static constexpr int kAnimationTicks = 7;

    TrayIcon(INotifyIcon& shell, std::uint32_t callbackMessage);

    void Add();
    void Delete();
    void StepTrayAnimation();
    void RestoreTrayIcon();
    void ShowNewItemsBalloon(const std::wstring& nickname, int count);

    const NotifyIconRecord& Record() const { return record_; }
    const std::wstring& BalloonTitle() const { return balloonTitle_; }
    const std::wstring& BalloonText() const { return balloonText_; }
    int AnimationFrame() const { return frame_; }

private:
    void SetPlainFlags();

    INotifyIcon& shell_;
    NotifyIconRecord record_;
    std::wstring balloonText_;
    std::wstring balloonTitle_;
    int frame_ = 0;
};

}  // namespace qv
