#include "EventLoop.h"

#include <algorithm>
#include <utility>

namespace qv {

void EventLoop::Post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
    }
    wake_.notify_one();
}

void EventLoop::SetTimer(std::uint32_t id, std::uint32_t periodMs,
                         std::function<void()> callback) {
    {
        std::lock_guard lock(mutex_);
        const std::chrono::milliseconds period(periodMs);
        timers_[id] = Timer{period, Clock::now() + period, std::move(callback)};
    }
    wake_.notify_one();
}

void EventLoop::KillTimer(std::uint32_t id) {
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

void EventLoop::Quit() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_one();
}

void EventLoop::Run() {
    std::unique_lock lock(mutex_);
    while (!quit_) DispatchOne(lock, Clock::time_point::max());
    quit_ = false;
}

bool EventLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::unique_lock lock(mutex_);
    for (;;) {
        lock.unlock();
        const bool finished = done();
        lock.lock();
        if (finished) return true;
        if (Clock::now() >= deadline) return false;
        DispatchOne(lock, deadline);
    }
}

bool EventLoop::DispatchOne(std::unique_lock<std::mutex>& lock, Clock::time_point deadline) {
    if (!posted_.empty()) {
        auto work = std::move(posted_.front());
        posted_.pop_front();
        lock.unlock();
        work();
        lock.lock();
        return true;
    }

    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (next == timers_.end() || it->second.due < next->second.due) next = it;
    }
    const auto now = Clock::now();
    if (next != timers_.end() && next->second.due <= now) {
        Timer& timer = next->second;
        // Counted from now, not from the missed due time: a late loop gets
        // one call, not a burst.
        timer.due = now + timer.period;
        // A copy, because the callback may kill or replace its own timer.
        auto callback = timer.callback;
        lock.unlock();
        callback();
        lock.lock();
        return true;
    }

    const auto wakeAt = next == timers_.end() ? deadline : std::min(deadline, next->second.due);
    if (wakeAt == Clock::time_point::max()) {
        wake_.wait(lock);
    } else {
        wake_.wait_until(lock, wakeAt);
    }
    return false;
}

}  // namespace qv
