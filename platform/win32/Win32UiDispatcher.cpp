#include "Win32UiDispatcher.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace qv::win {
namespace {

constexpr UINT kRunPosted = WM_APP + 1;
constexpr wchar_t kClassName[] = L"QVUiDispatcher";

}  // namespace

Win32UiDispatcher::Win32UiDispatcher() {
    if (!CreateWindowOf(WindowClassInfo{kClassName}, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE)) {
        throw std::runtime_error("cannot create the dispatcher window, error " +
                                 std::to_string(::GetLastError()));
    }
    window_ = Handle();
}

Win32UiDispatcher::~Win32UiDispatcher() {
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, callback] : timers_) ::KillTimer(window_, id);
        timers_.clear();
    }
    // The window itself goes with the base, which stops its callbacks first.
}

void Win32UiDispatcher::Post(std::function<void()> work) {
    bool wake = false;
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
        wake = !std::exchange(wakePending_, true);
    }
    // One message drains the whole queue; posting one per item could fill
    // the thread's message queue (10000 messages) under load.
    if (wake && !::PostMessageW(window_, kRunPosted, 0, 0)) {
        std::lock_guard lock(mutex_);
        wakePending_ = false;
        throw std::runtime_error("cannot post to the dispatcher window, error " +
                                 std::to_string(::GetLastError()));
    }
}

void Win32UiDispatcher::SetTimer(std::uint32_t id, std::uint32_t periodMs,
                                 std::function<void()> callback) {
    {
        std::lock_guard lock(mutex_);
        timers_[id] = std::move(callback);
    }
    if (!::SetTimer(window_, id, periodMs, nullptr)) {
        std::lock_guard lock(mutex_);
        timers_.erase(id);
        throw std::runtime_error("cannot start timer " + std::to_string(id) + ", error " +
                                 std::to_string(::GetLastError()));
    }
}

void Win32UiDispatcher::KillTimer(std::uint32_t id) {
    ::KillTimer(window_, id);
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

bool Win32UiDispatcher::PumpUntil(const std::function<bool()>& done,
                                  std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        const DWORD waited = ::MsgWaitForMultipleObjectsEx(
            0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (waited == WAIT_TIMEOUT) continue;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            if (done()) return true;
        }
    }
    return true;
}

void Win32UiDispatcher::Run() {
    MSG msg;
    while (!quit_ && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void Win32UiDispatcher::Quit() {
    quit_ = true;
    Post([] {});  // wakes the pump to see it
}

void Win32UiDispatcher::RunPosted() {
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(posted_);
        wakePending_ = false;
    }
    for (auto& work : batch) work();
}

void Win32UiDispatcher::RunTimer(UINT_PTR id) {
    std::function<void()> callback;
    {
        std::lock_guard lock(mutex_);
        const auto found = timers_.find(id);
        // A WM_TIMER already queued when its timer was killed.
        if (found == timers_.end()) return;
        // A copy, because the callback may kill or replace its own timer.
        callback = found->second;
    }
    callback();
}

LRESULT Win32UiDispatcher::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunPosted) {
        RunPosted();
        return 0;
    }
    if (message == WM_TIMER) {
        RunTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    }
    return WindowBase::OnMessage(message, wParam, lParam);
}

}  // namespace qv::win
