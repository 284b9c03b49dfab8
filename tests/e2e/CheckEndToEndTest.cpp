// Checks as the user runs them: qvreader-cli against the simulator, with the
// real engine over HTTPS, the real databases through ODBC.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "EndToEnd.h"

namespace qv::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kNotice[] = {
    "It will take several minutes because ",
    "                                          of too much data. Please wait patiently or ",
    "                                          choose the \"Manual Import Data\"."};
const std::string kSeparator =
    "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -";

// The lines of one account that signs in, imports `found` rows and signs out.
Lines AccountLines(const std::string& nick, int found, bool notice = false) {
    const std::string tag = "[" + nick + "] ";
    Lines lines = {tag + "Login attempt.", tag + "Login succeed."};
    if (notice) {
        lines.push_back(tag + kNotice[0]);
        lines.push_back(kNotice[1]);
        lines.push_back(kNotice[2]);
    }
    lines.push_back(found ? tag + "Find out " + std::to_string(found) + " new items."
                          : tag + "No new item found.");
    lines.push_back(tag + "Log out.");
    return lines;
}

Lines ManualCheck(const std::vector<Lines>& accounts) {
    Lines lines = {"Start manual check of data."};
    for (const Lines& account : accounts) lines.insert(lines.end(), account.begin(), account.end());
    lines.push_back("Finish manual check of data.");
    lines.push_back(kSeparator);
    return lines;
}

const char kSimulator[] =
    "[account alice]\npassword = open sesame\ntransactions = 1200\ndays = 60\n\n"
    "[account bob]\npassword = it's \"b>b\" & <more>\ntransactions = 3\ndays = 20\n\n"
    "[account dave]\npassword = dave\ntransactions = 5\ndays = 100\n";
const char kDescription[] =
    "group Shop.mdb \"shop db\"\n"
    "account alice \"open sesame\"\n"
    "account bob \"it's \\\"b>b\\\" & <more>\"\n"
    "group Outlet.mdb outlet\n"
    "account dave dave\n";

TEST(ManualCheckEndToEnd, ImportsEveryTransactionOnceThenOnlyTheNewOnes) {
    Simulator simulator(kSimulator);
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder(kDescription, simulator);
    ASSERT_TRUE(folder.Made());
    const auto held = simulator.RowsPerAccount();
    ASSERT_EQ(held.at("alice"), 1200);
    // dave's rows go back 100 days; the first check asks for the last 90.

    const CliRun first = folder.RunCheck();
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    const Lines firstTexts = WithoutStamps(first.lines);
    const int daveFound = folder.StoredRows(L"Outlet.mdb", L"outlet", L"dave");
    ASSERT_GT(daveFound, 0);
    ASSERT_LE(daveFound, held.at("dave"));
    EXPECT_EQ(firstTexts, ManualCheck({AccountLines("alice", 1200, true), AccountLines("bob", 3),
                                       AccountLines("dave", daveFound)}));
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"shop db", L"alice"), 1200);
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"shop db", L"bob"), 3);

    // "Last Login" holds the local time the check ended.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const auto lastLogin = folder.SettingsSection("Last Login");
    ASSERT_EQ(lastLogin.count("y"), 1u);
    EXPECT_EQ(lastLogin.at("y"), std::to_string(local.tm_year + 1900));
    EXPECT_EQ(lastLogin.at("mo"), std::to_string(local.tm_mon + 1));
    EXPECT_EQ(lastLogin.at("d"), std::to_string(local.tm_mday));

    const CliRun second = folder.RunCheck("now");
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    EXPECT_EQ(
        WithoutStamps(second.lines),
        ManualCheck({AccountLines("alice", 0), AccountLines("bob", 0), AccountLines("dave", 0)}));
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"shop db", L"alice"), 1200);

    ASSERT_TRUE(simulator.AddTransactions("bob", 4));
    ASSERT_TRUE(simulator.AddTransactions("dave", 2));
    const CliRun third = folder.RunCheck();
    ASSERT_EQ(third.exitCode, 0) << third.errors;
    EXPECT_EQ(
        WithoutStamps(third.lines),
        ManualCheck({AccountLines("alice", 0), AccountLines("bob", 4), AccountLines("dave", 2)}));
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"shop db", L"bob"), 7);
    EXPECT_EQ(folder.StoredRows(L"Outlet.mdb", L"outlet", L"dave"), daveFound + 2);
}

