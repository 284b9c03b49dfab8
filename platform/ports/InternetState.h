#pragma once
// Whether the machine has an Internet connection, as the system reports it
// (the connected-state query on Windows).

namespace qv {

class IInternetState {
public:
    virtual ~IInternetState() = default;
    virtual bool IsConnected() const = 0;
};

}  // namespace qv
