#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DatabaseMaker.h"
#include "ReportParser.h"
#include "StoreFixture.h"
#include "TestFiles.h"
#include "TextConvert.h"
#include "TransactionStore.h"

namespace qv::test {
namespace {

using TransactionStoreTest = StoreFixture;

std::wstring Text(const CADOValue& v) {
    return v.IsText() ? v.GetText() : L"<not text>";
}

TEST(TransactionStoreText, QuotesAreDoubledAndTableNamesBracketed) {
    EXPECT_EQ(SqlText(L"O'Neil's"), L"'O''Neil''s'");
    EXPECT_EQ(TableName(L"Zo\u00eb M\u00fcller"), L"[Zo\u00eb M\u00fcller]");
    for (const wchar_t* bad : {L"", L"a]b", L"a\nb"}) {
        EXPECT_THROW(TableName(bad), CADOException) << WideToUtf8(bad);
    }
}

TEST(TransactionStoreText, EmptyFieldsCompareAsNull) {
    TransactionRecord r = SampleRecord();
    r.Set(RecordField::Receipt, L"");
    r.Set(RecordField::EMail, L"");
    r.Set(RecordField::TxnType, L"");
    r.Set(RecordField::Item, L"it's");
    EXPECT_EQ(DuplicateQuery(L"alice", r),
              L"SELECT * FROM [alice] WHERE Date = (#03/05/2009#) AND Time = (#10:15:00#) AND "
              L"Receipt is NULL AND [Txn Type] is NULL AND Item = 'it''s' AND Email is NULL");
}

TEST(TransactionStoreText, DateTextThatCouldEndTheLiteralIsRefused) {
    TransactionRecord r = SampleRecord();
    r.Set(RecordField::Date, L"1#) OR (#1");
    EXPECT_THROW(DuplicateQuery(L"alice", r), CADOException);
    r = SampleRecord();
    r.Set(RecordField::Time, L"");
    EXPECT_THROW(DuplicateQuery(L"alice", r), CADOException);
}

TEST(TransactionStoreText, DatabasePathKeepsTheFolderSeparator) {
    EXPECT_EQ(AccountDatabasePath({L"C:\\Apps\\", L"Shop.mdb", L"pw"}),
              L"C:\\Apps\\data\\Shop.mdb");
    EXPECT_EQ(AccountDatabasePath({L"/opt/qv/", L"Shop.mdb", L"pw"}), L"/opt/qv/data/Shop.mdb");
    EXPECT_EQ(AccountConnectionString({L"C:\\Apps\\", L"Shop.mdb", L"pw"}),
              L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Apps\\data\\Shop.mdb;"
              L"Persist Security Info=true;Jet OLEDB:Database Password=pw");
}

// A folder or a password that the connection string's own syntax would cut or
// unquote is quoted, so the layer reads back exactly what the account holds.
TEST(TransactionStoreText, ConnectionStringQuotesFolderAndPassword) {
    EXPECT_EQ(AccountConnectionString({L"C:\\Old; apps\\", L"Shop.mdb", L"\"pw\""}),
              L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"C:\\Old; apps\\data\\Shop.mdb\";"
              L"Persist Security Info=true;Jet OLEDB:Database Password='\"pw\"'");
    EXPECT_EQ(AccountConnectionString({L"/opt/qv/", L"Shop.mdb", L"a;b"}),
              L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/qv/data/Shop.mdb;"
              L"Persist Security Info=true;Jet OLEDB:Database Password=\"a;b\"");
}

// Names that would lead out of the data folder (a folder part of either
// platform, a drive, a stream, "." or "..") are refused with the name in the
// description; bare names, dots and punctuation included, are kept.
TEST(TransactionStoreText, OnlyBareFileNamesNameADatabase) {
    for (const wchar_t* name :
         {L"../../outside.mdb", L"..\\..\\outside.mdb", L"sub/Shop.mdb", L"sub\\Shop.mdb",
          L"/etc/Shop.mdb", L"\\\\server\\share\\Shop.mdb", L"C:Shop.mdb", L"C:\\Shop.mdb",
          L"Shop.mdb:hidden", L"..", L".", L"", L"Shop\tx.mdb"}) {
        SCOPED_TRACE(WideToUtf8(name));
        EXPECT_FALSE(IsBareDatabaseFileName(name));
        try {
            AccountDatabasePath({L"/opt/qv/", name, L"pw"});
            ADD_FAILURE() << "a path was made";
        } catch (const CADOException& error) {
            EXPECT_EQ(error.GetErrorMessage(), L"The database file name \"" + std::wstring(name) +
                                                   L"\" does not name a file in the data folder.");
        }
        EXPECT_THROW(AccountConnectionString({L"/opt/qv/", name, L"pw"}), CADOException);
    }
    for (const wchar_t* name :
         {L"Shop.mdb", L"Shop..mdb", L"..Shop.mdb", L"Zo\u00eb's shop; {2}.MDB", L"a=b.mdb"}) {
        EXPECT_TRUE(IsBareDatabaseFileName(name)) << WideToUtf8(name);
        EXPECT_EQ(AccountDatabasePath({L"/opt/qv/", name, L"pw"}),
                  L"/opt/qv/data/" + std::wstring(name));
    }
}

// A real database lies where a traversal name points: neither the planning
// step nor a page import reaches it, and the file stays as it was.
TEST_F(TransactionStoreTest, ATraversalNameNeverReachesTheFileItPointsTo) {
    DatabaseGroup outside{L"outside.mdb", kGroupPassword, {{L"alice", L"web password"}}};
    const std::filesystem::path target = folder_ / "outside.mdb";
    MakeGroupDatabase(target, outside);
    const auto before = std::filesystem::last_write_time(target);
    const auto size = std::filesystem::file_size(target);

    for (const wchar_t* name : {L"../outside.mdb", L"..\\outside.mdb"}) {
        SCOPED_TRACE(WideToUtf8(name));
        EXPECT_THROW(GetLastStoredDate(Where(name), L"alice"), CADOException);
        EXPECT_THROW(PageImport(Where(name), L"alice"), CADOException);
        CADODatabase database;
        EXPECT_THROW(OpenAccountDatabase(database, Where(name)), CADOException);
        EXPECT_FALSE(database.IsOpen());
    }
    EXPECT_EQ(std::filesystem::last_write_time(target), before);
    EXPECT_EQ(std::filesystem::file_size(target), size);
}

TEST_F(TransactionStoreTest, StoresEveryColumnOnceAndRecognisesTheRowAgain) {
    MakeDatabase({L"alice"});
    auto db = Open();
    const TransactionRecord r = SampleRecord(3);
    EXPECT_TRUE(StoreIfNew(*db, L"alice", r));
    EXPECT_FALSE(StoreIfNew(*db, L"alice", r));
    db->Close();

    const auto rows = Rows(L"alice");
    ASSERT_EQ(rows.size(), 1u);
    const auto& row = rows[0];
    for (const RecordField f :
         {RecordField::Receipt, RecordField::Tid, RecordField::PaymentMethod, RecordField::Currency,
          RecordField::TxnType, RecordField::Item, RecordField::Amount, RecordField::Vendor,
          RecordField::Affiliate, RecordField::Cc, RecordField::State, RecordField::LastName,
          RecordField::FirstName, RecordField::EMail}) {
        EXPECT_EQ(Text(row[Column(TransactionRecord::ColumnName(f))]), r.GetString(f))
            << WideToUtf8(TransactionRecord::ColumnName(f));
    }
    ASSERT_TRUE(row[Column(L"Date")].IsDate());
    EXPECT_EQ(row[Column(L"Date")].GetDate(), (CADODate{2009, 3, 5, 0, 0, 0}));
    ASSERT_TRUE(row[Column(L"DateTime")].IsDate());
    EXPECT_EQ(row[Column(L"DateTime")].GetDate(), (CADODate{2009, 3, 5, 10, 15, 3}));
}

// Which fields take part in the duplicate rule: a second row that differs
// from a stored one only in the field named is stored too, or not.
TEST_F(TransactionStoreTest, DuplicateRuleComparesDateTimeReceiptTypeItemAndEmail) {
    struct Case {
        RecordField field;
        const wchar_t* other;
        bool storedAgain;
    };
    const Case cases[] = {
        {RecordField::Date, L"03/06/2009", true}, {RecordField::Time, L"11:00:00", true},
        {RecordField::Receipt, L"OTHER", true},   {RecordField::TxnType, L"Refund", true},
        {RecordField::Item, L"other", true},      {RecordField::EMail, L"other@example.com", true},
        {RecordField::Amount, L"-19.95", false},  {RecordField::Tid, L"TID999", false},
        {RecordField::Vendor, L"OTHER", false},   {RecordField::LastName, L"SMITH", false},
    };
    std::vector<std::wstring> nicks;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        nicks.push_back(L"acct" + std::to_wstring(i));
    MakeDatabase(nicks);
    auto db = Open();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TransactionRecord first = SampleRecord();
        ASSERT_TRUE(StoreIfNew(*db, nicks[i], first));
        TransactionRecord second = first;
        second.Set(c.field, c.other);
        EXPECT_EQ(StoreIfNew(*db, nicks[i], second), c.storedAgain)
            << WideToUtf8(TransactionRecord::ColumnName(c.field));
    }
}

TEST_F(TransactionStoreTest, EmptyFieldsAreStoredAsNullAndFoundAgain) {
    MakeDatabase({L"alice"});
    auto db = Open();
    for (const RecordField f :
         {RecordField::Receipt, RecordField::EMail, RecordField::TxnType, RecordField::Item}) {
        TransactionRecord r = SampleRecord(static_cast<int>(f));
        r.Set(f, L"");
        EXPECT_TRUE(StoreIfNew(*db, L"alice", r)) << WideToUtf8(TransactionRecord::ColumnName(f));
        EXPECT_FALSE(StoreIfNew(*db, L"alice", r)) << WideToUtf8(TransactionRecord::ColumnName(f));
    }
    db->Close();
    const auto rows = Rows(L"alice");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_TRUE(rows[0][Column(L"Receipt")].IsNull());
    EXPECT_TRUE(rows[1][Column(L"EMail")].IsNull());
    EXPECT_TRUE(rows[2][Column(L"Txn Type")].IsNull());
    EXPECT_TRUE(rows[3][Column(L"Item")].IsNull());
}

TEST_F(TransactionStoreTest, QuotesInTextAndBlanksInTheNicknameAreStoredIntact) {
    const std::wstring nick = L"Zo\u00eb M\u00fcller";
    MakeDatabase({nick});
    auto db = Open();
    TransactionRecord r = SampleRecord();
    r.Set(RecordField::LastName, L"O'NEIL");
    r.Set(RecordField::Item, L"it's");
    r.Set(RecordField::EMail, L"o'neil@example.com");
    r.Set(RecordField::Receipt, L"A'B");
    EXPECT_TRUE(StoreIfNew(*db, nick, r));
    EXPECT_FALSE(StoreIfNew(*db, nick, r));
    db->Close();
    const auto rows = Rows(nick);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0][Column(L"Last Name")]), L"O'NEIL");
    EXPECT_EQ(Text(rows[0][Column(L"Item")]), L"it's");
    EXPECT_EQ(Text(rows[0][Column(L"EMail")]), L"o'neil@example.com");
}

