#pragma once
// The connection test of the console program: a network interface other than
// loopback is up and running. A marketplace on the loopback itself (the
// bundled simulator) needs none, so a main host that names the loopback
// counts as connected on any machine.

#include <string>
#include <string_view>

#include "InternetState.h"

namespace qv {

// "localhost", a name under ".localhost", 127.x.y.z or [::1], with or
// without a port; compared without regard to ASCII case.
bool IsLoopbackHost(std::wstring_view hostAndPort);

class PosixInternetState final : public IInternetState {
public:
    explicit PosixInternetState(std::wstring mainHost) : mainHost_(std::move(mainHost)) {}
    bool IsConnected() const override;

private:
    std::wstring mainHost_;
};

}  // namespace qv
