// The transports against a real HTTPS site on loopback: the same cases run
// natively over libcurl and under Wine over WinINet.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <utility>

#include "TextConvert.h"
#include "TransportEnv.h"

namespace qv::test {
namespace {

using http::HttpRequest;
using http::HttpResponse;
using namespace std::chrono_literals;

std::wstring PercentEncode(const std::wstring& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::wstring out;
    for (const unsigned char c : WideToUtf8(text)) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<wchar_t>(c);
        } else {
            out += L'%';
            out += static_cast<wchar_t>(hex[c >> 4]);
            out += static_cast<wchar_t>(hex[c & 15]);
        }
    }
    return out;
}

HttpResponse Fetch(http::IHttpTransport& transport, HttpRequest request) {
    const std::atomic<bool> notCancelled{false};
    return transport.Fetch(request, notCancelled);
}

HttpResponse Get(http::IHttpTransport& transport, const std::wstring& url) {
    return Fetch(transport, {L"GET", url, {}, {}});
}

// The echo page's field, with the site's escapes undone.
std::string EchoField(const HttpResponse& response, const std::string& id) {
    const std::string open = "<p id=\"" + id + "\">";
    const auto start = response.body.find(open);
    if (start == std::string::npos) return "<missing " + id + ">";
    const auto end = response.body.find("</p>", start);
    std::string text = response.body.substr(start + open.size(), end - start - open.size());
    for (const auto& [escaped, plain] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                         {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
        for (auto at = text.find(escaped); at != std::string::npos; at = text.find(escaped, at + 1)) {
            text.replace(at, escaped.size(), plain);
        }
    }
    return text;
}

TEST(Transport, GetsAPageWithItsTypeAndAddress) {
    auto transport = MakeTransport();
    const std::wstring url = SiteUrl(L"market.localhost", L"/hello");
    const HttpResponse response = Get(*transport, url);
    ASSERT_TRUE(response.ok) << WideToUtf8(response.error);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.finalUrl, url);
    EXPECT_EQ(response.contentType, "text/html; charset=utf-8");
    EXPECT_NE(response.body.find("<p id=\"greeting\">Hello, <b>world</b> &amp; all</p>"),
              std::string::npos)
        << response.body;
    EXPECT_TRUE(response.error.empty());
}

TEST(Transport, PostsTheBodyWithItsType) {
    auto transport = MakeTransport();
    const std::string body = "nick=a%26b&pass=x+y";
    const HttpResponse response = Fetch(*transport, {L"POST", SiteUrl(L"market.localhost", L"/echo"),
                                                     body, "application/x-www-form-urlencoded"});
    ASSERT_TRUE(response.ok) << WideToUtf8(response.error);
    EXPECT_EQ(EchoField(response, "method"), "POST");
    EXPECT_EQ(EchoField(response, "type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(EchoField(response, "body"), body);
}

struct RedirectCase {
    int code;
    const wchar_t* method;
    const char* methodAfter;
    bool bodyKept;
};

class TransportRedirect : public ::testing::TestWithParam<RedirectCase> {};

// Every redirect goes to another host; the address reported is the last one.
TEST_P(TransportRedirect, FollowsToTheOtherHostWithTheRightMethod) {
    const RedirectCase& c = GetParam();
    auto transport = MakeTransport();
    const std::wstring target = SiteUrl(L"alice.vendors.localhost", L"/echo?from=redirect");
    const std::wstring url = SiteUrl(L"market.localhost", L"/redirect?code=" +
                                                              std::to_wstring(c.code) + L"&to=" +
                                                              PercentEncode(target));
    const std::string body = c.method == std::wstring(L"POST") ? "a=1&b=2" : "";
    const HttpResponse response =
        Fetch(*transport, {c.method, url, body, body.empty() ? "" : "application/x-www-form-urlencoded"});
    ASSERT_TRUE(response.ok) << WideToUtf8(response.error);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.finalUrl, target);
    EXPECT_EQ(EchoField(response, "host"),
              "alice.vendors.localhost:" + std::to_string(Site().port));
    EXPECT_EQ(EchoField(response, "method"), c.methodAfter);
    EXPECT_EQ(EchoField(response, "body"), c.bodyKept ? body : "");
}

INSTANTIATE_TEST_SUITE_P(Codes, TransportRedirect,
                         ::testing::Values(RedirectCase{302, L"GET", "GET", false},
                                           RedirectCase{301, L"POST", "GET", false},
                                           RedirectCase{302, L"POST", "GET", false},
                                           RedirectCase{303, L"POST", "GET", false},
                                           RedirectCase{307, L"POST", "POST", true},
                                           RedirectCase{308, L"POST", "POST", true}),
                         [](const auto& info) {
                             return std::string(WideToUtf8(info.param.method)) + "_" +
                                    std::to_string(info.param.code);
                         });

TEST(Transport, KeepsHostOnlyCookiesPerHost) {
    auto transport = MakeTransport();
    ASSERT_TRUE(Get(*transport, SiteUrl(L"market.localhost", L"/cookie/set?mk=one")).ok);
    ASSERT_TRUE(Get(*transport, SiteUrl(L"alice.vendors.localhost", L"/cookie/set?al=two")).ok);

    auto cookiesOf = [&](const std::wstring& host) {
        const HttpResponse response = Get(*transport, SiteUrl(host, L"/cookie/show"));
        EXPECT_TRUE(response.ok) << WideToUtf8(response.error);
        return EchoField(response, "cookies");
    };
    EXPECT_EQ(cookiesOf(L"market.localhost"), "mk=one");
    EXPECT_EQ(cookiesOf(L"alice.vendors.localhost"), "al=two");
    EXPECT_EQ(cookiesOf(L"bob.vendors.localhost"), "");
}

TEST(Transport, CancelEndsAWaitingExchange) {
    auto transport = MakeTransport();
    std::atomic<bool> cancelled{false};
    const auto started = std::chrono::steady_clock::now();
    auto pending = std::async(std::launch::async, [&] {
        return transport->Fetch({L"GET", SiteUrl(L"market.localhost", L"/slow?ms=8000"), {}, {}},
                                cancelled);
    });
    std::this_thread::sleep_for(300ms);
    cancelled = true;
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready) << "the cancel was not heard";
    const HttpResponse response = pending.get();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_FALSE(response.ok);
    EXPECT_NE(response.error.find(L"cancelled"), std::wstring::npos) << WideToUtf8(response.error);
}

