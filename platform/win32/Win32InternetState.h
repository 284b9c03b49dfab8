#pragma once
// The system's connected-state query (WinINet), as the reader asks it before
// a check.

#include "InternetState.h"

namespace qv::win {

class Win32InternetState final : public IInternetState {
public:
    bool IsConnected() const override;
};

}  // namespace qv::win
