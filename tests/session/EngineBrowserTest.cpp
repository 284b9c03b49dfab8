// The browser port over the real engine, with the transport answering as the
// marketplace does: the session's sign-in markup must reach the server as
// the password the user typed, whatever characters it holds.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "BrowserEngine.h"
#include "EngineBrowser.h"
#include "EventLoop.h"
#include "SessionFixture.h"

namespace qv::test {
namespace {

using namespace std::chrono_literals;

constexpr char kSignInPage[] =
    "<!DOCTYPE html><html><head><title>Vendor sign-in</title></head><body>"
    "<form id=\"loginForm\" method=\"post\" action=\"/login.do\" accept-charset=\"utf-8\">"
    "<p><input id=\"nick\" class=\"loginInput\" type=\"text\" name=\"nick\" tabindex=\"1\" "
    "maxlength=\"10\"></p>"
    "<p><input id=\"pass\" class=\"loginInput\" type=\"password\" name=\"pass\" "
    "tabindex=\"2\"></p>"
    "<p><input id=\"login\" type=\"submit\" value=\"Sign in\" tabindex=\"3\"></p>"
    "</form></body></html>";

// Answers on the engine's worker threads through a function of the request.
class ScriptedTransport final : public http::IHttpTransport {
public:
    using Script = std::function<http::HttpResponse(const http::HttpRequest&)>;
    explicit ScriptedTransport(Script script) : script_(std::move(script)) {}

    http::HttpResponse Fetch(const http::HttpRequest& request, const std::atomic<bool>&) override {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        return script_(request);
    }
    std::vector<http::HttpRequest> Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    Script script_;
    std::mutex mutex_;
    std::vector<http::HttpRequest> requests_;
};

http::HttpResponse Page(const std::wstring& finalUrl, std::string body) {
    http::HttpResponse response;
    response.ok = true;
    response.status = 200;
    response.finalUrl = finalUrl;
    response.contentType = "text/html; charset=utf-8";
    response.body = std::move(body);
    return response;
}

TEST(EngineBrowser, FillsAndSendsTheSignInFormWithAwkwardPasswords) {
    const std::wstring signIn = L"https://market.localhost:8443/login.htm";
    ScriptedTransport transport([&](const http::HttpRequest& request) {
        if (request.method == L"POST") return Page(signIn + L"?error=true", kSignInPage);
        return Page(request.url, kSignInPage);
    });
    EventLoop loop;
    browser::BrowserEngine engine(transport, loop);
    browser::EngineBrowser browser(engine);
    std::vector<std::wstring> completed;
    browser.SetDocumentCompleteHandler([&](const std::wstring& url) { completed.push_back(url); });

    struct Case {
        std::wstring password;
        std::string body;
    };
    const std::vector<Case> cases = {
        {L"plain", "nick=alice&pass=plain"},
        {L"two words", "nick=alice&pass=two+words"},
        {L"say \"hi\"", "nick=alice&pass=say+%22hi%22"},
        {L"a&pass=b", "nick=alice&pass=a%26pass%3Db"},
        {L"x>y<z", "nick=alice&pass=x%3Ey%3Cz"},
        {L"it's", "nick=alice&pass=it%27s"},
        {L"&amp;", "nick=alice&pass=%26amp%3B"},
    };
    for (const Case& c : cases) {
        const std::size_t before = completed.size();
        browser.Navigate(signIn);
        ASSERT_TRUE(loop.RunUntil([&] { return completed.size() > before; }, 10s));
        EXPECT_EQ(browser.LocationUrl(), signIn);
        ASSERT_TRUE(browser.SetOuterHtml(L"nick", NickFieldMarkup(L"alice")));
        ASSERT_TRUE(browser.SetOuterHtml(L"pass", PassFieldMarkup(c.password)));
        ASSERT_TRUE(browser.Click(L"login"));
        ASSERT_TRUE(loop.RunUntil([&] { return completed.size() > before + 1; }, 10s));
        const auto requests = transport.Requests();
        ASSERT_EQ(requests.back().method, L"POST");
        EXPECT_EQ(requests.back().url, L"https://market.localhost:8443/login.do");
        EXPECT_EQ(requests.back().body, c.body) << WideToUtf8(c.password);
        EXPECT_EQ(completed.back(), signIn + L"?error=true");
    }

    // Missing elements: nothing to read, replace or click.
    EXPECT_FALSE(browser.InnerHtml(L"divbody").has_value());
    EXPECT_FALSE(browser.SetOuterHtml(L"divbody", L"<p></p>"));
    EXPECT_FALSE(browser.Click(L"divbody"));
    EXPECT_TRUE(browser.InnerHtml(L"loginForm").has_value());
}

// One account from report to sign-out over the real engine and a real event
// loop: the session's timers run in real time, its pages arrive posted.
class EngineSession : public SessionFixture {};

TEST_F(EngineSession, SignsInImportsAndSignsOut) {
    MakeDatabase({L"alice"});
    const std::wstring password = L"p&ss \"w>rd'";
    CMyObject& alice = Account(L"alice", 1, password);
    const std::wstring signIn = SignInAddress(config_);
    bool signedIn = false;
    std::wstring report;
    const std::string row = WideToUtf8(ReportTableHtml({SampleRecord(4)}));
    ScriptedTransport transport([&](const http::HttpRequest& request) {
        if (request.method == L"POST") {
            const bool good = request.body == "nick=alice&pass=p%26ss+%22w%3Erd%27";
            signedIn = good;
            return good ? Page(report, "<div id=\"divbody\">found 1 items</div>")
                        : Page(signIn + L"?error=true", kSignInPage);
        }
        if (request.url == alice.m_strLogoutUrl) {
            signedIn = false;
            return Page(signIn, kSignInPage);
        }
        if (!signedIn) {
            report = request.url;
            return Page(signIn, kSignInPage);
        }
        return Page(request.url,
                    "<div id=\"divbody\">found 1 items</div><div id=\"line\">" + row + "</div>");
    });
    EventLoop loop;
    browser::BrowserEngine engine(transport, loop);
    browser::EngineBrowser browser(engine);
    BrowserSession session(browser, loop, state_, log_, view_, config_, programFolder_);
    view_.onFinishRun = [&] {
        session.StopAndSignOut();
        state_.checkState = kCheckIdle;
    };
    Begin();
    session_.reset();  // the fixture's own session over the fake browser plays no part
    session.BeginCheck(list_);
    ASSERT_TRUE(loop.RunUntil([&] { return view_.finishRuns > 0; }, 20s));
    EXPECT_TRUE(Logged(L"[alice] Login attempt."));
    EXPECT_TRUE(Logged(L"[alice] Login succeed."));
    EXPECT_TRUE(Logged(L"[alice] Find out 1 new items."));
    EXPECT_TRUE(Logged(L"[alice] Log out."));
    EXPECT_FALSE(Logged(L"[alice] Login failed."));
    EXPECT_EQ(Rows(L"alice").size(), 1u);
    EXPECT_EQ(view_.balloons, (std::vector<FakeSessionView::Balloon>{{L"alice", 1}}));
}

}  // namespace
}  // namespace qv::test