TEST_F(TransactionStoreTest, ClosedConnectionStoresNothing) {
    MakeDatabase({L"alice"});
    CADODatabase closed;
    EXPECT_FALSE(StoreIfNew(closed, L"alice", SampleRecord()));
    EXPECT_TRUE(Rows(L"alice").empty());
}

TEST_F(TransactionStoreTest, NewestStoredDate) {
    MakeDatabase({L"alice"});
    EXPECT_EQ(GetLastStoredDate(Where(), L"alice").kind, LastStoredDate::Kind::Empty);

    auto db = Open();
    for (const wchar_t* date : {L"02/28/2009", L"03/05/2009", L"12/31/2008"}) {
        TransactionRecord r = SampleRecord();
        r.Set(RecordField::Date, date);
        ASSERT_TRUE(StoreIfNew(*db, L"alice", r));
    }
    db->Close();
    const LastStoredDate last = GetLastStoredDate(Where(), L"alice");
    EXPECT_EQ(last.kind, LastStoredDate::Kind::Found);
    EXPECT_EQ(last.year, 2009);
    EXPECT_EQ(last.month, 3);
    EXPECT_EQ(last.day, 5);
}

// A wrong password, a missing file and a missing table each raise the
// layer's error, whose text never carries the password.
TEST_F(TransactionStoreTest, DatabaseFailuresRaise) {
    MakeDatabase({L"alice"});
    struct Case {
        const char* what;
        AccountDatabase where;
        std::wstring nickname;
    };
    const Case cases[] = {
        {"wrong password", Where(kGroupFile, L"not the one"), L"alice"},
        {"missing file", Where(L"Gone.mdb"), L"alice"},
        {"missing table", Where(), L"bob"},
    };
    for (const Case& c : cases) {
        try {
            GetLastStoredDate(c.where, c.nickname);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const CADOException& e) {
            EXPECT_FALSE(e.GetErrorMessage().empty()) << c.what;
            EXPECT_EQ(e.GetErrorMessage().find(c.where.dbPassword), std::wstring::npos) << c.what;
        }
    }
    auto db = Open();
    EXPECT_THROW(StoreIfNew(*db, L"bob", SampleRecord()), CADOException);
}

