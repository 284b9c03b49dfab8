// Checks against a marketplace and a machine that misbehave: rows arriving
// while the pages are read, damaged stored dates, connections that fail in
// every way, databases that fail mid-import, hostile nicknames. Each ends in
// a line that names what went wrong, and nothing the marketplace holds is
// lost.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "EndToEnd.h"

namespace qv::test {
namespace {

using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A loopback port where nothing listens: bound, read back, closed again.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// Three pages of report; transactions arrive while they are read, at the
// moments that lost them: after the last page was read (pushing rows of the
// middle page onto it), before the first page, and during the pass that
// reads them again.
TEST(CheckFaultsEndToEnd, RowsArrivingDuringAThreePageImportAreAllStoredOnce) {
    Simulator simulator("[account alice]\npassword = a\ntransactions = 2500\ndays = 60\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount alice a\n", simulator);
    ASSERT_TRUE(folder.Made());
    // Report requests after the sign-in: 1 the count, 2 page 3, 3 page 2, 4 page 1.
    ASSERT_TRUE(simulator.AddDuringCheck("alice", 65, 3));
    ASSERT_TRUE(simulator.AddDuringCheck("alice", 10, 4));
    ASSERT_TRUE(simulator.AddDuringCheck("alice", 7, 6));

    const CliRun first = folder.RunCheck();
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    const int held = simulator.RowsPerAccount().at("alice");
    ASSERT_EQ(held, 2500 + 65 + 10 + 7);
    const int afterFirst = folder.StoredRows(L"Shop.mdb", L"x", L"alice");
    // What arrived while the pages were read a second time may wait for the
    // next check; nothing older than it may.
    EXPECT_GE(afterFirst, held - 7);
    EXPECT_TRUE(Contains(WithoutStamps(first.lines),
                         "[alice] Find out " + std::to_string(afterFirst) + " new items."));

    const CliRun second = folder.RunCheck();
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"alice"), held) << "lost or doubled rows";
}

TEST(CheckFaultsEndToEnd, BadStoredDatesStillLetNewRowsIn) {
    Simulator simulator(
        "[account future]\npassword = f\ntransactions = 5\ndays = 20\n\n"
        "[account garbled]\npassword = g\ntransactions = 5\ndays = 20\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount future f\naccount garbled g\n", simulator);
    ASSERT_TRUE(folder.Made());
    ASSERT_EQ(folder.RunCheck().exitCode, 0);
    ASSERT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"future"), 5);

    // A row dated years ahead, and one whose date is no date at all.
    ASSERT_TRUE(folder.RunSql(L"Shop.mdb",
                              "INSERT INTO future (Date, Time) VALUES ('2099-01-01 00:00:00', "
                              "'1899-12-30 10:00:00');"));
    ASSERT_TRUE(folder.RunSql(
        L"Shop.mdb", "INSERT INTO garbled (Date, Time) VALUES ('soon', '1899-12-30 10:00:00');"));
    ASSERT_TRUE(simulator.AddTransactions("future", 3));
    ASSERT_TRUE(simulator.AddTransactions("garbled", 2));

    const CliRun run = folder.RunCheck("--timeout 10");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Lines texts = WithoutStamps(run.lines);
    EXPECT_TRUE(Contains(texts, "[future] Find out 3 new items."))
        << ::testing::PrintToString(texts);
    EXPECT_TRUE(Contains(texts, "[garbled] Find out 2 new items."))
        << ::testing::PrintToString(texts);
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"future"), 5 + 1 + 3);
}

// Each failure of the connection is told with its own words as soon as it
// happens, not as a time-out two minutes later.
TEST(CheckFaultsEndToEnd, EachNetworkFailureIsToldAtOnce) {
    Simulator simulator(
        "[account broken]\npassword = b\ntransactions = 2\nfailure = http-error\n"
        "failure-param = 500\n\n"
        "[account refused]\npassword = r\ntransactions = 2\nfailure = http-error\n"
        "failure-param = 403\n\n"
        "[account dropped]\npassword = d\ntransactions = 2\nfailure = drop-connection\n\n"
        "[account fine]\npassword = f\ntransactions = 2\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder(
        "group Shop.mdb x\naccount broken b\naccount refused r\naccount dropped d\n"
        "account fine f\n",
        simulator);
    ASSERT_TRUE(folder.Made());

    // The default time-out of two minutes: none of these may wait for it.
    auto started = Clock::now();
    const CliRun run = folder.RunCheck();
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(60));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Lines texts = WithoutStamps(run.lines);
    EXPECT_TRUE(Contains(texts, "[broken] Connection failed: the server answered with error 500."));
    EXPECT_TRUE(
        Contains(texts, "[refused] Connection failed: the server answered with error 403."));
    EXPECT_TRUE(Contains(texts,
                         "[dropped] Connection failed: the connection broke off before the page "
                         "was complete."))
        << ::testing::PrintToString(LinesOf(texts, "dropped"));
    EXPECT_EQ(LinesOf(texts, "fine").back(), "[fine] Log out.");
    for (const char* nick : {"broken", "refused", "dropped"})
        EXPECT_FALSE(Contains(texts, std::string("[") + nick + "] Connection timed out."));

    // Nothing listens where the marketplace should be.
    const std::string config = simulator.ClientConfig();
    const std::string port = std::to_string(simulator.Port());
    const std::string closed = std::to_string(ClosedPort());
    folder.WriteNetworkConfig(std::regex_replace(config, std::regex(":" + port), ":" + closed));
    started = Clock::now();
    const CliRun nobody = folder.RunCheck();
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(30));
    EXPECT_TRUE(Contains(WithoutStamps(nobody.lines),
                         "[fine] Connection failed: the server cannot be reached (the connection "
                         "was refused)."))
        << ::testing::PrintToString(WithoutStamps(nobody.lines));
}

