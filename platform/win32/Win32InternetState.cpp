#include "Win32InternetState.h"

#include <windows.h>
#include <wininet.h>

namespace qv::win {

bool Win32InternetState::IsConnected() const {
    DWORD flags = 0;
    return ::InternetGetConnectedState(&flags, 0) != FALSE;
}

}  // namespace qv::win
