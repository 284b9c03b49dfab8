// A check as the user runs it in the window: QVReader.exe under Wine in a
// program folder made by the sibling stand-in, one account switched off in
// the tree with the mouse, Now clicked, against the simulator; the log list
// box read back, the rows read from the databases natively.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "EndToEnd.h"

namespace qv::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kSeparator =
    "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -";

// Two groups, three accounts; bob's password is refused. Tree rows: 0 Shop,
// 1 alice, 2 bob, 3 Outlet, 4 dave.
const char kSimulator[] =
    "[account alice]\npassword = a\ntransactions = 6\ndays = 30\n\n"
    "[account bob]\npassword = b\ntransactions = 2\nfailure = refuse-password\n\n"
    "[account dave]\npassword = d\ntransactions = 5\ndays = 40\n";
const char kDescription[] =
    "group Shop.mdb shop\naccount alice a\naccount bob b\n"
    "group Outlet.mdb outlet\naccount dave d\n";

// The driver's lines of one kind, without the kind.
Lines Facts(const CliRun& run, const std::string& kind) {
    Lines facts;
    for (const std::string& line : run.lines) {
        if (line.rfind(kind + "\t", 0) == 0) facts.push_back(line.substr(kind.size() + 1));
    }
    return facts;
}

std::string Artifacts() {
    const char* folder = std::getenv("QV_ARTIFACTS");
    return folder ? folder : ".";
}

TEST(WindowCheckEndToEnd, AccountSwitchedOffIsLeftOutAndTheOthersAreImported) {
    Simulator simulator(kSimulator);
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder(kDescription, simulator);
    ASSERT_TRUE(folder.Made());

    const CliRun run = folder.RunWindowDriver(Artifacts(), "--off 1");
    ASSERT_EQ(run.exitCode, 0) << run.errors << "\n" << Facts(run, "error").size();
    EXPECT_EQ(Facts(run, "error"), Lines{});
    EXPECT_EQ(Facts(run, "exit-during-check"), Lines{"running"});
    EXPECT_EQ(Facts(run, "exit"), Lines{"-1"});

    // The list box shows the newest line first; read in the order of events.
    Lines texts = WithoutStamps(Facts(run, "log"));
    std::reverse(texts.begin(), texts.end());
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts.front(), "Start manual check of data.");
    EXPECT_EQ(texts[texts.size() - 2], "Finish manual check of data.");
    EXPECT_EQ(texts.back(), kSeparator);
    EXPECT_EQ(LinesOf(texts, "alice"), Lines{}) << "alice was switched off";
    EXPECT_EQ(LinesOf(texts, "bob"), (Lines{"[bob] Login attempt.", "[bob] Login failed."}));
    EXPECT_EQ(LinesOf(texts, "dave"), (Lines{"[dave] Login attempt.", "[dave] Login succeed.",
                                             "[dave] Find out 5 new items.", "[dave] Log out."}));
    // bob's lines come before dave's: the tree's order.
    const auto bob = std::find(texts.begin(), texts.end(), "[bob] Login attempt.");
    const auto dave = std::find(texts.begin(), texts.end(), "[dave] Login attempt.");
    EXPECT_LT(bob, dave);

    EXPECT_EQ(folder.StoredRows(L"Shop.mdb", L"shop", L"alice"), 0);
    EXPECT_EQ(folder.StoredRows(L"Outlet.mdb", L"outlet", L"dave"), 5);

    const auto lastLogin = folder.SettingsSection("Last Login");
    EXPECT_EQ(lastLogin.size(), 6u);
    EXPECT_EQ(folder.SettingsSection("General Settings")["Time"], "1");
}

// No period chosen (a "Time" outside the list): every tick after the last
// check's end is due, so automatic checks follow each other until Auto is
// switched off.
TEST(WindowCheckEndToEnd, AutoChecksByItselfUntilSwitchedOff) {
    Simulator simulator("[account dave]\npassword = d\ntransactions = 2\ndays = 10\n");
    ASSERT_TRUE(simulator.Running());
    ProgramFolder folder("group Outlet.mdb outlet\naccount dave d\n", simulator);
    ASSERT_TRUE(folder.Made());
    std::ofstream(folder.Path() + "/QVSetting.ini")
        << "[General Settings]\nRun=0\nTime=-1\nTimeout=0\n[Exit settings]\nTray=1\n"
           "[Update Settings]\nAutomaticly update=0\n"
           "[Last Login]\ny=2009\nmo=3\nd=7\nh=10\nmi=0\ns=0\n";

    const CliRun run = folder.RunWindowDriver(Artifacts(), "--auto");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Facts(run, "error"), Lines{});
    EXPECT_EQ(Facts(run, "auto-face-on"), Lines{"changed"});
    EXPECT_EQ(Facts(run, "auto-face-off"), Lines{"restored"});

    const Lines texts = WithoutStamps(Facts(run, "log"));
    const auto starts = std::count(texts.begin(), texts.end(), "Start auto check of data.");
    EXPECT_GE(starts, 2);
    EXPECT_EQ(Facts(run, "starts-at-off"), Lines{std::to_string(starts)})
        << "a check started after Auto was switched off";
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], kSeparator);
    EXPECT_EQ(texts[1], "Finish auto check of data.");
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Finish auto check of data."), starts);
    EXPECT_EQ(folder.StoredRows(L"Outlet.mdb", L"outlet", L"dave"), 2);
    EXPECT_EQ(Facts(run, "exit"), Lines{"-1"});
}

}  // namespace
}  // namespace qv::test
