// account.ini read again while the reader runs: which nodes stay (with their
// ON/OFF state and recent list), which are new and which leave the list, and
// when the file counts as changed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AccountFileWatch.h"
#include "LoadAccounts.h"
#include "TestFiles.h"

namespace qv {
namespace {

// A list from decoded lines, as LoadAccounts makes it.
void Fill(AccountList& list, const std::vector<std::wstring>& lines) {
    for (const std::wstring& line : lines) AddAccountLine(list, line);
}

std::vector<std::wstring> Names(const AccountList& list) {
    std::vector<std::wstring> names;
    for (const CMyObject* node = list.Head(); node != nullptr; node = node->m_pNext) {
        names.emplace_back(node->Name());
    }
    return names;
}

CMyObject* Find(AccountList& list, const std::wstring& name) {
    for (CMyObject* node = list.Head(); node != nullptr; node = node->m_pNext) {
        if (node->Name() == name) return node;
    }
    return nullptr;
}

TEST(AccountReloadTest, KeptNodesKeepTheirStateNewOnesAreOnAndGoneOnesLeave) {
    AccountList list;
    Fill(list, {L"Shop.mdb;pw;x;alice;a;x;bob;b;x;", L"Outlet.mdb;o;x;dave;d;x;"});
    CMyObject* alice = Find(list, L"alice");
    CMyObject* dave = Find(list, L"dave");
    CMyObject* bob = Find(list, L"bob");
    ASSERT_TRUE(alice && dave && bob);
    alice->m_bChecked = 0;
    Find(list, L"Outlet")->m_bChecked = 0;
    dave->m_bChecked = 0;

    // bob goes, carol comes, alice's password changes, a group is added first.
    AccountList fresh;
    Fill(fresh, {L"New.mdb;n;x;erin;e;x;", L"Shop.mdb;pw;x;alice;a2;x;carol;c;x;",
                 L"Outlet.mdb;o;x;dave;d;x;"});
    ASSERT_TRUE(MergeAccounts(list, fresh));

    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"New", L"erin", L"Shop", L"alice", L"carol",
                                                      L"Outlet", L"dave"}));
    EXPECT_EQ(list.Size(), 7u);
    EXPECT_EQ(Find(list, L"alice"), alice) << "the same node";
    EXPECT_EQ(alice->m_bChecked, 0);
    EXPECT_EQ(alice->m_strPassword, L"a2");
    EXPECT_EQ(Find(list, L"dave"), dave);
    EXPECT_EQ(dave->m_bChecked, 0);
    EXPECT_EQ(Find(list, L"Outlet")->m_bChecked, 0);
    EXPECT_EQ(Find(list, L"carol")->m_bChecked, 1);
    EXPECT_EQ(Find(list, L"carol")->m_pParent, Find(list, L"Shop"));
    EXPECT_EQ(Find(list, L"erin")->m_pParent, Find(list, L"New"));
    EXPECT_EQ(Find(list, L"erin")->m_strDbFile, L"New.mdb");
    EXPECT_EQ(list.Head()->m_pPrev, nullptr);
    EXPECT_EQ(list.Tail(), dave);
    // bob is out of the list but still a valid node for whoever holds it.
    EXPECT_EQ(Find(list, L"bob"), nullptr);
    EXPECT_EQ(bob->m_strNickname, L"bob");
    EXPECT_EQ(bob->m_pNext, nullptr);
}

TEST(AccountReloadTest, TheSameFileChangesNothingAndAMovedAccountIsANewOne) {
    AccountList list;
    Fill(list, {L"Shop.mdb;pw;x;alice;a;x;", L"Outlet.mdb;o;x;dave;d;x;"});
    CMyObject* alice = Find(list, L"alice");
    alice->m_bChecked = 0;

    AccountList same;
    Fill(same, {L"Shop.mdb;pw;x;alice;a;x;", L"Outlet.mdb;o;x;dave;d;x;"});
    EXPECT_FALSE(MergeAccounts(list, same));
    EXPECT_EQ(Find(list, L"alice"), alice);

    // alice now in the other group (another database): her rows are elsewhere.
    AccountList moved;
    Fill(moved, {L"Shop.mdb;pw;x;", L"Outlet.mdb;o;x;dave;d;x;alice;a;x;"});
    EXPECT_TRUE(MergeAccounts(list, moved));
    CMyObject* movedAlice = Find(list, L"alice");
    ASSERT_NE(movedAlice, nullptr);
    EXPECT_NE(movedAlice, alice);
    EXPECT_EQ(movedAlice->m_bChecked, 1);
    EXPECT_EQ(movedAlice->m_strDbFile, L"Outlet.mdb");

    AccountList empty;
    EXPECT_TRUE(MergeAccounts(list, empty));
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Head(), nullptr);
}

TEST(AccountFileWatchTest, AChangeCountsOnceTheFileReadsTheSameTwice) {
    test::TempFolder folder;
    folder.WriteFile(L"account.ini", "one\n");
    AccountFileWatch watch(folder.FolderText() + L"account.ini");
    watch.Accept();
    EXPECT_FALSE(watch.Poll());

    folder.WriteFile(L"account.ini", "one\ntw");  // caught half-written
    EXPECT_FALSE(watch.Poll());
    folder.WriteFile(L"account.ini", "one\ntwo\n");
    EXPECT_FALSE(watch.Poll());
    EXPECT_TRUE(watch.Poll());
    EXPECT_TRUE(watch.Poll()) << "until it is accepted";
    watch.Accept();
    EXPECT_FALSE(watch.Poll());

    // Back to what it held at first: a change from the accepted content all the same.
    folder.WriteFile(L"account.ini", "one\n");
    EXPECT_FALSE(watch.Poll());
    EXPECT_TRUE(watch.Poll());
}

}  // namespace
}  // namespace qv
