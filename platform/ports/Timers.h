#pragma once
// Periodic timers whose callbacks run on the user-interface thread, as
// window timers do: setting an id that runs already restarts it with the new
// period and callback; missed periods are not made up with a burst.

#include <cstdint>
#include <functional>

namespace qv {

class ITimers {
public:
    virtual ~ITimers() = default;
    // Call on the user-interface thread. A callback may set or kill any
    // timer, its own included.
    virtual void SetTimer(std::uint32_t id, std::uint32_t periodMs,
                          std::function<void()> callback) = 0;
    // Killing an id that does not run does nothing.
    virtual void KillTimer(std::uint32_t id) = 0;
};

}  // namespace qv
