#include <gtest/gtest.h>

#include <string>

#include "TextConvert.h"
#include "Url.h"

namespace qv::html {
namespace {

struct UrlCase {
    std::wstring reference;
    std::string expected;  // "" when the result is not a valid URL
};

void PrintTo(const UrlCase& c, std::ostream* os) { *os << '"' << WideToUtf8(c.reference) << '"'; }

class UrlResolution : public testing::TestWithParam<UrlCase> {};

TEST_P(UrlResolution, AgainstTheReportPage) {
    const std::wstring base = L"https://alice.vendors.localhost/account/show.htm?x=1#f";
    EXPECT_EQ(WideToUtf8(ResolveUrl(base, GetParam().reference)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlResolution,
    testing::Values(
        UrlCase{L"", "https://alice.vendors.localhost/account/show.htm?x=1"},
        UrlCase{L"page.htm", "https://alice.vendors.localhost/account/page.htm"},
        UrlCase{L"./page.htm?pageNum=2", "https://alice.vendors.localhost/account/page.htm?pageNum=2"},
        UrlCase{L"../login.htm", "https://alice.vendors.localhost/login.htm"},
        UrlCase{L"../../../../x", "https://alice.vendors.localhost/x"},
        UrlCase{L"/a/./b/../c", "https://alice.vendors.localhost/a/c"},
        UrlCase{L"/a/b/..", "https://alice.vendors.localhost/a/"},
        UrlCase{L".", "https://alice.vendors.localhost/account/"},
        UrlCase{L"..", "https://alice.vendors.localhost/"},
        UrlCase{L"dir/", "https://alice.vendors.localhost/account/dir/"},
        UrlCase{L"?q=2", "https://alice.vendors.localhost/account/show.htm?q=2"},
        UrlCase{L"#top", "https://alice.vendors.localhost/account/show.htm?x=1#top"},
        UrlCase{L"//market.localhost:8443/login.htm", "https://market.localhost:8443/login.htm"},
        UrlCase{L"HTTPS://Market.LOCALHOST:443", "https://market.localhost/"},
        UrlCase{L"http://market.localhost:80/p?a=b#c", "http://market.localhost/p?a=b#c"},
        UrlCase{L"https:page2.htm", "https://alice.vendors.localhost/account/page2.htm"},
        UrlCase{L"\\\\market.localhost\\x\\y", "https://market.localhost/x/y"},
        UrlCase{L"  /trim\t me \n", "https://alice.vendors.localhost/trim%20me"},
        UrlCase{L"a b.htm?c d\"", "https://alice.vendors.localhost/account/a%20b.htm?c%20d%22"},
        UrlCase{L"caf\u00E9/\U0001F600", "https://alice.vendors.localhost/account/caf%C3%A9/%F0%9F%98%80"},
        UrlCase{L"%41%zz", "https://alice.vendors.localhost/account/%41%zz"},
        UrlCase{L"mailto:a@b.com", "mailto:a@b.com"},
        UrlCase{L"javascript:go()", "javascript:go()"},
        UrlCase{L"https://user:pw@h.localhost/", "https://user:pw@h.localhost/"},
        UrlCase{L"http://", ""},
        UrlCase{L"http://h.localhost:99999/", ""},
        UrlCase{L"http://h.localhost:8x/", ""},
        UrlCase{L"http://a b/", ""}));

TEST(UrlParsing, ComponentsOfAnAbsoluteUrl) {
    const auto url = ParseUrl(L"HTTPS://Alice.Vendors.Localhost:8443/account/showTransactions.htm"
                              L"?startDate=01/02/2024&pageNum=#x");
    ASSERT_TRUE(url);
    EXPECT_EQ(WideToUtf8(url->scheme), "https");
    EXPECT_EQ(WideToUtf8(url->host), "alice.vendors.localhost");
    EXPECT_EQ(WideToUtf8(url->port), "8443");
    EXPECT_EQ(WideToUtf8(url->path), "/account/showTransactions.htm");
    ASSERT_TRUE(url->query);
    EXPECT_EQ(WideToUtf8(*url->query), "startDate=01/02/2024&pageNum=");
    ASSERT_TRUE(url->fragment);
    EXPECT_EQ(WideToUtf8(*url->fragment), "x");
}

TEST(UrlParsing, RelativeReferenceNeedsABase) {
    EXPECT_FALSE(ParseUrl(L"page.htm"));
    EXPECT_EQ(WideToUtf8(ResolveUrl(L"", L"page.htm")), "");
    EXPECT_EQ(WideToUtf8(ResolveUrl(L"about:blank", L"page.htm")), "");
    EXPECT_EQ(WideToUtf8(ResolveUrl(L"about:blank", L"#a")), "about:blank#a");
}

}  // namespace
}  // namespace qv::html