// The reader's own list of trusted authorities decides (natively the extra
// CA of the network file; under Wine the prefix's root store, which trusts
// every simulator's CA, so this case runs natively only).
TEST(CheckFaultsEndToEnd, UntrustedCertificateIsToldAtOnce) {
    Simulator simulator("[account fine]\npassword = f\ntransactions = 2\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount fine f\n", simulator);
    ASSERT_TRUE(folder.Made());
    // A server certificate from an authority the reader does not trust.
    const std::string otherCa = folder.Path() + "/other-ca";
    ASSERT_EQ(
        std::system(("sh '" + std::string(QV_E2E_MAKE_CA) + "' '" + otherCa + "' > /dev/null 2>&1")
                        .c_str()),
        0);
    folder.WriteNetworkConfig(std::regex_replace(simulator.ClientConfig(), std::regex("ExtraCA=.*"),
                                                 "ExtraCA=" + otherCa + "/ca.pem"));
    const auto started = Clock::now();
    const CliRun run = folder.RunCheck();
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(LinesOf(WithoutStamps(run.lines), "fine"),
              (Lines{"[fine] Connection failed: the server's certificate is not trusted."}));
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"fine"), 0);
}

// An account that signed in is signed out however it ends.
TEST(CheckFaultsEndToEnd, SignedOutAfterADatabaseFailureAndAfterATimeOut) {
    Simulator simulator(
        "[account nodb]\npassword = n\ntransactions = 3\n\n"
        "[account slow]\npassword = s\ntransactions = 2\nfailure = slow\nfailure-param = 8000\n\n"
        "[account fine]\npassword = f\ntransactions = 2\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount nodb n\naccount slow s\naccount fine f\n",
                         simulator);
    ASSERT_TRUE(folder.Made());
    // The table still answers the planner's query, but no row can be stored.
    ASSERT_TRUE(folder.RunSql(
        L"Shop.mdb", "DROP INDEX \"nodb duplicate\"; ALTER TABLE nodb DROP COLUMN EMail;"));

    const CliRun run = folder.RunCheck("--timeout 3");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Lines texts = WithoutStamps(run.lines);
    const Lines nodb = LinesOf(texts, "nodb");
    ASSERT_FALSE(nodb.empty());
    EXPECT_EQ(nodb.back(), "[nodb] Log out.") << ::testing::PrintToString(texts);
    EXPECT_EQ(LinesOf(texts, "slow"),
              (Lines{"[slow] Login attempt.", "[slow] Connection timed out.", "[slow] Log out."}));
    const auto signOuts = simulator.SignOuts();
    EXPECT_GE(signOuts.at("nodb"), 1);
    EXPECT_GE(signOuts.at("slow"), 1);
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"fine"), 2);
}

// A nickname that is no host label would send the password to another host.
TEST(CheckFaultsEndToEnd, NicknameThatIsNoHostNameEndsWithItsLine) {
    Simulator simulator("[account alice]\npassword = a\ntransactions = 2\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount evil@alice a\naccount alice a\n", simulator);
    ASSERT_TRUE(folder.Made());
    const CliRun run = folder.RunCheck();
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Lines texts = WithoutStamps(run.lines);
    EXPECT_TRUE(Contains(texts,
                         "The nickname \"evil@alice\" cannot name a vendor account host (only "
                         "letters, digits and hyphens can); the account is skipped."))
        << ::testing::PrintToString(texts);
    EXPECT_GE(simulator.SignOuts().at("alice"), 1);
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"alice"), 2);
}

}  // namespace
}  // namespace qv::test