TEST(RecentListLimit, HoldsAtMostAThousandNewestFirst) {
    RecentList list;
    std::vector<RecentList::Record> added;
    for (int i = 0; i < 1001; ++i) {
        added.push_back(std::make_shared<TransactionRecord>(SampleRecord(i)));
        AddToRecentList(list, added.back(), 0);
    }
    const auto shown = list.Snapshot();
    ASSERT_EQ(shown.size(), kRecentListLimit);
    EXPECT_EQ(shown.front(), added[1000]);
    EXPECT_EQ(shown.back(), added[1]);  // the very first record was pushed out
}

TEST(RecentListLimit, FullListLosesItsThousandthBeforeTheInsertion) {
    RecentList list;
    std::vector<RecentList::Record> added;
    for (int i = 0; i < 1000; ++i) {
        added.push_back(std::make_shared<TransactionRecord>(SampleRecord(i)));
        AddToRecentList(list, added.back(), 0);
    }
    // The page's second row goes to position 1 of a full list.
    const auto newcomer = std::make_shared<TransactionRecord>(SampleRecord(5000));
    AddToRecentList(list, newcomer, 1);
    const auto shown = list.Snapshot();
    ASSERT_EQ(shown.size(), kRecentListLimit);
    EXPECT_EQ(shown[0], added[999]);
    EXPECT_EQ(shown[1], newcomer);
    EXPECT_EQ(shown[999], added[1]);
}

