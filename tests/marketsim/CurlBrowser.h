#pragma once

// A small libcurl client that behaves like the reader's browser towards the
// simulator: it keeps cookies per host, follows 302/303 redirects and sends
// forms URL-encoded. Certificates are always verified against the test CA.
#include <curl/curl.h>

#include <string>
#include <utility>
#include <vector>

namespace qv::marketsim::test {

struct Fetch {
    CURLcode code = CURLE_OK;
    long status = 0;
    std::string finalUrl;
    std::string contentType;
    std::string body;
    double seconds = 0;
    std::string error;
};

class CurlBrowser {
public:
    explicit CurlBrowser(std::string caFile);
    ~CurlBrowser();
    CurlBrowser(const CurlBrowser&) = delete;
    CurlBrowser& operator=(const CurlBrowser&) = delete;

    Fetch Get(const std::string& url, long ipResolve = CURL_IPRESOLVE_WHATEVER,
              const std::vector<std::string>& headers = {});
    Fetch Post(const std::string& url,
               const std::vector<std::pair<std::string, std::string>>& form);
    Fetch PostRaw(const std::string& url, const std::string& body);
    // Cookies as libcurl keeps them, in Netscape file lines.
    std::vector<std::string> Cookies();

private:
    Fetch Perform(const std::string& url);
    CURL* m_curl = nullptr;
    std::string m_ca;
};

}  // namespace qv::marketsim::test
