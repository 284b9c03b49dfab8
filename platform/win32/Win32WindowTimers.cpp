#include "Win32WindowTimers.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace qv::win {

Win32WindowTimers::~Win32WindowTimers() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
        for (const auto& [id, callback] : timers_) ::KillTimer(hwnd_, id);
    }
}

void Win32WindowTimers::SetTimer(std::uint32_t id, std::uint32_t periodMs,
                                 std::function<void()> callback) {
    if (hwnd_ == nullptr || !::SetTimer(hwnd_, id, periodMs, nullptr)) {
        throw std::runtime_error("cannot start timer " + std::to_string(id) + ", error " +
                                 std::to_string(::GetLastError()));
    }
    timers_[id] = std::move(callback);
}

void Win32WindowTimers::KillTimer(std::uint32_t id) {
    if (hwnd_ != nullptr) ::KillTimer(hwnd_, id);
    timers_.erase(id);
}

bool Win32WindowTimers::OnTimer(UINT_PTR id) {
    const auto found = timers_.find(id);
    // A WM_TIMER already queued when its timer was killed is dropped.
    if (found == timers_.end()) return false;
    // A copy: the callback may kill or replace its own timer.
    const std::function<void()> callback = found->second;
    callback();
    return true;
}

}  // namespace qv::win
