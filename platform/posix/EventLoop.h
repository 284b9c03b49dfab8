#pragma once
// The user-interface thread of the console programs and the native tests:
// posted work and timers, dispatched one at a time on the thread that runs
// the loop. Posted work goes before due timers, as a message queue puts
// timer messages last.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "Timers.h"
#include "UiDispatcher.h"

namespace qv {

class EventLoop final : public IUiDispatcher, public ITimers {
public:
    void Post(std::function<void()> work) override;
    void SetTimer(std::uint32_t id, std::uint32_t periodMs,
                  std::function<void()> callback) override;
    void KillTimer(std::uint32_t id) override;

    // Dispatches until Quit; a Quit that came before Run ends it at once.
    void Run();
    // Safe from any thread, also from inside a callback.
    void Quit();
    // For tests and one-shot tools: dispatches until `done` (checked before
    // waiting and after every item) is true, or the time is up. Returns
    // whether `done` became true. Leaves a pending Quit in place.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        std::chrono::milliseconds period;
        Clock::time_point due;
        std::function<void()> callback;
    };

    // Runs one item if one is ready; otherwise waits until `deadline` or
    // until something arrives. Returns whether an item ran.
    bool DispatchOne(std::unique_lock<std::mutex>& lock, Clock::time_point deadline);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> posted_;
    std::map<std::uint32_t, Timer> timers_;
    bool quit_ = false;
};

}  // namespace qv
