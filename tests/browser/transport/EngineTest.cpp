// The browser engine over a real transport and a real UI loop: transfers off
// the UI thread, completion on it, newer navigations winning, form clicks.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "BrowserEngine.h"
#include "TextConvert.h"
#include "TransportEnv.h"
#include "html/HtmlDocument.h"

#ifdef _WIN32
#include "Win32UiDispatcher.h"
#else
#include "EventLoop.h"
#endif

namespace qv::test {
namespace {

using namespace std::chrono_literals;
using browser::BrowserEngine;

// The real transport, with a note of where and how every exchange ran.
class RecordingTransport final : public http::IHttpTransport {
public:
    struct Exchange {
        std::wstring url;
        std::thread::id thread;
        bool cancelled;
        std::chrono::steady_clock::duration took;
    };

    RecordingTransport() : inner_(MakeTransport()) {}

    http::HttpResponse Fetch(const http::HttpRequest& request,
                             const std::atomic<bool>& cancelled) override {
        const auto started = std::chrono::steady_clock::now();
        http::HttpResponse response = inner_->Fetch(request, cancelled);
        std::lock_guard lock(mutex_);
        exchanges_.push_back({request.url, std::this_thread::get_id(), cancelled.load(),
                              std::chrono::steady_clock::now() - started});
        return response;
    }
    std::vector<Exchange> Exchanges() {
        std::lock_guard lock(mutex_);
        return exchanges_;
    }

private:
    std::unique_ptr<http::IHttpTransport> inner_;
    std::mutex mutex_;
    std::vector<Exchange> exchanges_;
};

class Engine : public ::testing::Test {
protected:
    Engine() : engine_(transport_, ui_) {
        engine_.SetDocumentCompleteHandler([this](const std::wstring& url) {
            completed_.push_back(url);
            completeThreads_.push_back(std::this_thread::get_id());
        });
        engine_.SetNavigateErrorHandler([this](const std::wstring&, const LoadError& error) {
            errors_.push_back(error.message);
        });
    }

    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
        return ui_.RunUntil(done, timeout);
    }
    bool WaitForEvents(std::size_t count) {
        return RunUntil([&] { return completed_.size() + errors_.size() >= count; });
    }
    std::wstring Inner(std::wstring_view id) {
        html::Element* element = engine_.GetElementById(id);
        return element ? engine_.InnerHtml(*element) : L"<no element " + std::wstring(id) + L">";
    }

    RecordingTransport transport_;
#ifdef _WIN32
    win::Win32UiDispatcher ui_;
#else
    EventLoop ui_;
#endif
    BrowserEngine engine_;
    std::vector<std::wstring> completed_;
    std::vector<std::thread::id> completeThreads_;
    std::vector<std::wstring> errors_;
};

TEST_F(Engine, StartsOnThePlaceholderWithItsTwoButtons) {
    EXPECT_EQ(engine_.LocationUrl(), BrowserEngine::kPlaceholderUrl);
    ASSERT_NE(engine_.GetElementById(L"ButtonOK"), nullptr);
    ASSERT_NE(engine_.GetElementById(L"ButtonCancel"), nullptr);
    int ok = 0;
    engine_.BindClick(L"ButtonOK", [&] { ++ok; });
    EXPECT_TRUE(engine_.Click(*engine_.GetElementById(L"ButtonOK")));
    EXPECT_EQ(ok, 1);
    // An unbound button outside a form does nothing and starts nothing.
    EXPECT_FALSE(engine_.Click(*engine_.GetElementById(L"ButtonCancel")));
    EXPECT_FALSE(engine_.Busy());
}

TEST_F(Engine, NavigationRunsOffTheUiThreadAndCompletesOnItAtTheFinalAddress) {
    const std::wstring target = SiteUrl(L"alice.vendors.localhost", L"/echo");
    const auto before = std::chrono::steady_clock::now();
    engine_.Navigate(
        SiteUrl(L"market.localhost",
                L"/redirect?code=302&to=" + SiteUrl(L"alice.vendors.localhost", L"/echo")));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 200ms)
        << "Navigate waited for the network";
    EXPECT_TRUE(engine_.Busy());
    EXPECT_TRUE(completed_.empty()) << "completion before the loop ran";

    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_TRUE(errors_.empty()) << WideToUtf8(errors_.front());
    ASSERT_EQ(completed_, std::vector<std::wstring>{target});
    EXPECT_EQ(completeThreads_.front(), std::this_thread::get_id());
    EXPECT_EQ(engine_.LocationUrl(), target);
    EXPECT_FALSE(engine_.Busy());
    EXPECT_EQ(Inner(L"host"), L"alice.vendors.localhost:" + std::to_wstring(Site().port));
    const auto exchanges = transport_.Exchanges();
    ASSERT_EQ(exchanges.size(), 1u);
    EXPECT_NE(exchanges.front().thread, std::this_thread::get_id());
}

