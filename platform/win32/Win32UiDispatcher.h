#pragma once
// Posted work and timers on the thread that creates the dispatcher, through a
// message-only window: work is queued here and announced with PostMessage,
// timers are the window's own SetTimer timers. The thread must pump
// messages: the dialogs' loops do; Run and RunUntil, shaped as the native
// event loop's, serve the console programs, tools and tests.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "Timers.h"
#include "UiDispatcher.h"
#include "WindowBase.h"

namespace qv::win {

class Win32UiDispatcher final : public IUiDispatcher, public ITimers, private WindowBase {
public:
    // Throws std::runtime_error when the window cannot be made.
    Win32UiDispatcher();
    ~Win32UiDispatcher() override;
    Win32UiDispatcher(const Win32UiDispatcher&) = delete;
    Win32UiDispatcher& operator=(const Win32UiDispatcher&) = delete;

    void Post(std::function<void()> work) override;
    void SetTimer(std::uint32_t id, std::uint32_t periodMs,
                  std::function<void()> callback) override;
    void KillTimer(std::uint32_t id) override;

    // Pumps the thread's messages until `done` is true (checked after every
    // message) or the time is up; returns whether `done` became true.
    static bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        return PumpUntil(done, timeout);
    }
    // Pumps until Quit; a Quit that came before Run ends it at once.
    void Run();
    // Safe from any thread, also from inside a callback.
    void Quit();

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void RunPosted();
    void RunTimer(UINT_PTR id);

    HWND window_ = nullptr;  // kept for other threads: Handle() is not theirs to read
    std::mutex mutex_;
    std::deque<std::function<void()>> posted_;
    bool wakePending_ = false;
    std::atomic<bool> quit_{false};
    std::map<UINT_PTR, std::function<void()>> timers_;
};

}  // namespace qv::win