TEST(ManualCheckEndToEnd, EachFailureEndsItsAccountAndTheOthersAreImported) {
    Simulator simulator(
        "[account refused]\npassword = r\ntransactions = 2\nfailure = refuse-password\n\n"
        "[account slow]\npassword = s\ntransactions = 2\nfailure = slow\nfailure-param = 6000\n\n"
        "[account okay]\npassword = o\ntransactions = 3\n\n"
        "[account noline]\npassword = n\ntransactions = 4\nfailure = no-line\n\n"
        "[account away]\npassword = a\ntransactions = 2\nfailure = redirect-after-login\n\n"
        "[account gone]\npassword = g\ntransactions = 2\nfailure = redirect-after-logout\n\n"
        "[account dropped]\npassword = d\ntransactions = 2\nfailure = drop-connection\n\n"
        "[account broken]\npassword = b\ntransactions = 2\nfailure = http-error\n"
        "failure-param = 500\n\n"
        "[account fine]\npassword = f\ntransactions = 2\n\n"
        "[account nocount]\npassword = c\ntransactions = 2\nfailure = no-divbody\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder(
        "group Shop.mdb x\n"
        "account refused r\naccount slow s\naccount okay o\naccount noline n\n"
        "account away a\naccount gone g\naccount dropped d\naccount broken b\n"
        "account fine f\naccount nocount c\n",
        simulator);
    ASSERT_TRUE(folder.Made());

    const CliRun run = folder.RunCheck("--timeout 3");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Lines texts = WithoutStamps(run.lines);
    auto rows = [&](const wchar_t* nick) { return folder.StoredRows(L"Shop.mdb", L"x", nick); };

    EXPECT_EQ(LinesOf(texts, "refused"),
              (Lines{"[refused] Login attempt.", "[refused] Login failed."}));
    // Signed in on the marketplace: signed out after the time-out.
    EXPECT_EQ(LinesOf(texts, "slow"),
              (Lines{"[slow] Login attempt.", "[slow] Connection timed out.", "[slow] Log out."}));
    EXPECT_EQ(LinesOf(texts, "okay"), AccountLines("okay", 3));
    EXPECT_EQ(rows(L"okay"), 3);
    // A report without its table is not "nothing new": it says so.
    EXPECT_EQ(LinesOf(texts, "noline"),
              (Lines{"[noline] Login attempt.", "[noline] Login succeed.",
                     "[noline] The report could not be read: page 1 holds 0 of its 4 items. 0 "
                     "new items were stored.",
                     "[noline] Log out."}));
    EXPECT_EQ(rows(L"noline"), 0);
    // Signed in but sent elsewhere: the report never comes.
    EXPECT_EQ(LinesOf(texts, "away"),
              (Lines{"[away] Login attempt.", "[away] Connection timed out.", "[away] Log out."}));
    // Imported, but the sign-out never shows the sign-in page.
    EXPECT_EQ(LinesOf(texts, "gone"),
              (Lines{"[gone] Login attempt.", "[gone] Login succeed.",
                     "[gone] Find out 2 new items.", "[gone] Connection timed out."}));
    EXPECT_EQ(rows(L"gone"), 2);
    EXPECT_EQ(LinesOf(texts, "dropped"),
              (Lines{"[dropped] Login attempt.",
                     "[dropped] Connection failed: the connection broke off before the page was "
                     "complete.",
                     "[dropped] Log out."}));
    EXPECT_EQ(LinesOf(texts, "broken"),
              (Lines{"[broken] Login attempt.",
                     "[broken] Connection failed: the server answered with error 500.",
                     "[broken] Log out."}));
    EXPECT_EQ(rows(L"dropped"), 0);
    EXPECT_EQ(LinesOf(texts, "fine"), AccountLines("fine", 2));
    EXPECT_EQ(rows(L"fine"), 2);
    // A report without its count ends its own account.
    EXPECT_EQ(LinesOf(texts, "nocount"),
              (Lines{"[nocount] Login attempt.",
                     "[nocount] The report holds no item count; the account is skipped.",
                     "[nocount] Log out."}));
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2], "Finish manual check of data.");
    EXPECT_EQ(texts.back(), kSeparator);
}