TEST(Transport, CancelledBeforehandSendsNothing) {
    auto transport = MakeTransport();
    const std::atomic<bool> cancelled{true};
    const HttpResponse response =
        transport->Fetch({L"GET", SiteUrl(L"market.localhost", L"/hello"), {}, {}}, cancelled);
    EXPECT_FALSE(response.ok);
    EXPECT_NE(response.error.find(L"cancelled"), std::wstring::npos) << WideToUtf8(response.error);
}

TEST(Transport, SilentServerTimesOut) {
    http::HttpTransportOptions options;
    options.receiveTimeout = 1000ms;
    auto transport = MakeTransport(options);
    const auto started = std::chrono::steady_clock::now();
    const HttpResponse response = Get(*transport, SiteUrl(L"market.localhost", L"/slow?ms=6000"));
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(response.ok) << response.body;
    EXPECT_FALSE(response.error.empty());
    EXPECT_EQ(response.error.find(L"cancelled"), std::wstring::npos);
    EXPECT_LT(took, 5s);
    EXPECT_GE(took, 900ms);
}

TEST(Transport, UntrustedCertificateFails) {
    auto transport = MakeTransport();
    const std::wstring url = SiteUrl(L"market.localhost", L"/hello", Site().roguePort);
    const HttpResponse response = Get(*transport, url);
    EXPECT_FALSE(response.ok) << "an untrusted certificate was accepted";
    EXPECT_TRUE(response.body.empty());
    EXPECT_NE(response.error.find(url), std::wstring::npos) << WideToUtf8(response.error);
}

TEST(Transport, RefusedConnectionFails) {
    auto transport = MakeTransport();
    // Port 1 on the loopback: nothing listens there.
    const HttpResponse response = Get(*transport, SiteUrl(L"market.localhost", L"/hello", 1));
    EXPECT_FALSE(response.ok);
    EXPECT_FALSE(response.error.empty());
}

TEST(Transport, AnErrorStatusIsStillAResponse) {
    auto transport = MakeTransport();
    const HttpResponse response = Get(*transport, SiteUrl(L"market.localhost", L"/no-such-page"));
    ASSERT_TRUE(response.ok) << WideToUtf8(response.error);
    EXPECT_EQ(response.status, 404);
}

TEST(Transport, OnlyWebAddressesAreLoaded) {
    auto transport = MakeTransport();
    for (const wchar_t* url : {L"file:///etc/hostname", L"", L"ftp://market.localhost/"}) {
        const HttpResponse response = Get(*transport, url);
        EXPECT_FALSE(response.ok) << WideToUtf8(url);
        EXPECT_FALSE(response.error.empty()) << WideToUtf8(url);
    }
}

}  // namespace
}  // namespace qv::test
