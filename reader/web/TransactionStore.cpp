#include "TransactionStore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>

#include "CivilDays.h"
#include "JetConnectionString.h"
#include "TextConvert.h"

namespace qv {
namespace {

// E_INVALIDARG: the store refused a value before the database saw it.
constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80070057u);
constexpr std::int32_t kFailed = static_cast<std::int32_t>(0x80004005u);  // E_FAIL

constexpr RecordField kColumnOrder[] = {
    RecordField::Receipt,   RecordField::Tid,   RecordField::PaymentMethod, RecordField::Currency,
    RecordField::TxnType,   RecordField::Item,  RecordField::Amount,        RecordField::Vendor,
    RecordField::Affiliate, RecordField::Cc,    RecordField::State,         RecordField::LastName,
    RecordField::FirstName, RecordField::EMail,
};

// "is NULL" for an empty text, which the store writes as NULL; else an
// equality with the quoted text.
std::wstring Condition(std::wstring_view text) {
    if (text.empty()) return L"is NULL";
    return L"= " + SqlText(text);
}

// Inside a Jet date literal nothing can be escaped, so a date or time text is
// only put between the '#' signs when it holds nothing a literal could end on.
std::wstring DateLiteral(std::wstring_view text, const wchar_t* what) {
    bool fits = !text.empty();
    for (const wchar_t c : text) {
        const bool plain = (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') ||
                           (c >= L'A' && c <= L'Z') || c == L' ' || c == L'/' || c == L'-' ||
                           c == L':' || c == L'.' || c == L',';
        fits = fits && plain;
    }
    if (!fits) {
        throw CADOException(std::wstring(L"The row's ") + what + L" is not a date or time: \"" +
                                std::wstring(text) + L"\"",
                            kInvalidArgument);
    }
    return L"(#" + std::wstring(text) + L"#)";
}

// Parts of a date text in the forms the databases give back: "2009-03-05"
// (with or without a time after it) or "3/5/2009".
void ReadDateText(const std::wstring& text, LastStoredDate& out) {
    int a = 0, b = 0, c = 0;
    wchar_t s1 = 0, s2 = 0;
    if (std::swscanf(text.c_str(), L"%d%lc%d%lc%d", &a, &s1, &b, &s2, &c) != 5) return;
    if (s1 == L'-' && s2 == L'-') {
        out.year = a, out.month = b, out.day = c;
    } else if (s1 == L'/' && s2 == L'/') {
        out.year = c, out.month = a, out.day = b;
    }
}

// A Jet date serial: days since 1899-12-30, the time as the fraction.
void ReadDateSerial(double serial, LastStoredDate& out) {
    if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6) return;
    const CivilDay date =
        CivilFromDays(DaysFromCivil(1899, 12, 30) + static_cast<std::int64_t>(std::floor(serial)));
    out.year = date.year;
    out.month = date.month;
    out.day = date.day;
}

}  // namespace

