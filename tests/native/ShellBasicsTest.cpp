// The small rules every part of the reader leans on: where its files are,
// how integer settings are read and written, and the "-A" switch.

#include <gtest/gtest.h>

#include "CommandLine.h"
#include "PortFakes.h"
#include "ProgramPaths.h"
#include "Settings.h"
#include "TimeoutSetting.h"

namespace qv {
namespace {

TEST(TimeoutSetting, IndexChoosesTheMinutesAndAnyOtherLeavesTheValue) {
    const struct {
        int index;
        int currentMs;
        int expectedMs;
    } cases[] = {
        {0, 300000, 120000}, {1, 120000, 180000}, {2, 120000, 300000}, {3, 120000, 600000},
        {-1, 120000, 120000}, {4, 300000, 300000}, {7, 180000, 180000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeoutForIndex(c.index, c.currentMs), c.expectedMs) << "index " << c.index;
    }
}

struct FolderCase {
    const wchar_t* modulePath;
    const wchar_t* folder;
};

TEST(ProgramFolder, CutsAfterTheLastBackslash) {
    const FolderCase cases[] = {
        {L"C:\\Apps\\QVReader.exe", L"C:\\Apps\\"},
        {L"C:\\QVReader.exe", L"C:\\"},
        {L"C:\\My Apps\\v1.2\\QVReader.exe", L"C:\\My Apps\\v1.2\\"},
        {L"\\\\server\\share\\QVReader.exe", L"\\\\server\\share\\"},
        {L"QVReader.exe", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "module path index " << (&c - cases));
        EXPECT_EQ(ProgramFolderOf(c.modulePath), c.folder);
        test::FakeProcessEnvironment process;
        process.modulePath = c.modulePath;
        EXPECT_EQ(GetProgramFolder(process), c.folder);
    }
}

struct PathCase {
    const wchar_t* file;
    const wchar_t* resolved;
};

TEST(SettingsPath, ColonAfterTheFirstCharacterMeansAFullPath) {
    const PathCase cases[] = {
        {L"QVSetting.ini", L"C:\\Apps\\QVSetting.ini"},
        {L"D:\\Other\\QVSetting.ini", L"D:\\Other\\QVSetting.ini"},
        {L"sub\\x.ini", L"C:\\Apps\\sub\\x.ini"},
        {L":x.ini", L"C:\\Apps\\:x.ini"},  // a colon at the very start does not count
        {L"ab:c.ini", L"ab:c.ini"},
        {L"", L"C:\\Apps\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResolveSettingsPath(L"C:\\Apps\\", c.file), c.resolved) << "file index "
                                                                           << (&c - cases);
    }
}

TEST(Settings, MissingKeysReadAsMinusOneAndWritesGoToTheResolvedPath) {
    test::FakeProfileStore store;
    Settings settings(store, L"C:\\Apps\\");

    EXPECT_EQ(settings.ReadSettingInt(L"QVSetting.ini", L"Exit settings", L"Tray"), -1);

    settings.WriteSettingInt(L"QVSetting.ini", L"General Settings", L"Time", -7);
    settings.WriteSettingInt(L"E:\\x.ini", L"S", L"K", 12);
    ASSERT_EQ(store.writes.size(), 2u);
    EXPECT_EQ(store.writes[0], (test::FakeProfileStore::Write{L"C:\\Apps\\QVSetting.ini",
                                                              L"General Settings", L"Time",
                                                              L"-7"}));
    EXPECT_EQ(store.writes[1], (test::FakeProfileStore::Write{L"E:\\x.ini", L"S", L"K", L"12"}));
    EXPECT_EQ(settings.Read(L"General Settings", L"Time"), -7);
}

struct SwitchCase {
    const wchar_t* commandLine;
    bool startHidden;
};

TEST(StartHiddenSwitch, CaseSensitiveAnywhereAfterTheFirstCharacter) {
    const SwitchCase cases[] = {
        {L"C:\\Apps\\QVReader.exe -A", true},
        {L"\"C:\\Apps\\QVReader.exe\" -A", true},
        {L"C:\\Apps\\QVReader.exe -Auto", true},
        {L"C:\\My-Apps\\QVReader.exe", true},  // inside the program's own path
        {L"C:\\Apps\\QVReader.exe -a", false},
        {L"C:\\Apps\\QVReader.exe", false},
        {L"-A", false},  // only at position 0
        {L"-A -A", false},  // the first occurrence decides
        {L"x-A", true},
        {L"", false},
        {L"C:\\Apps\\QVReader.exe - A", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HasStartHiddenSwitch(c.commandLine), c.startHidden)
            << "command line index " << (&c - cases);
    }
}

}  // namespace
}  // namespace qv
