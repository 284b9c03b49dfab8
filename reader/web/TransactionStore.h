#pragma once
// Where an account's transactions are kept: one table per vendor account, named
// by its nickname, inside its group's password-protected database file under
// the program folder's data folder. The store never creates files, tables or
// columns; what is missing surfaces as a CADOException from the database layer.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ADODatabase.h"
#include "CMyObject.h"
#include "RecentList.h"
#include "ReportParser.h"
#include "TransactionRecord.h"

namespace qv {

// Which database an account's rows live in, as the account list names it.
struct AccountDatabase {
    std::wstring programFolder;  // ends with its separator, as GetProgramFolder gives it
    std::wstring dbFile;         // the group's file name, with its ".mdb" extension
    std::wstring dbPassword;
};

// The database of an account node, whose group's file and password it holds.
inline AccountDatabase DatabaseOf(const CMyObject& account, const std::wstring& programFolder) {
    return {programFolder, account.m_strDbFile, account.m_strDbPassword};
}

// Whether a group's database file name names a file directly inside the data
// folder: not empty, not "." or "..", and without '\', '/', ':' (a folder,
// a drive or a stream) or control characters. account.ini comes from another
// program; a name such as "..\..\x.mdb" must not reach a file elsewhere.
bool IsBareDatabaseFileName(std::wstring_view name);

// Program folder, "data", then the file; the folder's own separator is kept,
// so a native folder ending in '/' gives a native path. Raises CADOException
// for a file name that is not bare, before any file is touched: every road to
// an account's database goes through here.
std::wstring AccountDatabasePath(const AccountDatabase& where);
// The Jet connection string with the path and the password quoted so that the
// database layer reads back each exactly as given. It carries the password:
// it never goes into a log line or a message.
std::wstring AccountConnectionString(const AccountDatabase& where);

// Opens the account's database (an open connection is closed first). Returns
// false, with the connection closed, when the driver refused without an
// error; raises CADOException for a file name that is not bare, a missing
// file, a wrong password, ...
bool OpenAccountDatabase(CADODatabase& database, const AccountDatabase& where);

// A log line's text about an account's database: "Database FILE of account
// NICK" and the tail (" did not open.", ": " and the driver's description).
// It names the file and never the connection string, which holds the password.
inline std::wstring DatabaseFailureText(const CMyObject& account, std::wstring_view tail) {
    return L"Database " + account.m_strDbFile + L" of account " + account.m_strNickname +
           std::wstring(tail);
}

// A text value as a quoted SQL literal, its quotes doubled.
std::wstring SqlText(std::wstring_view text);
// The table of an account. The nickname is bracketed so that a name with
// blanks or other punctuation still names one table; a nickname that brackets
// cannot carry (a ']', a control character, nothing at all) raises
// CADOException before any statement is sent.
std::wstring TableName(std::wstring_view nickname);
// The statement that finds a stored row equal to the record under the
// duplicate rule: same Date, Time, Receipt, Txn Type, Item and EMail, where an
// empty text compares as NULL because it is stored as NULL.
std::wstring DuplicateQuery(std::wstring_view nickname, const TransactionRecord& record);

// The duplicate test and, for a new record, its insertion. True when a row was
// inserted; false when an equal row is stored already, the query did not
// open, or the connection is not open. Database failures raise CADOException.
bool StoreIfNew(CADODatabase& database, std::wstring_view nickname,
                const TransactionRecord& record);

// Puts the record into the list at `position`, the number of rows the current
// page import inserted before it; a full list first loses its 1000th record.
void AddToRecentList(RecentList& list, RecentList::Record record, std::size_t position);
inline void AddToRecentList(CMyObject& account, RecentList::Record record, std::size_t position) {
    AddToRecentList(account.m_arrRecent, std::move(record), position);
}

// The newest stored date of an account, or why there is none.
struct LastStoredDate {
    enum class Kind {
        NotOpened,    // the database reported itself closed without an error
        QueryClosed,  // the newest-date query did not open
        Empty,        // the table holds no row
        Found,
    };
    Kind kind = Kind::NotOpened;
    // With Found: the parts of the Date value; a part the stored value does
    // not give becomes -1.
    int year = -1;
    int month = -1;
    int day = -1;
};

// A calendar day, as the newest-date query is bounded by it.
struct StoredDay {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Opens the account's database, reads its newest row's Date column (position
// 1) and closes again. With `notAfter`, only rows dated from 1900 up to that
// day count: a row dated in the future, or one whose date the database cannot
// order as a date, must not decide where the next report starts. Database
// failures raise CADOException.
LastStoredDate GetLastStoredDate(const AccountDatabase& where, std::wstring_view nickname,
                                 std::optional<StoredDay> notAfter = std::nullopt);
inline LastStoredDate GetLastStoredDate(const CMyObject& account, const std::wstring& programFolder,
                                        std::optional<StoredDay> notAfter = std::nullopt) {
    return GetLastStoredDate(DatabaseOf(account, programFolder), account.m_strNickname, notAfter);
}

// One report page's import, inside one database transaction: either every new
// row of the page is stored or, when anything fails before Commit, none is.
// Inserted records reach the recent list only once the page is committed, so
// the list never shows a row the database does not hold. It is the sink that
// ImportReportPage stores the page's rows through.
class PageImport final : public IRecordSink {
public:
    // Opens the database and begins the transaction when it opened. Raises
    // CADOException as OpenAccountDatabase does.
    PageImport(const AccountDatabase& where, std::wstring nickname);
    PageImport(const PageImport&) = delete;
    PageImport& operator=(const PageImport&) = delete;
    // Without Commit, the page's rows are rolled back.
    ~PageImport() override;

    bool IsOpen() const;

    // StoreIfNew within the page's transaction; false when the row is stored
    // already or the database is closed.
    bool StoreIfNew(const TransactionRecord& record) override;
    // Keeps an inserted record, at its place in the page, for Commit.
    void RecordInserted(std::shared_ptr<const TransactionRecord> record, int position) override;

    // The rows of the page offered for storing, stored already or not.
    int RowsRead() const { return rowsRead_; }

    // Makes the page's rows durable, then puts the inserted records, in page
    // order, `position` records from the top of the list (at the top unless
    // a later pass over the report puts them below what it stored before).
    // Returns them, in page order, for the data page. Raises CADOException
    // when the commit fails; nothing reaches the list then.
    std::vector<RecentList::Record> Commit(RecentList& recent, std::size_t position = 0);

private:
    CADODatabase database_;
    std::wstring nickname_;
    bool inTransaction_ = false;
    int rowsRead_ = 0;
    std::vector<RecentList::Record> inserted_;
};

}  // namespace qv
