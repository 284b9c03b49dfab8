#pragma once
// HTTP over WinINet. Cookies live in WinINet's own per-host store, which the
// process shares; certificates are checked against the system's root store
// (a test CA is added there once, see tools/wine/trustca.cpp).

#include <windows.h>
#include <wininet.h>

#include "HttpTransport.h"

namespace qv::http {

class WinInetTransport final : public IHttpTransport {
public:
    // `options.extraCaFile` is not supported here (WinINet trusts the system
    // store only): a non-empty one throws std::invalid_argument, as does a
    // failed InternetOpen (std::runtime_error).
    explicit WinInetTransport(HttpTransportOptions options = {});
    ~WinInetTransport() override;
    WinInetTransport(const WinInetTransport&) = delete;
    WinInetTransport& operator=(const WinInetTransport&) = delete;

    HttpResponse Fetch(const HttpRequest& request, const std::atomic<bool>& cancelled) override;

private:
    HttpTransportOptions options_;
    HINTERNET session_ = nullptr;
};

}  // namespace qv::http