TEST_F(TransactionStoreTest, APageImportsOnceAndReachesTheRecentListInPageOrder) {
    MakeDatabase({L"alice"});
    std::vector<TransactionRecord> page;
    for (int i = 0; i < 5; ++i) page.push_back(SampleRecord(i));
    const std::wstring html = ReportTableHtml(page);

    CMyObject account;
    account.m_strNickname = L"alice";
    account.m_strDbFile = kGroupFile;
    account.m_strDbPassword = kGroupPassword;
    const auto older = std::make_shared<TransactionRecord>(SampleRecord(99));
    AddToRecentList(account, older, 0);

    {
        PageImport import(DatabaseOf(account, programFolder_), account.m_strNickname);
        ASSERT_TRUE(import.IsOpen());
        EXPECT_EQ(ImportReportPage(html, import), 5);
        const auto inserted = import.Commit(account.m_arrRecent);
        ASSERT_EQ(inserted.size(), 5u);
    }
    const auto shown = account.m_arrRecent.Snapshot();
    ASSERT_EQ(shown.size(), 6u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(*shown[i], page[i]) << i;
    EXPECT_EQ(shown[5], older);

    {
        PageImport again(DatabaseOf(account, programFolder_), account.m_strNickname);
        EXPECT_EQ(ImportReportPage(html, again), 0);
        EXPECT_TRUE(again.Commit(account.m_arrRecent).empty());
    }
    EXPECT_EQ(account.m_arrRecent.Size(), 6u);
    EXPECT_EQ(Rows(L"alice").size(), 5u);
}

// The saved report page, with its family-link cells, a refund beside its
// sale, empty receipts and e-mails and a no-break-space cell: every row is
// stored once, the empty fields as NULL, and a second import finds them all.
TEST_F(TransactionStoreTest, TheSavedReportPageStoresOnceAndNothingTheSecondTime) {
    MakeDatabase({L"alice"});
    const std::wstring page = Utf8ToWide(ReportPageFixtureUtf8());
    const std::vector<TransactionRecord> parsed = ParseReportRows(page);
    ASSERT_FALSE(parsed.empty());
    const auto emptyIn = [&](RecordField field) {
        return std::count_if(parsed.begin(), parsed.end(),
                             [&](const TransactionRecord& r) { return r.IsEmpty(field); });
    };
    ASSERT_GT(emptyIn(RecordField::Receipt), 0) << "the page lost its row without a receipt";
    ASSERT_GT(emptyIn(RecordField::EMail), 0) << "the page lost its row without an e-mail";

    CMyObject account;
    account.m_strNickname = L"alice";
    account.m_strDbFile = kGroupFile;
    account.m_strDbPassword = kGroupPassword;
    for (const int expected : {static_cast<int>(parsed.size()), 0}) {
        PageImport import(DatabaseOf(account, programFolder_), account.m_strNickname);
        ASSERT_TRUE(import.IsOpen());
        EXPECT_EQ(ImportReportPage(page, import), expected);
        EXPECT_EQ(import.Commit(account.m_arrRecent).size(), static_cast<std::size_t>(expected));
    }

    const auto rows = Rows(L"alice");
    ASSERT_EQ(rows.size(), parsed.size());
    const auto nullIn = [&](const wchar_t* column) {
        return std::count_if(rows.begin(), rows.end(), [&](const std::vector<CADOValue>& row) {
            return row[static_cast<std::size_t>(Column(column))].IsNull();
        });
    };
    EXPECT_EQ(nullIn(L"Receipt"), emptyIn(RecordField::Receipt));
    EXPECT_EQ(nullIn(L"EMail"), emptyIn(RecordField::EMail));
}

TEST_F(TransactionStoreTest, AFailureMidPageLeavesNothingOfThatPage) {
    MakeDatabase({L"alice"});
    std::vector<TransactionRecord> page;
    for (int i = 0; i < 4; ++i) page.push_back(SampleRecord(i));
    page[2].Set(RecordField::Date, L"13/45/2009");  // no date: the database refuses the row

    RecentList recent;
    {
        PageImport import(Where(), L"alice");
        EXPECT_THROW(ImportReportPage(ReportTableHtml(page), import), CADOException);
    }
    EXPECT_TRUE(Rows(L"alice").empty());
    EXPECT_EQ(recent.Size(), 0u);

    // The same connection state is not left behind: a good page still imports.
    page[2] = SampleRecord(2);
    PageImport retry(Where(), L"alice");
    EXPECT_EQ(ImportReportPage(ReportTableHtml(page), retry), 4);
    retry.Commit(recent);
    EXPECT_EQ(Rows(L"alice").size(), 4u);
}

TEST_F(TransactionStoreTest, APageWithoutCommitIsRolledBack) {
    MakeDatabase({L"alice"});
    {
        PageImport import(Where(), L"alice");
        EXPECT_EQ(ImportReportPage(ReportTableHtml({SampleRecord(1), SampleRecord(2)}), import), 2);
    }
    EXPECT_TRUE(Rows(L"alice").empty());
}

TEST_F(TransactionStoreTest, PageImportOnAMissingDatabaseRaises) {
    EXPECT_THROW(PageImport(Where(L"Gone.mdb"), L"alice"), CADOException);
}

}  // namespace
}  // namespace qv::test
