// The account page of the reader's main window in the test's own process:
// the tree shows account.ini, and shows it again when the sibling program
// changes the file while no check runs; what a check's session shows
// reaches the main window's balloon.

#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AccountFileWriter.h"
#include "InProcessReader.h"
#include "Win32UiDispatcher.h"
#include "resource.h"

namespace qv::wine {
namespace {

using namespace std::chrono_literals;

void WriteAccounts(const TempFolder& folder, const std::vector<DatabaseGroup>& groups) {
    std::ofstream(std::filesystem::path(folder.File(L"account.ini")), std::ios::binary)
        << AccountFileBytes(groups);
}

const DatabaseGroup kShop{L"Shop.mdb", L"s", {{L"alice", L"a"}, {L"bob", L"b"}}};

class AccountPageTest : public testing::Test {
protected:
    void SetUp() override {
        WriteAccounts(reader.Folder(), {kShop});
        ASSERT_TRUE(reader.Create());
        Pump(300ms);
    }

    static bool Pump(
        std::chrono::milliseconds time, const std::function<bool()>& done = [] { return false; }) {
        return win::Win32UiDispatcher::PumpUntil(done, time);
    }

    HWND Tree() {
        return ::GetDlgItem(::GetDlgItem(reader.Main().Handle(), IDD_QVLIVE_ACCOUNT),
                            IDC_ACCOUNT_TREE);
    }

    // The texts of the tree's items, in order, groups and their accounts.
    std::vector<std::wstring> TreeTexts() {
        std::vector<std::wstring> texts;
        for (HTREEITEM group = TreeView_GetRoot(Tree()); group != nullptr;
             group = TreeView_GetNextSibling(Tree(), group)) {
            texts.push_back(Text(group));
            for (HTREEITEM child = TreeView_GetChild(Tree(), group); child != nullptr;
                 child = TreeView_GetNextSibling(Tree(), child)) {
                texts.push_back(L"  " + Text(child));
            }
        }
        return texts;
    }

    std::wstring Text(HTREEITEM item) {
        wchar_t text[260] = {};
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = text;
        data.cchTextMax = 260;
        TreeView_GetItem(Tree(), &data);
        return text;
    }

    CMyObject* Node(const std::wstring& name) {
        for (CMyObject* node = reader.Main().AccountPage().Check()->Accounts().Head();
             node != nullptr; node = node->m_pNext) {
            if (node->Name() == name) return node;
        }
        return nullptr;
    }

    InProcessReader reader;
};

TEST_F(AccountPageTest, AChangedAccountFileShowsInTheTreeAndKeepsTheSwitches) {
    ASSERT_EQ(TreeTexts(), (std::vector<std::wstring>{L"Shop", L"  alice", L"  bob"}));
    Node(L"alice")->m_bChecked = 0;

    WriteAccounts(
        reader.Folder(),
        {DatabaseGroup{L"Shop.mdb", L"s", {{L"alice", L"a"}, {L"bob", L"b"}, {L"carol", L"c"}}},
         DatabaseGroup{L"Outlet.mdb", L"o", {{L"dave", L"d"}}}});
    const std::vector<std::wstring> expected = {L"Shop",    L"  alice", L"  bob",
                                                L"  carol", L"Outlet",  L"  dave"};
    EXPECT_TRUE(Pump(10s, [&] { return TreeTexts() == expected; }));
    EXPECT_EQ(TreeTexts(), expected);
    EXPECT_EQ(Node(L"alice")->m_bChecked, 0) << "alice stays off";
    EXPECT_EQ(Node(L"carol")->m_bChecked, 1);
}

TEST_F(AccountPageTest, NoReloadWhileACheckRuns) {
    reader.State().checkState = kCheckManual;
    WriteAccounts(reader.Folder(), {kShop, DatabaseGroup{L"Outlet.mdb", L"o", {{L"dave", L"d"}}}});
    Pump(3s);
    EXPECT_EQ(TreeTexts(), (std::vector<std::wstring>{L"Shop", L"  alice", L"  bob"}));

    reader.State().checkState = kCheckIdle;
    EXPECT_TRUE(Pump(10s, [&] { return TreeTexts().size() == 5; }));
}

TEST_F(AccountPageTest, TheSessionsBalloonReachesTheTray) {
    CMyObject* bob = Node(L"bob");
    ASSERT_NE(bob, nullptr);
    IBrowserSessionView& session = reader.Main().WebPage();
    session.ShowNewItemsBalloon(*bob, 0);
    EXPECT_EQ(reader.Main().BalloonTitle(), L"") << "no balloon for no new item";
    session.ShowNewItemsBalloon(*bob, 3);
    EXPECT_EQ(reader.Main().BalloonTitle(), L"Account: bob");
    EXPECT_EQ(reader.Main().BalloonText(), L"Get 3 new items");
}

}  // namespace
}  // namespace qv::wine