// "Last Login" long past, so the first tick of the automatic clock starts a
// check; the next one would wait ten minutes.
void WriteSettings(const ProgramFolder& folder, int interval) {
    std::ofstream(folder.Path() + "/QVSetting.ini")
        << "[General Settings]\nRun=0\nTime=" << interval
        << "\nTimeout=0\n[Last Login]\ny=2009\nmo=3\nd=7\nh=10\nmi=0\ns=0\n";
}

TEST(AutomaticChecksEndToEnd, StartWhenThePeriodHasPassedAndEndOnInterrupt) {
    Simulator simulator("[account solo]\npassword = p\ntransactions = 4\ndays = 10\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount solo p\n", simulator);
    ASSERT_TRUE(folder.Made());
    WriteSettings(folder, 0);

    const CliRun run = folder.RunUntilThenInterrupt("auto", "Finish auto check of data.", 60);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    Lines expected = {"Start auto check of data."};
    for (const std::string& line : AccountLines("solo", 4)) expected.push_back(line);
    expected.push_back("Finish auto check of data.");
    expected.push_back(kSeparator);
    // One check only: the interval of ten minutes starts from its end.
    EXPECT_EQ(WithoutStamps(run.lines), expected);
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"solo"), 4);
    EXPECT_NE(folder.SettingsSection("Last Login").at("y"), "2009");
}

TEST(ManualCheckEndToEnd, AnInterruptFinishesTheCheckAsItsStopButtonDoes) {
    Simulator simulator(
        "[account slow]\npassword = s\ntransactions = 2\nfailure = slow\n"
        "failure-param = 30000\n\n"
        "[account later]\npassword = l\ntransactions = 2\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Shop.mdb x\naccount slow s\naccount later l\n", simulator);
    ASSERT_TRUE(folder.Made());
    WriteSettings(folder, 1);

    const CliRun run = folder.RunUntilThenInterrupt("now", "[slow] Login attempt.", 30);
    EXPECT_EQ(run.exitCode, 130) << run.errors;
    EXPECT_EQ(WithoutStamps(run.lines),
              (Lines{"Start manual check of data.", "[slow] Login attempt.",
                     "Finish manual check of data.", kSeparator}));
    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"x", L"later"), 0);
    EXPECT_NE(folder.SettingsSection("Last Login").at("y"), "2009");
}

TEST(ConsoleProgram, TellsWhyItCannotRun) {
    Simulator simulator("[account solo]\npassword = p\ntransactions = 1\n");
    ASSERT_TRUE(simulator.Running());
    struct Case {
        const char* description;
        const char* complaint;
    };
    for (const Case& c :
         {Case{"", "no account in"}, Case{"group Shop.mdb x\n", "no account is switched on in"}}) {
        ProgramFolder folder(c.description, simulator);
        ASSERT_TRUE(folder.Made());
        const CliRun run = folder.RunCheck();
        EXPECT_EQ(run.exitCode, 1) << c.description;
        EXPECT_TRUE(run.lines.empty()) << c.description;
        EXPECT_NE(run.errors.find(c.complaint), std::string::npos) << run.errors;
    }

    ProgramFolder folder("group Shop.mdb x\naccount solo p\n", simulator);
    ASSERT_TRUE(folder.Made());
    const CliRun wrong = folder.RunCheck("--interval 9");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.errors.find("usage:"), std::string::npos) << wrong.errors;
}

}  // namespace
}  // namespace qv::test
