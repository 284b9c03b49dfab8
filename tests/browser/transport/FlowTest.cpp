// The sign-in road of the session against the marketplace simulator: what
// the browser page relies on, driven through the engine as the page drives it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "BrowserEngine.h"
#include "CurlTransport.h"
#include "EventLoop.h"
#include "TextConvert.h"
#include "html/HtmlDocument.h"

namespace qv::test {
namespace {

using namespace std::chrono_literals;

const char kConfig[] =
    "[account alice]\n"
    "password = open sesame\n"
    "transactions = 3\n"
    "days = 30\n";

class MarketFlow : public ::testing::Test {
protected:
    // ctest runs each case in a process of its own, several at once: each
    // process starts its own simulator in its own folder.
    static std::string State() {
        return std::string(QV_TRANSPORT_FLOW_STATE) + "-" + std::to_string(getpid());
    }
    static void SetUpTestSuite() {
        const std::string state = State();
        std::ofstream(state + ".conf") << kConfig;
        const std::string command = "sh '" + std::string(QV_MARKETSIM_SIMCTL) + "' start '" +
                                    state + ".conf' '" + state + "' > '" + state + ".port'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream in(state + ".port");
        ASSERT_TRUE(in >> port_) << "simctl printed no port";
    }
    static void TearDownTestSuite() {
        const std::string command =
            "sh '" + std::string(QV_MARKETSIM_SIMCTL) + "' stop '" + State() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::error_code ignored;
        std::filesystem::remove_all(State(), ignored);
        std::filesystem::remove(State() + ".conf", ignored);
        std::filesystem::remove(State() + ".port", ignored);
    }

    MarketFlow() {
        http::HttpTransportOptions options;
        options.extraCaFile = Utf8ToWide(State() + "/ca/ca.pem");
        transport_ = std::make_unique<http::CurlTransport>(options);
        engine_ = std::make_unique<browser::BrowserEngine>(*transport_, loop_);
        engine_->SetDocumentCompleteHandler([this](const std::wstring& url) { last_ = url; });
        engine_->SetNavigateErrorHandler([this](const std::wstring&, const std::wstring& message) {
            last_ = L"error: " + message;
        });
    }

    static std::wstring Origin(const std::wstring& host) {
        return L"https://" + host + L":" + std::to_wstring(port_);
    }
    static std::wstring SignIn() { return Origin(L"market.localhost") + L"/login.htm"; }
    static std::wstring Report() {
        return Origin(L"alice.vendors.localhost") +
               L"/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageNum=1"
               L"&pageSize=1000&startDate=2026-01-01&endDate=2026-01-31&type=SALE_ARRAY";
    }

    // The address the next document completes at, or the error.
    std::wstring Await() {
        last_.reset();
        EXPECT_TRUE(loop_.RunUntil([&] { return last_.has_value(); }, 20s));
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
    EventLoop loop_;
    std::unique_ptr<http::CurlTransport> transport_;
    std::unique_ptr<browser::BrowserEngine> engine_;
    std::optional<std::wstring> last_;
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
    EXPECT_EQ(Load(Origin(L"alice.vendors.localhost") + L"/account/logout"), SignIn());
    // Signed out for real: the report asks for a sign-in again.
    EXPECT_EQ(Load(Report()), SignIn());
}

}  // namespace
}  // namespace qv::test
