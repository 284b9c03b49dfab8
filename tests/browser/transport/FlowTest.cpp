// The sign-in road of the session against the marketplace simulator: what
// the browser page relies on, driven through the engine as the page drives it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "BrowserEngine.h"
#include "TextConvert.h"
#include "html/HtmlDocument.h"

#ifdef _WIN32
#include "Win32UiDispatcher.h"
#include "WinInetTransport.h"
#else
#include <unistd.h>

#include "CurlTransport.h"
#include "EventLoop.h"
#endif

namespace qv::test {
namespace {

using namespace std::chrono_literals;

#ifndef _WIN32
// ctest runs each case in a process of its own, several at once: each
// process starts its own simulator in its own folder.
std::string SimulatorState() {
    return std::string(QV_TRANSPORT_FLOW_STATE) + "-" + std::to_string(getpid());
}
#endif

// The real transport, noting the thread of every exchange.
class ThreadNotingTransport final : public http::IHttpTransport {
public:
    explicit ThreadNotingTransport(std::unique_ptr<http::IHttpTransport> inner)
        : inner_(std::move(inner)) {}
    http::HttpResponse Fetch(const http::HttpRequest& request,
                             const std::atomic<bool>& cancelled) override {
        {
            std::lock_guard lock(mutex_);
            threads_.push_back(std::this_thread::get_id());
        }
        return inner_->Fetch(request, cancelled);
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard lock(mutex_);
        return threads_;
    }

private:
    std::unique_ptr<http::IHttpTransport> inner_;
    std::mutex mutex_;
    std::vector<std::thread::id> threads_;
};

class MarketFlow : public ::testing::Test {
protected:
#ifdef _WIN32
    // ctest starts the simulator beside Wine and names its state folder in
    // QV_MARKETSIM_FLOW; the prefix trusts its CA already (trustca).
    static void SetUpTestSuite() {
        const char* state = std::getenv("QV_MARKETSIM_FLOW");
        ASSERT_NE(state, nullptr) << "QV_MARKETSIM_FLOW is not set";
        // Z: is the host's root in a Wine prefix.
        std::ifstream in(std::filesystem::path(L"Z:" + Utf8ToWide(state) + L"/ready"));
        ASSERT_TRUE(in >> port_) << "the simulator's ready file names no port";
    }
    static std::unique_ptr<http::IHttpTransport> MakeTransport() {
        return std::make_unique<http::WinInetTransport>(http::HttpTransportOptions{});
    }
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        return win::Win32UiDispatcher::PumpUntil(done, timeout);
    }
#else
    static void SetUpTestSuite() {
        const std::string state = SimulatorState();
        const std::string command = "sh '" + std::string(QV_MARKETSIM_SIMCTL) + "' start '" +
                                    std::string(QV_TRANSPORT_FLOW_CONF) + "' '" + state + "' > '" +
                                    state + ".port'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream in(state + ".port");
        ASSERT_TRUE(in >> port_) << "simctl printed no port";
    }
    static void TearDownTestSuite() {
        const std::string state = SimulatorState();
        const std::string command =
            "sh '" + std::string(QV_MARKETSIM_SIMCTL) + "' stop '" + state + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::error_code ignored;
        std::filesystem::remove_all(state, ignored);
        std::filesystem::remove(state + ".port", ignored);
    }
    static std::unique_ptr<http::IHttpTransport> MakeTransport() {
        http::HttpTransportOptions options;
        options.extraCaFile = Utf8ToWide(SimulatorState() + "/ca/ca.pem");
        return std::make_unique<http::CurlTransport>(options);
    }
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        return loop_.RunUntil(done, timeout);
    }
#endif

    MarketFlow() : transport_(MakeTransport()) {
        engine_ = std::make_unique<browser::BrowserEngine>(transport_, loop_);
        engine_->SetDocumentCompleteHandler([this](const std::wstring& url) {
            last_ = url;
            ++completions_;
        });
        engine_->SetNavigateErrorHandler([this](const std::wstring&, const LoadError& error) {
            last_ = L"error: " + error.message;
        });
    }

    // WinINet keeps its cookies for the whole process, as a browser does:
    // every case starts signed out.
    void SetUp() override {
        ASSERT_EQ(Load(SignOut()), SignIn());
    }
    // Every transfer of every case ran off the UI thread (this one).
    void TearDown() override {
        const std::vector<std::thread::id> threads = transport_.Threads();
        EXPECT_FALSE(threads.empty());
        for (const std::thread::id thread : threads) EXPECT_NE(thread, std::this_thread::get_id());
    }

