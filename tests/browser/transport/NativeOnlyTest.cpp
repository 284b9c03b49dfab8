// Behaviour of the libcurl transport that WinINet does not share: its own
// cookie store per transport, and trust only in the CA it is given.

#include <gtest/gtest.h>

#include "CurlTransport.h"
#include "TextConvert.h"
#include "TransportEnv.h"

namespace qv::test {
namespace {

http::HttpResponse Get(http::IHttpTransport& transport, const std::wstring& url) {
    const std::atomic<bool> notCancelled{false};
    return transport.Fetch({L"GET", url, {}, {}}, notCancelled);
}

TEST(CurlTransport, EachTransportHasItsOwnCookies) {
    auto first = MakeTransport();
    auto second = MakeTransport();
    ASSERT_TRUE(Get(*first, SiteUrl(L"market.localhost", L"/cookie/set?own=first")).ok);
    const auto seen = Get(*second, SiteUrl(L"market.localhost", L"/cookie/show"));
    ASSERT_TRUE(seen.ok) << WideToUtf8(seen.error);
    EXPECT_NE(seen.body.find("<p id=\"cookies\"></p>"), std::string::npos) << seen.body;
}

TEST(CurlTransport, WithoutTheTestCaTheSiteIsNotTrusted) {
    Site();
    http::CurlTransport transport;  // the system's CAs only
    const auto response = Get(transport, SiteUrl(L"market.localhost", L"/hello"));
    EXPECT_FALSE(response.ok) << "a certificate of an unknown CA was accepted";
}

TEST(CurlTransport, AnUnreadableCaFileIsAnError) {
    http::HttpTransportOptions options;
    options.extraCaFile = L"/nonexistent/ca.pem";
    EXPECT_THROW(http::CurlTransport{options}, std::runtime_error);
}

}  // namespace
}  // namespace qv::test
