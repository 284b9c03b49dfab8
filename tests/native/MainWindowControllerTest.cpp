// The main window's decisions, driven through its controller with a
// recording view: start-up order, the tray callback, the close button,
// ExitProgram and the page switch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BuiltInPacificZone.h"
#include "MainWindowController.h"
#include "PacificClock.h"
#include "PortFakes.h"

namespace qv {
namespace {

class RecordingView final : public IMainWindowView {
public:
    void ResizeWindow(int w, int h) override {
        calls.push_back(L"resize " + std::to_wstring(w) + L"x" + std::to_wstring(h));
    }
    void SetUpCloseButton() override { calls.push_back(L"close button"); }
    void SetUpTabStrip() override { calls.push_back(L"tab strip"); }
    void SelectTab(int index) override { calls.push_back(L"select tab " + std::to_wstring(index)); }
    void CreatePages() override { calls.push_back(L"create pages"); }
    void LayOutControls() override { calls.push_back(L"lay out"); }
    void SetTitle(const wchar_t* title) override {
        calls.push_back(std::wstring(L"title ") + title);
    }
    void ShowMainWindow(bool visible) override {
        calls.push_back(visible ? L"show window" : L"hide window");
    }
    void ShowPageWindow(Page page, bool visible) override {
        pageVisible[static_cast<int>(page)] = visible;
    }
    void OpenTrayMenu() override { calls.push_back(L"tray menu"); }
    void EndProgram(int code) override { calls.push_back(L"end " + std::to_wstring(code)); }

    std::vector<std::wstring> calls;
    bool pageVisible[kPageCount] = {true, true, true, true};
};

constexpr wchar_t kSettingsPath[] = L"C:\\Apps\\QVSetting.ini";

class MainWindowControllerTest : public testing::Test {
protected:
    MainWindowControllerTest() {
        clock.utcNow = MakeCivilTime(2009, 3, 7, 20, 0, 0);  // noon in California
    }

    test::FakeProfileStore store;
    Settings settings{store, L"C:\\Apps\\"};
    test::FakeFileSystem files;
    test::FakeRegistry registry;
    test::FakeNotifyIcon shell;
    BuiltInPacificZone zone;
    test::FakeClock clock;
    PacificClock pacific{zone, clock};
    ReaderState state;
    RecordingView view;
    MainWindowController controller{
        view, state, MainWindowPorts{settings, files, registry, shell, pacific, clock}};

