#pragma once
// HTTP over libcurl. One cookie store per transport, shared by its transfers
// (which may overlap while a superseded one winds down).

#include <memory>
#include <string>

#include "HttpTransport.h"

namespace qv::http {

class CurlTransport final : public IHttpTransport {
public:
    // Throws std::runtime_error when libcurl cannot be set up or the extra CA
    // file cannot be read.
    explicit CurlTransport(HttpTransportOptions options = {});
    ~CurlTransport() override;
    CurlTransport(const CurlTransport&) = delete;
    CurlTransport& operator=(const CurlTransport&) = delete;

    HttpResponse Fetch(const HttpRequest& request, const std::atomic<bool>& cancelled) override;

private:
    struct Shared;
    HttpTransportOptions options_;
    std::string trustedCas_;  // system bundle + extra CA, when an extra CA is set
    std::unique_ptr<Shared> shared_;
};

}  // namespace qv::http
