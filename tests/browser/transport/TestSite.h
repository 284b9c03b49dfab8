#pragma once
// A small HTTPS site on the IPv6 loopback for the transport tests. One port
// serves every host name the certificate names (market.localhost,
// *.vendors.localhost); the handlers look at the Host header where it matters.
//
//   /hello                     a small HTML page
//   /echo                      method, host, content type and body, escaped in HTML
//   /redirect?code=N&to=URL    a redirect with that status
//   /cookie/set?NAME=VALUE     sets a host-only cookie
//   /cookie/show               the Cookie header received
//   /slow?ms=N                 answers after N ms (at most 10 s)
//   /form                      a sign-in form posting to /echo

#include <memory>
#include <string>

namespace qv::test {

class TestSite {
public:
    // Listens on [::1] at a free port. Throws std::runtime_error on failure.
    TestSite(const std::string& certificateFile, const std::string& keyFile);
    ~TestSite();
    TestSite(const TestSite&) = delete;
    TestSite& operator=(const TestSite&) = delete;

    int Port() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qv::test