bool IsBareDatabaseFileName(std::wstring_view name) {
    if (name.empty() || name == L"." || name == L"..") return false;
    for (const wchar_t c : name) {
        // '\\' and '/' start a folder part on either platform; ':' a drive
        // ("C:x.mdb" is relative to C:'s current folder) or a stream.
        if (c == L'\\' || c == L'/' || c == L':' || c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

std::wstring AccountDatabasePath(const AccountDatabase& where) {
    if (!IsBareDatabaseFileName(where.dbFile)) {
        throw CADOException(L"The database file name \"" + where.dbFile +
                                L"\" does not name a file in the data folder.",
                            kInvalidArgument);
    }
    const wchar_t separator =
        !where.programFolder.empty() && where.programFolder.back() == L'/' ? L'/' : L'\\';
    return where.programFolder + L"data" + separator + where.dbFile;
}

std::wstring AccountConnectionString(const AccountDatabase& where) {
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
           JetConnectionValue(AccountDatabasePath(where)) +
           L";Persist Security Info=true;Jet OLEDB:Database Password=" +
           JetConnectionValue(where.dbPassword);
}

bool OpenAccountDatabase(CADODatabase& database, const AccountDatabase& where) {
    // Closed first, as Open does, so a refused file name leaves no older
    // connection open either.
    database.Close();
    database.Open(AccountConnectionString(where));
    return database.IsOpen();
}

std::wstring SqlText(std::wstring_view text) {
    std::wstring quoted = L"'";
    for (const wchar_t c : text) {
        quoted += c;
        if (c == L'\'') quoted += L'\'';
    }
    quoted += L'\'';
    return quoted;
}

std::wstring TableName(std::wstring_view nickname) {
    bool usable = !nickname.empty();
    for (const wchar_t c : nickname) usable = usable && c != L']' && c >= 0x20 && c != 0x7F;
    if (!usable) {
        throw CADOException(
            L"The account name \"" + std::wstring(nickname) + L"\" cannot name a table",
            kInvalidArgument);
    }
    return L"[" + std::wstring(nickname) + L"]";
}

std::wstring DuplicateQuery(std::wstring_view nickname, const TransactionRecord& record) {
    return L"SELECT * FROM " + TableName(nickname) + L" WHERE Date = " +
           DateLiteral(record.Get(RecordField::Date), L"date") + L" AND Time = " +
           DateLiteral(record.Get(RecordField::Time), L"time") + L" AND Receipt " +
           Condition(record.Get(RecordField::Receipt)) + L" AND [Txn Type] " +
           Condition(record.Get(RecordField::TxnType)) + L" AND Item " +
           Condition(record.Get(RecordField::Item)) + L" AND Email " +
           Condition(record.Get(RecordField::EMail));
}

bool StoreIfNew(CADODatabase& database, std::wstring_view nickname,
                const TransactionRecord& record) {
    if (!database.IsOpen()) return false;
    CADORecordset recordset(database);
    if (!recordset.Open(database, DuplicateQuery(nickname, record))) return false;
    if (!recordset.IsEOF()) {
        recordset.Close();
        return false;
    }

    if (!recordset.AddNew()) {
        recordset.Close();
        throw CADOException(L"The table " + std::wstring(nickname) + L" did not take a new row",
                            kFailed);
    }
    const std::wstring date = record.GetString(RecordField::Date);
    const std::wstring time = record.GetString(RecordField::Time);
    recordset.SetFieldValue(L"Date", date);
    recordset.SetFieldValue(L"Time", time);
    recordset.SetFieldValue(L"DateTime", date + L" " + time);
    for (const RecordField field : kColumnOrder) {
        recordset.SetFieldValue(TransactionRecord::ColumnName(field), record.GetString(field));
    }
    const bool written = recordset.Update();
    recordset.Close();
    return written;
}

void AddToRecentList(RecentList& list, RecentList::Record record, std::size_t position) {
    list.InsertAt(position, std::move(record));
}

// "#YYYY-MM-DD#" of the day after `day`.
std::wstring DayAfterLiteral(StoredDay day) {
    const CivilDay next = CivilFromDays(DaysFromCivil(day.year, day.month, day.day) + 1);
    return L"#" + std::to_wstring(next.year) + L"-" + TwoDigits(next.month) + L"-" +
           TwoDigits(next.day) + L"#";
}

LastStoredDate GetLastStoredDate(const AccountDatabase& where, std::wstring_view nickname,
                                 std::optional<StoredDay> notAfter) {
    LastStoredDate result;
    CADODatabase database;
    if (!OpenAccountDatabase(database, where)) return result;

    std::wstring statement = L"SELECT TOP 1 * FROM " + TableName(nickname);
    if (notAfter)
        statement += L" WHERE Date >= #1900-01-01# AND Date < " + DayAfterLiteral(*notAfter);
    statement += L" ORDER BY Date DESC";
    CADORecordset recordset(database);
    if (!recordset.Open(database, statement)) {
        result.kind = LastStoredDate::Kind::QueryClosed;
        database.Close();
        return result;
    }
    if (recordset.IsEOF()) {
        result.kind = LastStoredDate::Kind::Empty;
    } else {
        result.kind = LastStoredDate::Kind::Found;
        const CADOValue value = recordset.GetFieldValue(1);
        if (value.IsDate()) {
            result.year = value.GetDate().year;
            result.month = value.GetDate().month;
            result.day = value.GetDate().day;
        } else if (value.IsText()) {
            ReadDateText(value.GetText(), result);
        } else if (value.IsNumber()) {
            ReadDateSerial(value.GetNumber(), result);
        }
    }
    recordset.Close();
    database.Close();
    return result;
}

PageImport::PageImport(const AccountDatabase& where, std::wstring nickname)
    : nickname_(std::move(nickname)) {
    if (OpenAccountDatabase(database_, where)) inTransaction_ = database_.BeginTrans();
}

PageImport::~PageImport() {
    if (!inTransaction_) return;
    // Runs while a database failure unwinds the page; a second failure here
    // must not replace that one, and closing without a commit discards the
    // page's rows all the same.
    try {
        database_.RollbackTrans();
    } catch (const CADOException&) {
    }
}

bool PageImport::IsOpen() const {
    return database_.IsOpen();
}

bool PageImport::StoreIfNew(const TransactionRecord& record) {
    ++rowsRead_;
    return qv::StoreIfNew(database_, nickname_, record);
}

// The parser reports the records in page order, each with the number of rows
// inserted before it, so the page's order is the order of arrival.
void PageImport::RecordInserted(std::shared_ptr<const TransactionRecord> record, int) {
    if (record) inserted_.push_back(std::move(record));
}

std::vector<RecentList::Record> PageImport::Commit(RecentList& recent, std::size_t position) {
    if (inTransaction_) {
        database_.CommitTrans();
        inTransaction_ = false;
    }
    std::vector<RecentList::Record> inserted = std::move(inserted_);
    inserted_.clear();
    recent.AddAt(position, inserted);
    return inserted;
}

}  // namespace qv
