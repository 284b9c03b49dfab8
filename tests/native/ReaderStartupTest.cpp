// Start-up of the reader: the sibling check, the single-instance mutex and
// the start-hidden switch, in that order.

#include <gtest/gtest.h>

#include "FirstStart.h"
#include "PortFakes.h"
#include "ReaderStartup.h"

namespace qv {
namespace {

class ReaderStartupTest : public testing::Test {
protected:
    test::FakeProcessEnvironment process;
    test::FakeFileSystem files;
    test::FakeMessageBox messages;
    test::FakeNamedMutex mutex;
    ReaderState state;
    int mainWindowRuns = 0;

    StartupOutcome Run() {
        return RunReaderStartup(StartupPorts{process, files, messages, mutex}, state,
                                [this] { ++mainWindowRuns; });
    }
};

TEST_F(ReaderStartupTest, MissingSiblingWarnsAndStartsAnyway) {
    EXPECT_EQ(Run(), StartupOutcome::MainWindowRan);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, L"File error! Please reinstall Corvane!");
    EXPECT_EQ(messages.shown[0].caption, L"Corvane");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(mainWindowRuns, 1);
}

TEST_F(ReaderStartupTest, SiblingIsLookedForBesideTheProgram) {
    process.modulePath = L"D:\\Tools\\Corvane\\QVReader.exe";
    files.existing.insert(L"D:\\Tools\\Corvane\\Corvane.exe");
    Run();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(mutex.names, std::vector<std::wstring>{L"XXXXXX_QVLIVE_TRANSACTION_READER"});
}

TEST_F(ReaderStartupTest, SecondReaderEndsSilentlyBeforeReadingItsSwitch) {
    files.existing.insert(L"C:\\Apps\\Corvane.exe");
    process.commandLine = L"C:\\Apps\\QVReader.exe -A";
    mutex.result = MutexResult::AlreadyExisted;
    EXPECT_EQ(Run(), StartupOutcome::AnotherReaderRunning);
    EXPECT_EQ(mainWindowRuns, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.startHidden, 0);
}

TEST_F(ReaderStartupTest, SwitchSetsTheStartHiddenFlag) {
    struct Case {
        const wchar_t* commandLine;
        MutexResult mutexResult;
        int startHidden;
    };
    const Case cases[] = {
        {L"C:\\Apps\\QVReader.exe -A", MutexResult::Created, 1},
        {L"C:\\Apps\\QVReader.exe", MutexResult::Created, 0},
        // A mutex that cannot be made at all does not keep the reader from running.
        {L"C:\\Apps\\QVReader.exe -A", MutexResult::Failed, 1},
    };
    for (const auto& c : cases) {
        state = ReaderState{};
        mainWindowRuns = 0;
        process.commandLine = c.commandLine;
        mutex.result = c.mutexResult;
        EXPECT_EQ(Run(), StartupOutcome::MainWindowRan);
        EXPECT_EQ(state.startHidden, c.startHidden);
        EXPECT_EQ(mainWindowRuns, 1);
    }
}

TEST(LastLoginSeed, UnconvertibleTimesGiveTheFallbackFields) {
    test::FakeClock clock;
    const auto fallback = LastLoginSeed(0, clock);
    EXPECT_EQ((std::vector<int>{fallback.y, fallback.mo, fallback.d, fallback.h, fallback.mi,
                                fallback.s}),
              (std::vector<int>{0, 0, 0, -1, -1, -1}));

    // 2009-03-07 12:34:56 read in the machine's zone.
    const auto seed = LastLoginSeed(1236429296, clock);
    EXPECT_EQ((std::vector<int>{seed.y, seed.mo, seed.d, seed.h, seed.mi, seed.s}),
              (std::vector<int>{2009, 3, 7, 12, 34, 56}));
}

}  // namespace
}  // namespace qv
