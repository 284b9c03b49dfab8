#pragma once
// What the transport tests need from their platform: the running test site
// and a transport that trusts its CA. Natively the site runs in the test
// process; under Wine it is a native process started by ctest beforehand.

#include <memory>
#include <string>

#include "HttpTransport.h"

namespace qv::test {

struct SiteAddresses {
    int port = 0;       // certificate signed by the test CA
    int roguePort = 0;  // self-signed certificate for the same names
};

const SiteAddresses& Site();
std::unique_ptr<http::IHttpTransport> MakeTransport(http::HttpTransportOptions options = {});

inline std::wstring SiteUrl(const std::wstring& host, const std::wstring& path, int port) {
    return L"https://" + host + L":" + std::to_wstring(port) + path;
}
inline std::wstring SiteUrl(const std::wstring& host, const std::wstring& path) {
    return SiteUrl(host, path, Site().port);
}

}  // namespace qv::test