    void SetTray(const wchar_t* value) {
        store.values[{kSettingsPath, L"Exit settings", L"Tray"}] = value;
    }
    bool IconDeleted() const {
        return !shell.events.empty() &&
               shell.events.back().call == test::FakeNotifyIcon::Call::Delete;
    }
};

TEST_F(MainWindowControllerTest, FirstStartWritesDefaultsThenBuildsTheWindowInOrder) {
    controller.Initialise();

    const std::vector<std::wstring> expectedKeys = {L"General Settings/Run=0",
                                                    L"General Settings/Time=1",
                                                    L"General Settings/Timeout=0",
                                                    L"Exit settings/exit=0",
                                                    L"Exit settings/tray=1",
                                                    L"Update Settings/Automaticly update=1",
                                                    L"Last Login/y=2009",
                                                    L"Last Login/mo=3",
                                                    L"Last Login/d=7",
                                                    L"Last Login/h=12",
                                                    L"Last Login/mi=0",
                                                    L"Last Login/s=0"};
    std::vector<std::wstring> written;
    for (const auto& w : store.writes) {
        EXPECT_EQ(w.path, kSettingsPath);
        written.push_back(w.section + L"/" + w.key + L"=" + w.value);
    }
    EXPECT_EQ(written, expectedKeys);

    EXPECT_EQ((registry.dwords[{L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                                L"WarnOnHTTPSToHTTPRedirect"}]),
              0u);
    const std::vector<std::wstring> expectedCalls = {
        L"resize 480x470", L"close button", L"tab strip", L"select tab 0",
        L"create pages",   L"select tab 0", L"lay out",   L"title Corvane Transactions Reader"};
    EXPECT_EQ(view.calls, expectedCalls);
    ASSERT_EQ(shell.events.size(), 1u);
    EXPECT_EQ(shell.events[0].call, test::FakeNotifyIcon::Call::Add);
    EXPECT_TRUE(view.pageVisible[0]);
    EXPECT_FALSE(view.pageVisible[1]);
    EXPECT_FALSE(view.pageVisible[2]);
    EXPECT_FALSE(view.pageVisible[3]);
}

TEST_F(MainWindowControllerTest, AnExistingSettingsFileIsLeftAlone) {
    files.existing.insert(kSettingsPath);
    controller.Initialise();
    EXPECT_TRUE(store.writes.empty());
}

TEST_F(MainWindowControllerTest, CloseButtonFollowsTheTraySetting) {
    struct Case {
        const wchar_t* tray;  // nullptr: key missing
        int checkState;
        bool hides;
        bool exits;
    };
    const Case cases[] = {
        {nullptr, kCheckIdle, true, false},  // missing reads as -1 and keeps the tray
        {L"1", kCheckIdle, true, false},       {L"-1", kCheckIdle, true, false},
        {L"7", kCheckIdle, true, false},       {L"0", kCheckIdle, false, true},
        {L"0", kCheckAutomatic, false, false},  // never while a check runs
        {L"0", kCheckManual, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        store.values.clear();
        store.writes.clear();
        shell.events.clear();
        view.calls.clear();
        if (c.tray != nullptr) SetTray(c.tray);
        state.checkState = c.checkState;

        controller.OnCloseButton();

        const bool hid = !view.calls.empty() && view.calls[0] == L"hide window";
        EXPECT_EQ(hid, c.hides);
        EXPECT_EQ(IconDeleted(), c.exits);
        EXPECT_EQ(!view.calls.empty() && view.calls.back() == L"end -1", c.exits);
        if (!c.exits) {
            EXPECT_TRUE(store.writes.empty());
        }
    }
}

TEST_F(MainWindowControllerTest, ExitProgramSavesTheIntervalRemovesTheIconAndQuits) {
    state.intervalIndex = 4;
    controller.ExitProgram();
    ASSERT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(store.writes[0],
              (test::FakeProfileStore::Write{kSettingsPath, L"General Settings", L"Time", L"4"}));
    EXPECT_TRUE(IconDeleted());
    EXPECT_EQ(view.calls, std::vector<std::wstring>{L"end -1"});
}

TEST_F(MainWindowControllerTest, ExitProgramIsDroppedWhileACheckRuns) {
    state.checkState = kCheckManual;
    controller.ExitProgram();
    EXPECT_TRUE(store.writes.empty());
    EXPECT_TRUE(shell.events.empty());
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(MainWindowControllerTest, TrayCallbackAnswersOnlyItsOwnIcon) {
    struct Case {
        std::uintptr_t id;
        std::uint32_t mouse;
        const wchar_t* call;  // nullptr: nothing happens
    };
    const Case cases[] = {
        {203, kMouseLeftDoubleClick, L"show window"}, {203, kMouseRightDown, L"tray menu"},
        {203, 0x0201 /* WM_LBUTTONDOWN */, nullptr},  {203, 0x0200 /* WM_MOUSEMOVE */, nullptr},
        {204, kMouseLeftDoubleClick, nullptr},        {0, kMouseRightDown, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        view.calls.clear();
        state.startHidden = 1;
        controller.OnTrayCallback(c.id, c.mouse);
        if (c.call == nullptr) {
            EXPECT_TRUE(view.calls.empty());
        } else {
            EXPECT_EQ(view.calls, std::vector<std::wstring>{c.call});
        }
        // Only showing the window clears the start-hidden flag.
        const bool shown = c.call != nullptr && std::wstring_view(c.call) == L"show window";
        EXPECT_EQ(state.startHidden, shown ? 0 : 1);
    }
}

TEST_F(MainWindowControllerTest, StartHiddenKeepsPaintsHidingUntilShown) {
    state.startHidden = 1;
    EXPECT_TRUE(controller.HideOnPaint());
    controller.OnShowCommand();
    EXPECT_FALSE(controller.HideOnPaint());
    EXPECT_EQ(view.calls, std::vector<std::wstring>{L"show window"});
}

TEST_F(MainWindowControllerTest, ShowPageShowsOneAndIgnoresUnknownIndexes) {
    for (int index = 0; index < kPageCount; ++index) {
        view.calls.clear();
        controller.ShowPage(index);
        EXPECT_EQ(view.calls, std::vector<std::wstring>{L"select tab " + std::to_wstring(index)});
        for (int page = 0; page < kPageCount; ++page) {
            EXPECT_EQ(view.pageVisible[page], page == index) << index << "/" << page;
        }
    }
    controller.ShowPage(1);
    view.calls.clear();
    for (int index : {-1, 4, 100}) {
        controller.ShowPage(index);
        EXPECT_TRUE(view.calls.empty()) << index;
        EXPECT_TRUE(view.pageVisible[1]);
        EXPECT_FALSE(view.pageVisible[0]);
        EXPECT_EQ(controller.CurrentPage(), 1);
    }
}

}  // namespace
}  // namespace qv