TEST_F(Engine, ANewerNavigationSupersedesASlowOne) {
    const std::wstring slow = SiteUrl(L"market.localhost", L"/slow?ms=6000");
    const std::wstring quick = SiteUrl(L"market.localhost", L"/hello");
    engine_.Navigate(slow);
    std::this_thread::sleep_for(200ms);  // the slow one is on the wire
    engine_.Navigate(quick);

    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_EQ(completed_, std::vector<std::wstring>{quick});
    EXPECT_EQ(Inner(L"greeting"), L"Hello, <b>world</b> &amp; all");
    // The slow transfer was cancelled, not waited out, and its page never shows.
    ASSERT_TRUE(RunUntil([&] { return transport_.Exchanges().size() == 2; }, 4s));
    for (const auto& exchange : transport_.Exchanges()) {
        EXPECT_NE(exchange.thread, std::this_thread::get_id());
        if (exchange.url == slow) {
            EXPECT_TRUE(exchange.cancelled);
            EXPECT_LT(exchange.took, 4s);
        }
    }
    RunUntil([] { return false; }, 300ms);
    EXPECT_EQ(completed_.size(), 1u);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(engine_.LocationUrl(), quick);
}

TEST_F(Engine, FilledFormIsSubmittedByAClick) {
    engine_.Navigate(SiteUrl(L"market.localhost", L"/form"));
    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_EQ(completed_.size(), 1u) << (errors_.empty() ? "" : WideToUtf8(errors_.front()));

    html::Element* nick = engine_.GetElementById(L"nick");
    ASSERT_NE(nick, nullptr);
    ASSERT_TRUE(engine_.SetOuterHtml(
        *nick, L"<INPUT id=nick class=loginInput tabIndex=1 value=alice maxLength=10 name=nick>"));
    html::Element* pass = engine_.GetElementById(L"pass");
    ASSERT_NE(pass, nullptr);
    ASSERT_TRUE(engine_.SetOuterHtml(
        *pass,
        L"<INPUT id=pass class=loginInput tabIndex=2 value=s3cret type=password name=pass>"));
    html::Element* login = engine_.GetElementById(L"login");
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(engine_.Click(*login));
    EXPECT_TRUE(engine_.Busy());

    ASSERT_TRUE(WaitForEvents(2));
    ASSERT_EQ(completed_.size(), 2u) << (errors_.empty() ? "" : WideToUtf8(errors_.front()));
    EXPECT_EQ(completed_.back(), SiteUrl(L"market.localhost", L"/echo"));
    EXPECT_EQ(Inner(L"method"), L"POST");
    EXPECT_EQ(Inner(L"body"), L"nick=alice&amp;pass=s3cret&amp;login=Sign+in");
}

TEST_F(Engine, AFailedLoadReportsAnErrorAndKeepsTheDocument) {
    struct Case {
        std::wstring url;
        std::wstring expected;  // part of the message
    };
    const Case cases[] = {
        {SiteUrl(L"market.localhost", L"/hello", Site().roguePort), L"Cannot load"},
        {SiteUrl(L"market.localhost", L"/no-such-page"), L"status 404"},
    };
    for (const Case& c : cases) {
        errors_.clear();
        engine_.Navigate(c.url);
        ASSERT_TRUE(WaitForEvents(1)) << WideToUtf8(c.url);
        ASSERT_EQ(errors_.size(), 1u) << WideToUtf8(c.url);
        EXPECT_NE(errors_.front().find(c.expected), std::wstring::npos)
            << WideToUtf8(errors_.front());
        EXPECT_TRUE(completed_.empty());
        EXPECT_FALSE(engine_.Busy());
        EXPECT_EQ(engine_.LocationUrl(), BrowserEngine::kPlaceholderUrl);
        EXPECT_NE(engine_.GetElementById(L"ButtonOK"), nullptr);
    }
}

TEST_F(Engine, ErrorsAreShownOnlyWhenNotSilent) {
    std::vector<std::wstring> shown;
    engine_.SetErrorDisplay([&](const std::wstring& message) { shown.push_back(message); });
    EXPECT_TRUE(engine_.Silent());
    const std::wstring bad = SiteUrl(L"market.localhost", L"/no-such-page");
    engine_.Navigate(bad);
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_TRUE(shown.empty());

    engine_.SetSilent(false);
    engine_.Navigate(bad);
    ASSERT_TRUE(WaitForEvents(2));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front(), errors_.back());
}

TEST(EngineLifetime, DestroyingTheEngineCancelsItsTransfer) {
    RecordingTransport transport;
#ifdef _WIN32
    win::Win32UiDispatcher ui;
#else
    EventLoop ui;
#endif
    int events = 0;
    const auto started = std::chrono::steady_clock::now();
    {
        BrowserEngine engine(transport, ui);
        engine.SetDocumentCompleteHandler([&](const std::wstring&) { ++events; });
        engine.SetNavigateErrorHandler([&](const std::wstring&, const LoadError&) { ++events; });
        engine.Navigate(SiteUrl(L"market.localhost", L"/slow?ms=8000"));
        std::this_thread::sleep_for(200ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 4s);
    ASSERT_EQ(transport.Exchanges().size(), 1u);
    EXPECT_TRUE(transport.Exchanges().front().cancelled);
    ui.RunUntil([] { return false; }, 200ms);
    EXPECT_EQ(events, 0);
}

}  // namespace
}  // namespace qv::test
