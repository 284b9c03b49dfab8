// The program itself, started and stopped by simctl as tests and the demo do.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CurlBrowser.h"

namespace qv::marketsim::test {
namespace {

std::string RunShell(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    status = ::pclose(pipe);
    return output;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Simctl : public ::testing::Test {
protected:
    void SetUp() override {
        m_state = std::filesystem::temp_directory_path() /
                  ("marketsim-simctl-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_state);
        std::filesystem::create_directories(m_state);
        m_config = m_state / "accounts.conf";
        std::ofstream(m_config) << "[account alice]\npassword = a b\ntransactions = 5\n";
    }
    void TearDown() override {
        int status = 0;
        RunShell(Command("stop") + " 2>&1", status);
        std::filesystem::remove_all(m_state);
    }
    std::string Command(const std::string& verb) const {
        const std::string env = std::string("MARKETSIM_CERT_DIR=") + MARKETSIM_TEST_CA_DIR +
                                " MARKETSIM=" + MARKETSIM_PROGRAM + " ";
        return env + MARKETSIM_SIMCTL + " " + verb + " " +
               (verb == "start" ? m_config.string() + " " : "") + m_state.string();
    }

    std::filesystem::path m_state;
    std::filesystem::path m_config;
};

TEST_F(Simctl, StartsReportsThePortAndStops) {
    int status = 0;
    const std::string out = RunShell(Command("start"), status);
    ASSERT_EQ(status, 0) << out << ReadFile(m_state / "marketsim.log");
    const int port = std::atoi(out.c_str());
    ASSERT_GT(port, 0) << out;

    std::istringstream ready(ReadFile(m_state / "ready"));
    int readyPort = 0, httpPort = 0;
    ready >> readyPort >> httpPort;
    EXPECT_EQ(readyPort, port);
    ASSERT_GT(httpPort, 0);

    const std::string ca = std::string(MARKETSIM_TEST_CA_DIR) + "/ca.pem";
    EXPECT_EQ(ReadFile(m_state / "client.ini"),
              "[Marketplace]\nMainHost=market.localhost:" + std::to_string(port) +
                  "\nVendorDomain=vendors.localhost:" + std::to_string(port) +
                  "\n[Download]\nSite=http://market.localhost:" + std::to_string(httpPort) +
                  "\n[Trust]\nExtraCA=" +
                  std::filesystem::absolute(ca).lexically_normal().string() + "\n");

    CurlBrowser browser(ca);
    const std::string report = "https://alice.vendors.localhost:" + std::to_string(port) +
                               "/account/showTransactions.htm?pageNum=1&pageSize=1000"
                               "&startDate=2000-01-01&endDate=2100-01-01&s=1";
    EXPECT_EQ(browser.Get(report).finalUrl,
              "https://market.localhost:" + std::to_string(port) + "/login.htm");
    const Fetch page =
        browser.Post("https://market.localhost:" + std::to_string(port) + "/login.do",
                     {{"nick", "alice"}, {"pass", "a b"}});
    EXPECT_EQ(page.finalUrl, report);
    EXPECT_NE(page.body.find("found 5 items"), std::string::npos);

    const std::string stopped = RunShell(Command("stop"), status);
    EXPECT_EQ(status, 0) << stopped;
    EXPECT_FALSE(std::filesystem::exists(m_state / "ready"));
    EXPECT_FALSE(std::filesystem::exists(m_state / "marketsim.pid"));
    EXPECT_NE(browser.Get(report).code, CURLE_OK);
}

TEST_F(Simctl, StartFailsClearlyOnABadConfiguration) {
    std::ofstream(m_config) << "[account alice]\ntransactions = 5\n";
    int status = 0;
    const std::string out = RunShell(Command("start") + " 2>&1", status);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("no password"), std::string::npos) << out;
    EXPECT_NE(out.find("ended before it was ready"), std::string::npos) << out;
}

}  // namespace
}  // namespace qv::marketsim::test
