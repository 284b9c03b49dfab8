#include "PosixInternetState.h"

#include <ifaddrs.h>
#include <net/if.h>

#include <cwctype>

#include "AsciiText.h"

namespace qv {

bool IsLoopbackHost(std::wstring_view hostAndPort) {
    std::wstring host = AsciiLowerCopy(hostAndPort);
    if (!host.empty() && host.front() == L'[') {
        const auto close = host.find(L']');
        return close != std::wstring::npos && host.substr(1, close - 1) == L"::1";
    }
    if (const auto colon = host.find(L':'); colon != std::wstring::npos) host.resize(colon);
    if (host == L"localhost" || host.ends_with(L".localhost")) return true;
    // 127.0.0.0/8, written as four decimal parts.
    if (host.rfind(L"127.", 0) != 0) return false;
    int parts = 2;  // "127" and the part being read
    bool digit = false;
    for (std::size_t i = 4; i < host.size(); ++i) {
        if (host[i] == L'.') {
            if (!digit) return false;
            ++parts;
            digit = false;
        } else if (std::iswdigit(host[i])) {
            digit = true;
        } else {
            return false;
        }
    }
    return digit && parts == 4;
}

bool PosixInternetState::IsConnected() const {
    if (IsLoopbackHost(mainHost_)) return true;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    bool connected = false;
    for (const ifaddrs* entry = list; entry && !connected; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        connected =
            entry->ifa_addr && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(list);
    return connected;
}

}  // namespace qv
