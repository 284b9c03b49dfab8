// The account list as LoadAccounts builds it from account.ini: the field
// split, the triples, the group names and the edge lines of the file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AccountFileWriter.h"
#include "LoadAccounts.h"
#include "TestFiles.h"
#include "TextConvert.h"

namespace qv {
namespace {

struct Node {
    int kind;
    std::wstring name;
    std::wstring dbFile;
    std::wstring dbPassword;
    std::wstring nickname;  // accounts only
    std::wstring password;  // accounts only
};

Node Group(std::wstring name, std::wstring dbFile = L"", std::wstring dbPassword = L"") {
    return {kGroupNode, std::move(name), std::move(dbFile), std::move(dbPassword), L"", L""};
}

// An account of the group listed last before it.
Node Account(std::wstring nickname, std::wstring password, const Node& group) {
    return {kAccountNode, nickname, group.dbFile, group.dbPassword, nickname, password};
}

// Compares the whole list with the expected nodes, links and parents included.
void ExpectList(const AccountList& list, const std::vector<Node>& expected) {
    ASSERT_EQ(list.Size(), expected.size());
    const CMyObject* previous = nullptr;
    const CMyObject* group = nullptr;
    const CMyObject* node = list.Head();
    for (std::size_t i = 0; i < expected.size(); ++i, node = node->m_pNext) {
        SCOPED_TRACE("node " + std::to_string(i));
        ASSERT_NE(node, nullptr);
        const Node& want = expected[i];
        EXPECT_EQ(node->m_pPrev, previous);
        EXPECT_EQ(node->m_nKind, want.kind);
        EXPECT_EQ(node->m_nImage, want.kind == kGroupNode ? 0 : 1);
        EXPECT_EQ(std::wstring(node->Name()), want.name);
        EXPECT_EQ(node->m_strDbFile, want.dbFile);
        EXPECT_EQ(node->m_strDbPassword, want.dbPassword);
        EXPECT_EQ(node->m_strNickname, want.nickname);
        EXPECT_EQ(node->m_strPassword, want.password);
        EXPECT_EQ(node->m_bChecked, 1);
        EXPECT_EQ(node->m_nCheckOffset, 20);
        if (want.kind == kGroupNode) {
            EXPECT_EQ(node->m_pParent, nullptr);
            group = node;
        } else {
            EXPECT_EQ(node->m_pParent, group);
        }
        previous = node;
    }
    EXPECT_EQ(node, nullptr);
    EXPECT_EQ(list.Tail(), previous);
}

// account.ini with one Base64 line per decoded text, each ended by CRLF.
std::string AccountFile(const std::vector<std::string>& decodedLines) {
    std::string file;
    for (const std::string& line : decodedLines) file += EncodeBase64(line) + "\r\n";
    return file;
}

std::string RepeatedName(std::size_t length) {
    return std::string(length, 'n');
}

struct LineCase {
    const char* name;
    std::vector<std::string> decodedLines;  // Windows-1252 bytes
    std::vector<Node> nodes;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class AccountLines : public testing::TestWithParam<LineCase> {};

TEST_P(AccountLines, GiveTheirNodes) {
    test::TempFolder folder;
    folder.WriteFile(L"account.ini", AccountFile(GetParam().decodedLines));
    AccountList list;
    LoadAccounts(folder.FolderText(), list);
    ExpectList(list, GetParam().nodes);
}

const Node kShop = Group(L"Shop", L"Shop.mdb", L"db pw");
const Node kOutlet = Group(L"Outlet");

INSTANTIATE_TEST_SUITE_P(
    Edges, AccountLines,
    testing::Values(
        LineCase{"GroupWithTwoAccounts",
                 {"Shop.mdb;db pw;x;alice;a1;y;bob;b2;z;"},
                 {kShop, Account(L"alice", L"a1", kShop), Account(L"bob", L"b2", kShop)}},
        LineCase{"ThreeFieldsGiveAGroupAlone", {"A.mdb;pw;x;"}, {Group(L"A", L"A.mdb", L"pw")}},
        LineCase{"UnendedThirdFieldIsDropped",
                 {"Shop.mdb;db pw;;alice;a1;third"},
                 {kShop, Account(L"alice", L"a1", kShop)}},
        LineCase{"NicknameWithoutPasswordIsSkipped",
                 {"Shop.mdb;db pw;;alice;a1;;bob;"},
                 {kShop, Account(L"alice", L"a1", kShop)}},
        LineCase{"UnendedPasswordIsNoField", {"Shop.mdb;db pw;;alice;a1"}, {kShop}},
        LineCase{"DatabaseFileWithoutPasswordGivesNothing", {"Shop.mdb;", "Outlet;"}, {kOutlet}},
        LineCase{"NameWithoutExtensionHasNoDatabase",
                 {"Outlet;unused pw;;carol;c3;;"},
                 {kOutlet, Account(L"carol", L"c3", kOutlet)}},
        LineCase{"NameOfOneField", {"Outlet;"}, {kOutlet}},
        LineCase{"ExtensionAtTheStartIsTheWholeName",
                 {".mdb;pw;;dan;d4;;"},
                 {Group(L".mdb"), Account(L"dan", L"d4", Group(L".mdb"))}},
        LineCase{
            "FirstExtensionEndsTheName", {"a.mdb.mdb;pw;;"}, {Group(L"a", L"a.mdb.mdb", L"pw")}},
        LineCase{"ExtensionInAnyCase",
                 {"Shop.MDB;pw;;", "Outlet.mDb;;;"},
                 {Group(L"Shop", L"Shop.MDB", L"pw"), Group(L"Outlet", L"Outlet.mDb", L"")}},
        LineCase{"ExtensionInAnyCaseAtTheStartIsTheWholeName", {".MDB;pw;;"}, {Group(L".MDB")}},
        LineCase{"NoSemicolonNoNode", {"no fields here", ""}, {}},
        LineCase{"EmptyFields", {";;;;;;"}, {Group(L""), Account(L"", L"", Group(L""))}},
        LineCase{"ZeroByteEndsTheText", {std::string("Shop.mdb;db pw;;al\0ice;a1;;", 27)}, {kShop}},
        LineCase{"AnsiTextIsWindows1252",
                 {"Caf\xE9.mdb;\x80uro;;Zo\xEB;p\xFC;;"},
                 {Group(L"Caf\u00E9", L"Caf\u00E9.mdb", L"\u20ACuro"),
                  Account(L"Zo\u00EB", L"p\u00FC",
                          Group(L"Caf\u00E9", L"Caf\u00E9.mdb", L"\u20ACuro"))}},
        LineCase{"TwoLinesInFileOrder",
                 {"Shop.mdb;db pw;;alice;a1;;", "Outlet;;;carol;c3;;dave;d5;;"},
                 {kShop, Account(L"alice", L"a1", kShop), kOutlet,
                  Account(L"carol", L"c3", kOutlet), Account(L"dave", L"d5", kOutlet)}}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(LoadAccounts, LongNamesAreCutToTheirField) {
    const std::string nickname = RepeatedName(300);
    test::TempFolder folder;
    folder.WriteFile(L"account.ini",
                     AccountFile({RepeatedName(270) + ".mdb;pw;;" + nickname + ";p;;"}));
    AccountList list;
    LoadAccounts(folder.FolderText(), list);
    ASSERT_EQ(list.Size(), 2u);
    const CMyObject& group = *list.Head();
    EXPECT_EQ(group.Name(), std::wstring(259, L'n'));
    EXPECT_EQ(group.m_szName[259], L'\0');
    EXPECT_EQ(group.m_strDbFile, std::wstring(270, L'n') + L".mdb");
    const CMyObject& account = *group.m_pNext;
    EXPECT_EQ(account.Name(), std::wstring(259, L'n'));
    // The nickname names the account's table: it must stay whole.
    EXPECT_EQ(account.m_strNickname, std::wstring(300, L'n'));
}

struct FileCase {
    const char* name;
    std::string bytes;
    std::size_t nodes;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

std::string Utf16Be(const std::string& ascii) {
    std::string out = "\xFE\xFF";
    for (const char c : ascii) {
        out.push_back('\0');
        out.push_back(c);
    }
    return out;
}

std::string Utf32Le(const std::string& ascii) {
    std::string out("\xFF\xFE\0\0", 4);
    for (const char c : ascii) {
        out.push_back(c);
        out.append(3, '\0');
    }
    return out;
}

// "Shop.mdb;db pw;;alice;a1;;" gives two nodes, "Outlet;" one.
const std::string kLineA = EncodeBase64("Shop.mdb;db pw;;alice;a1;;");
const std::string kLineB = EncodeBase64("Outlet;");

class AccountFiles : public testing::TestWithParam<FileCase> {};

TEST_P(AccountFiles, ReadInEveryEncoding) {
    test::TempFolder folder;
    folder.WriteFile(L"account.ini", GetParam().bytes);
    AccountList list;
    LoadAccounts(folder.FolderText(), list);
    EXPECT_EQ(list.Size(), GetParam().nodes);
    if (list.Size() >= 2) {
        EXPECT_EQ(list.Head()->m_strDbFile, L"Shop.mdb");
        EXPECT_EQ(list.Head()->m_pNext->m_strPassword, L"a1");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, AccountFiles,
    testing::Values(FileCase{"AnsiCrLf", kLineA + "\r\n" + kLineB + "\r\n", 3},
                    FileCase{"AnsiLineFeedOnly", kLineA + "\n" + kLineB + "\n", 3},
                    FileCase{"LastLineWithoutLineFeedIsIgnored", kLineA + "\r\n" + kLineB, 2},
                    FileCase{"BlankAndGarbageLinesGiveNothing", "\r\n" + kLineA + "\r\n!!!\r\n\n",
                             2},
                    FileCase{"Utf8WithMark", "\xEF\xBB\xBF" + kLineA + "\r\n" + kLineB + "\r\n", 3},
                    FileCase{"Utf16LittleEndian", Utf16Le(kLineA + "\r\n" + kLineB + "\r\n"), 3},
                    FileCase{"Utf16BigEndian", Utf16Be(kLineA + "\r\n" + kLineB + "\r\n"), 3},
                    FileCase{"Utf32GivesNothing", Utf32Le(kLineA + "\r\n" + kLineB + "\r\n"), 0},
                    FileCase{"EmptyFile", "", 0}),
    [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

TEST(LoadAccounts, MissingFileGivesAnEmptyList) {
    test::TempFolder folder;
    AccountList list;
    LoadAccounts(folder.FolderText(), list);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Head(), nullptr);
}

// The sibling stand-in writes the file; reading it back gives every group and
// account it was told about, with text outside ASCII intact.
TEST(LoadAccounts, ReadsWhatTheSiblingProgramWrites) {
    test::TempFolder folder(L"Programme \u00E9t\u00E9");
    folder.WriteFile(L"accounts.txt",
                     "group Shop.mdb \"db pass\"\n"
                     "account alice s3cret\n"
                     "account \"Zo\xC3\xAB M\xC3\xBCller\" \"\xE2\x82\xACuro \\\"1\\\"\"\n"
                     "group Empty.mdb \"\"\n"
                     "group Outlet.mdb \"\"\n"
                     "account bob hunter2\n");
    const std::wstring folderText = folder.FolderText();
    const CommandOutcome outcome = RunWriteAccounts(
        {ToFsPath(folderText + L"accounts.txt"), ToFsPath(folderText)}, ToFsPath(folderText));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.message;

    AccountList list;
    LoadAccounts(folderText, list);
    const Node shop = Group(L"Shop", L"Shop.mdb", L"db pass");
    const Node outlet = Group(L"Outlet", L"Outlet.mdb", L"");
    ExpectList(list,
               {shop, Account(L"alice", L"s3cret", shop),
                Account(L"Zo\u00EB M\u00FCller", L"\u20ACuro \"1\"", shop),
                Group(L"Empty", L"Empty.mdb", L""), outlet, Account(L"bob", L"hunter2", outlet)});
}

TEST(AccountList, NodesKeepTheirAddressesAsTheListGrows) {
    AccountList list;
    CMyObject* first = &list.Append();
    first->SetName(L"first");
    for (int i = 0; i < 5000; ++i) list.Append();
    EXPECT_EQ(list.Head(), first);
    EXPECT_EQ(first->Name(), L"first");
    std::size_t forward = 0;
    for (const CMyObject* n = list.Head(); n != nullptr; n = n->m_pNext) ++forward;
    std::size_t backward = 0;
    for (const CMyObject* n = list.Tail(); n != nullptr; n = n->m_pPrev) ++backward;
    EXPECT_EQ(forward, 5001u);
    EXPECT_EQ(backward, 5001u);
}

}  // namespace
}  // namespace qv
