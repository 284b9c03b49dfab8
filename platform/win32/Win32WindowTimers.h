#pragma once
// The timers of one window (SetTimer on its handle) as the core's timer
// port: the window hands each WM_TIMER to OnTimer. Until the window exists
// a timer cannot start, and SetTimer throws.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>

#include "Timers.h"

namespace qv::win {

class Win32WindowTimers final : public ITimers {
public:
    Win32WindowTimers() = default;
    ~Win32WindowTimers() override;
    Win32WindowTimers(const Win32WindowTimers&) = delete;
    Win32WindowTimers& operator=(const Win32WindowTimers&) = delete;

    // The window whose timers these are; set once it is created.
    void SetWindow(HWND hwnd) { hwnd_ = hwnd; }

    void SetTimer(std::uint32_t id, std::uint32_t periodMs,
                  std::function<void()> callback) override;
    void KillTimer(std::uint32_t id) override;

    // True when the id is one of these timers; its callback has run then.
    bool OnTimer(UINT_PTR id);

private:
    HWND hwnd_ = nullptr;
    std::map<UINT_PTR, std::function<void()>> timers_;
};

}  // namespace qv::win
