#pragma once
// Work handed to the user-interface thread from any thread. The work runs
// later, in the order posted, one item at a time, on that thread only.

#include <functional>

namespace qv {

class IUiDispatcher {
public:
    virtual ~IUiDispatcher() = default;
    // Safe to call from any thread; never runs the work before returning.
    virtual void Post(std::function<void()> work) = 0;
};

}  // namespace qv