    static std::wstring Origin(const std::wstring& host) {
        return L"https://" + host + L":" + std::to_wstring(port_);
    }
    static std::wstring SignIn() {
        return Origin(L"market.localhost") + L"/login.htm";
    }
    static std::wstring SignOut(const std::wstring& nick = L"alice") {
        return Origin(nick + L".vendors.localhost") + L"/account/logout";
    }
    static std::wstring Report(const std::wstring& nick = L"alice") {
        return Origin(nick + L".vendors.localhost") +
               L"/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageNum=1"
               L"&pageSize=1000&startDate=2026-01-01&endDate=2026-01-31&type=SALE_ARRAY";
    }

    // The address the next document completes at, or the error.
    std::wstring Await() {
        last_.reset();
        EXPECT_TRUE(RunUntil([&] { return last_.has_value(); }, 20s));
        return last_.value_or(L"nothing completed");
    }
    std::wstring Load(const std::wstring& url) {
        engine_->Navigate(url);
        return Await();
    }
    // Fills the sign-in form as the browser page does and sends it.
    std::wstring SignInAs(const std::wstring& nick, const std::wstring& pass) {
        html::Element* nickField = engine_->GetElementById(L"nick");
        html::Element* passField = engine_->GetElementById(L"pass");
        html::Element* login = engine_->GetElementById(L"login");
        if (!nickField || !passField || !login) return L"the sign-in form is incomplete";
        engine_->SetOuterHtml(*nickField, L"<INPUT id=nick class=loginInput tabIndex=1 value=\"" +
                                              nick + L"\" maxLength=10 name=nick>");
        engine_->SetOuterHtml(*passField, L"<INPUT id=pass class=loginInput tabIndex=2 value=\"" +
                                              pass + L"\" type=password name=pass>");
        if (!engine_->Click(*engine_->GetElementById(L"login"))) return L"the click sent nothing";
        return Await();
    }

    static inline int port_ = 0;
#ifdef _WIN32
    win::Win32UiDispatcher loop_;
#else
    EventLoop loop_;
#endif
    ThreadNotingTransport transport_;
    std::unique_ptr<browser::BrowserEngine> engine_;
    std::optional<std::wstring> last_;
    int completions_ = 0;
};

TEST_F(MarketFlow, SignedOutReportEndsOnTheSignInPage) {
    EXPECT_EQ(Load(Report()), SignIn());
}

TEST_F(MarketFlow, SigningInEndsOnExactlyTheReportAsked) {
    ASSERT_EQ(Load(Report()), SignIn());
    EXPECT_EQ(SignInAs(L"alice", L"open sesame"), Report());
    EXPECT_NE(engine_->GetElementById(L"divbody"), nullptr);
}

TEST_F(MarketFlow, AWrongPasswordEndsOnTheFailureAddress) {
    ASSERT_EQ(Load(Report()), SignIn());
    EXPECT_EQ(SignInAs(L"alice", L"not the password"), SignIn() + L"?error=true");
}

TEST_F(MarketFlow, SigningOutEndsOnTheSignInPage) {
    ASSERT_EQ(Load(Report()), SignIn());
    ASSERT_EQ(SignInAs(L"alice", L"open sesame"), Report());
    EXPECT_EQ(Load(SignOut()), SignIn());
    // Signed out for real: the report asks for a sign-in again.
    EXPECT_EQ(Load(Report()), SignIn());
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

TEST_F(MarketFlow, ASlowReportIsSupersededWithoutTheUiThreadWaiting) {
    constexpr auto kDelay = 1500ms;  // carol's report pages, as flow.conf has it
    ASSERT_EQ(Load(Report(L"carol")), SignIn());
    ASSERT_EQ(SignInAs(L"carol", L"carol"), Report(L"carol"));

    completions_ = 0;
    const auto started = std::chrono::steady_clock::now();
    engine_->Navigate(Report(L"carol"));
    EXPECT_LT(std::chrono::steady_clock::now() - started, kDelay / 3);
    EXPECT_TRUE(engine_->Busy());
    EXPECT_EQ(Load(SignOut(L"carol")), SignIn());
    // Long after the slow page could have come, it has not replaced the
    // newer document.
    RunUntil([] { return false; }, kDelay + 1s);
    EXPECT_EQ(completions_, 1);
    EXPECT_EQ(engine_->LocationUrl(), SignIn());
}

}  // namespace
}  // namespace qv::test
