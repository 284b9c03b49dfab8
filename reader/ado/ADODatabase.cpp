#include "ADODatabase.h"

#include <algorithm>
#include <cwctype>

#include "AdoFailure.h"
#include "AdoInternals.h"
#include "ErrorReport.h"
#include "JetConnectionString.h"
#include "JetDates.h"
#include "JetDialect.h"
#include "PasswordHash.h"
#include "SqlText.h"

namespace qv {

using ado_detail::Column;
using ado_detail::Connection;
using ado_detail::DatabaseKind;
using ado_detail::Failure;
using ado_detail::OdbcHandle;
namespace codes = ado_detail::codes;

namespace ado_detail {

void Connection::Close() noexcept {
    inserts.clear();
    if (dbc && open) {
        if (inTransaction) {
            SQLEndTran(SQL_HANDLE_DBC, dbc.Get(), SQL_ROLLBACK);
            SQLSetConnectAttrW(dbc.Get(), SQL_ATTR_AUTOCOMMIT,
                               reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
        }
        SQLDisconnect(dbc.Get());
    }
    inTransaction = false;
    open = false;
    dbc.Reset();
}

void Recordset::Reset() {
    open = false;
    columns.clear();
    hasRow = false;
    row.clear();
    table.clear();
    editMode = 0;
    pending.clear();
}

}  // namespace ado_detail

namespace {

constexpr wchar_t kDatabaseHeading[] = L"CADODataBase Error";
constexpr wchar_t kRecordsetHeading[] = L"CADORecordset Error";
constexpr wchar_t kObjectClosed[] = L"Operation is not allowed when the object is closed.";
constexpr wchar_t kTypeMismatch[] = L"Data type mismatch in criteria expression.";

bool IsDateType(SQLSMALLINT type) {
    switch (type) {
    case SQL_TYPE_DATE: case SQL_TYPE_TIME: case SQL_TYPE_TIMESTAMP:
    case SQL_DATE: case SQL_TIME: case SQL_TIMESTAMP:
        return true;
    default:
        return false;
    }
}

bool IsNumberType(SQLSMALLINT type) {
    switch (type) {
    case SQL_INTEGER: case SQL_SMALLINT: case SQL_TINYINT: case SQL_BIGINT: case SQL_BIT:
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: case SQL_NUMERIC: case SQL_DECIMAL:
        return true;
    default:
        return false;
    }
}

// [name] with the brackets Jet and SQLite both accept.
std::wstring Bracketed(const std::wstring& name) {
    if (name.find(L']') != std::wstring::npos) {
        throw Failure{L"The name '" + name + L"' cannot be used in a statement.",
                      codes::kErrorsInCommand, {}};
    }
    return L"[" + name + L"]";
}

std::wstring TrimLeading(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    return text.substr(i);
}

std::wstring ReadText(SQLHSTMT stmt, SQLUSMALLINT column, bool& isNull, const std::wstring& source) {
    ado_detail::SqlString text;
    std::vector<ado_detail::SqlChar> buffer(4096);
    isNull = false;
    while (true) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, ado_detail::kSqlCText, buffer.data(),
                                        static_cast<SQLLEN>(buffer.size() * sizeof(buffer[0])),
                                        &indicator);
        if (rc == SQL_NO_DATA) break;
        if (!ado_detail::Succeeded(rc)) {
            throw ado_detail::DiagnosticFailure(SQL_HANDLE_STMT, stmt, source,
                                                L"A field could not be read.");
        }
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            return {};
        }
        const std::size_t room = buffer.size() - 1;  // one unit for the terminator
        const bool truncated =
            rc == SQL_SUCCESS_WITH_INFO &&
            ado_detail::FirstSqlState(SQL_HANDLE_STMT, stmt) == L"01004";
        if (truncated) {
            text.append(buffer.data(), room);
            continue;
        }
        const std::size_t count =
            indicator == SQL_NO_TOTAL
                ? static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), 0) - buffer.begin())
                : static_cast<std::size_t>(indicator) / sizeof(buffer[0]);
        text.append(buffer.data(), std::min(count, room));
        break;
    }
    return ado_detail::FromSql(text);
}

CADOValue ReadField(SQLHSTMT stmt, SQLUSMALLINT index, const Column& column, bool translated,
                    const std::wstring& source) {
    if (column.isDate && !translated) {
        SQL_TIMESTAMP_STRUCT stamp{};
        SQLLEN indicator = 0;
        const SQLRETURN rc =
            SQLGetData(stmt, index, SQL_C_TYPE_TIMESTAMP, &stamp, sizeof stamp, &indicator);
        if (!ado_detail::Succeeded(rc)) {
            throw ado_detail::DiagnosticFailure(SQL_HANDLE_STMT, stmt, source,
                                                L"A field could not be read.");
        }
        if (indicator == SQL_NULL_DATA) return CADOValue();
        return CADOValue(CADODate{stamp.year, stamp.month, stamp.day, stamp.hour, stamp.minute,
                                  stamp.second});
    }
    if (column.isNumber) {
        double number = 0;
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, index, SQL_C_DOUBLE, &number, sizeof number, &indicator);
        if (!ado_detail::Succeeded(rc)) {
            throw ado_detail::DiagnosticFailure(SQL_HANDLE_STMT, stmt, source,
                                                L"A field could not be read.");
        }
        if (indicator == SQL_NULL_DATA) return CADOValue();
        return CADOValue(number);
    }
    bool isNull = false;
    std::wstring text = ReadText(stmt, index, isNull, source);
    if (isNull) return CADOValue();
    if (column.isDate) {
        // Written by this layer in canonical form; text written by others is
        // read as Jet would read it, and kept as text when it is no date.
        if (const auto date = ado_detail::ParseCanonicalDate(text)) return CADOValue(*date);
        if (const auto date = ado_detail::ParseJetDateText(text)) return CADOValue(*date);
    }
    return CADOValue(std::move(text));
}

// Checks the database password of an SQLite file against the salted hash the
// file keeps. A file without the table has no password, as a Jet file may.
void CheckSqlitePassword(Connection& connection, const std::wstring& password) {
    OdbcHandle stmt = ado_detail::AllocateStatement(connection.dbc.Get());
    SQLRETURN rc = ado_detail::SqlExecDirect(
        stmt.Get(), std::wstring(L"SELECT salt, hash FROM ") + ado_detail::kSecurityTable);
    if (!ado_detail::Succeeded(rc)) {
        Failure failure = ado_detail::DiagnosticFailure(SQL_HANDLE_STMT, stmt.Get(),
                                                        connection.source, L"The file cannot be read.");
        if (failure.code == codes::kNoTable) return;
        throw failure;
    }
    rc = SQLFetch(stmt.Get());
    if (rc == SQL_NO_DATA) return;
    ado_detail::Check(rc, stmt, connection.source, L"Reading the database password");
    bool saltNull = false;
    bool hashNull = false;
    const std::wstring salt = ReadText(stmt.Get(), 1, saltNull, connection.source);
    const std::wstring hash = ReadText(stmt.Get(), 2, hashNull, connection.source);
    if (saltNull || hashNull || ado_detail::HashDatabasePassword(salt, password) != hash) {
        throw Failure{L"Not a valid password.", codes::kAuthFailed, connection.source};
    }
}

void Connect(Connection& connection, const std::wstring& connectionString, long timeoutSeconds) {
    const ado_detail::JetConnection jet = ado_detail::ParseJetConnectionString(connectionString);
    const DatabaseKind kind = ado_detail::SniffDatabaseFile(jet.dataSource);
    if (kind == DatabaseKind::Missing) {
        throw Failure{L"Could not find file '" + jet.dataSource + L"'.", codes::kUnspecified, L"ODBC"};
    }
    if (kind == DatabaseKind::Unknown) {
        throw Failure{L"Unrecognized database format '" + jet.dataSource + L"'.",
                      codes::kUnspecified, L"ODBC"};
    }
    const auto choices =
        ado_detail::DriverChoicesFor(kind, jet.dataSource, jet.password, timeoutSeconds);
    if (choices.empty()) {
        throw Failure{L"The path of the database file '" + jet.dataSource +
                          L"' cannot be handed to the ODBC driver.",
                      codes::kUnspecified, L"ODBC"};
    }
    ado_detail::DriverConnection connected =
        ado_detail::ConnectFirstAvailable(choices, timeoutSeconds);
    connection.dbc = std::move(connected.dbc);
    connection.open = true;
    connection.kind = kind;
    connection.source = std::move(connected.driver);
    if (kind == DatabaseKind::Sqlite) {
        try {
            CheckSqlitePassword(connection, jet.password);
        } catch (...) {
            connection.Close();
            throw;
        }
    }
}

void SetAutocommit(Connection& connection, bool on) {
    const SQLRETURN rc = SQLSetConnectAttrW(
        connection.dbc.Get(), SQL_ATTR_AUTOCOMMIT,
        reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0);
    ado_detail::Check(rc, connection.dbc, connection.source, L"Changing the transaction mode");
}

// Commits or rolls back the running transaction and returns to autocommit.
void EndTransaction(Connection& connection, SQLSMALLINT completion, const wchar_t* what) {
    if (!connection.inTransaction) {
        throw Failure{L"No transaction is active.", codes::Code(0x8004D00Eu), connection.source};
    }
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, connection.dbc.Get(), completion);
    ado_detail::Check(rc, connection.dbc, connection.source, what);
    connection.inTransaction = false;
    SetAutocommit(connection, true);
}

}  // namespace

// ---------------------------------------------------------------- database

CADODatabase::CADODatabase() : m_pConnection(std::make_shared<Connection>()) {}

CADODatabase::~CADODatabase() { Close(); }

void CADODatabase::Raise(const CADOException& error, const std::wstring& source) {
    const std::wstring report =
        ado_detail::FailureReport(kDatabaseHeading, error.GetError(), source, error.GetErrorMessage());
    m_strErrorDescription = error.GetErrorMessage();
    m_strLastError = L"Connection String = " + m_strConnection + L"\n" + report;
    m_dwLastError = error.GetError();
    throw error;
}

bool CADODatabase::Open(const std::wstring& connectionString) {
    if (IsOpen()) Close();
    if (!connectionString.empty()) m_strConnection = connectionString;
    try {
        if (!m_pConnection) throw Failure{L"Invalid pointer", codes::kInvalidPointer, L"ODBC"};
        Connect(*m_pConnection, m_strConnection, m_nConnectionTimeout);
        return m_pConnection->open;
    } catch (const Failure& failure) {
        Raise(CADOException(failure.description, failure.code), failure.source);
    }
}

bool CADODatabase::IsOpen() const { return m_pConnection && m_pConnection->open; }

void CADODatabase::Close() {
    if (IsOpen()) m_pConnection->Close();
}

bool CADODatabase::BeginTrans() {
    try {
        if (!IsOpen()) throw Failure{kObjectClosed, codes::kObjectClosed, L"ODBC"};
        if (m_pConnection->inTransaction) {
            throw Failure{L"A transaction is already running on this connection.",
                          codes::kUnspecified, m_pConnection->source};
        }
        SetAutocommit(*m_pConnection, false);
        m_pConnection->inTransaction = true;
        return true;
    } catch (const Failure& failure) {
        Raise(CADOException(failure.description, failure.code), failure.source);
    }
}

bool CADODatabase::CommitTrans() {
    try {
        if (!IsOpen()) throw Failure{kObjectClosed, codes::kObjectClosed, L"ODBC"};
        EndTransaction(*m_pConnection, SQL_COMMIT, L"Committing the transaction");
        return true;
    } catch (const Failure& failure) {
        Raise(CADOException(failure.description, failure.code), failure.source);
    }
}

bool CADODatabase::RollbackTrans() {
    try {
        if (!IsOpen()) throw Failure{kObjectClosed, codes::kObjectClosed, L"ODBC"};
        EndTransaction(*m_pConnection, SQL_ROLLBACK, L"Rolling back the transaction");
        return true;
    } catch (const Failure& failure) {
        Raise(CADOException(failure.description, failure.code), failure.source);
    }
}

// --------------------------------------------------------------- recordset

CADORecordset::CADORecordset() : m_pRecordset(std::make_shared<ado_detail::Recordset>()) {}

CADORecordset::CADORecordset(CADODatabase& database)
    : m_pRecordset(std::make_shared<ado_detail::Recordset>()),
      m_pConnection(database.m_pConnection) {}

CADORecordset::~CADORecordset() { Close(); }

void CADORecordset::Raise(const CADOException& error) const {
    const std::wstring source =
        m_pRecordset && m_pRecordset->connection ? m_pRecordset->connection->source
        : m_pConnection                          ? m_pConnection->source
                                                 : std::wstring(L"ODBC");
    const std::wstring report = ado_detail::FailureReport(kRecordsetHeading, error.GetError(), source,
                                                          error.GetErrorMessage());
    m_strLastError = L"Query = " + m_strQuery + L"\n" + report;
    m_dwLastError = error.GetError();
    throw error;
}

bool CADORecordset::Open(CADODatabase& database, const std::wstring& statement) {
    Close();
    if (!statement.empty()) m_strQuery = statement;
    if (!m_pConnection) m_pConnection = database.m_pConnection;
    m_strQuery = TrimLeading(m_strQuery);
    try {
        if (!m_pRecordset || !m_pConnection) {
            throw Failure{L"Invalid pointer", codes::kInvalidPointer, L"ODBC"};
        }
        if (!m_pConnection->open) throw Failure{kObjectClosed, codes::kObjectClosed, L"ODBC"};
        Connection& connection = *m_pConnection;
        ado_detail::Recordset& rs = *m_pRecordset;
        rs.Reset();
        rs.connection = m_pConnection;

        const bool translated = connection.TranslatesJet();
        std::wstring sql = m_strQuery;
        if (translated) {
            try {
                sql = ado_detail::TranslateJetToSqlite(m_strQuery);
            } catch (Failure& failure) {
                failure.source = connection.source;
                throw;
            }
        }
        OdbcHandle stmt = ado_detail::AllocateStatement(connection.dbc.Get());
        SQLRETURN rc = ado_detail::SqlExecDirect(stmt.Get(), sql);
        if (rc != SQL_NO_DATA) ado_detail::Check(rc, stmt, connection.source, L"The statement");

        SQLSMALLINT count = 0;
        ado_detail::Check(SQLNumResultCols(stmt.Get(), &count), stmt, connection.source,
                          L"Reading the columns");
        if (count <= 0) return false;  // not a statement that returns rows

        for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
            Column column;
            SQLSMALLINT type = 0;
            ado_detail::Check(ado_detail::SqlDescribeColumn(stmt.Get(), i, column.name, type), stmt,
                              connection.source, L"Reading the columns");
            column.isDate = IsDateType(type);
            column.isNumber = IsNumberType(type);
            rs.columns.push_back(std::move(column));
        }

        rc = SQLFetch(stmt.Get());
        if (rc != SQL_NO_DATA) {
            ado_detail::Check(rc, stmt, connection.source, L"Reading the first row");
            rs.hasRow = true;
            for (SQLUSMALLINT i = 1; i <= static_cast<SQLUSMALLINT>(count); ++i) {
                rs.row.push_back(ReadField(stmt.Get(), i, rs.columns[i - 1], translated,
                                           connection.source));
            }
        }
        SQLCloseCursor(stmt.Get());
        rs.table = ado_detail::FindUpdatableTable(m_strQuery);
        rs.open = true;
        return true;
    } catch (const Failure& failure) {
        if (m_pRecordset) m_pRecordset->Reset();
        Raise(CADOException(failure.description, failure.code));
    }
}

bool CADORecordset::IsOpen() const {
    return m_pRecordset && m_pRecordset->connection && m_pRecordset->connection->open &&
           m_pRecordset->open;
}

bool CADORecordset::IsEOF() const {
    if (!IsOpen()) Raise(CADOException(kObjectClosed, codes::kObjectClosed));
    return !m_pRecordset->hasRow;
}

void CADORecordset::Close() {
    // A row being built is dropped, as a cancelled edit.
    if (m_pRecordset) m_pRecordset->Reset();
}

bool CADORecordset::AddNew() {
    if (!IsOpen()) Raise(CADOException(kObjectClosed, codes::kObjectClosed));
    ado_detail::Recordset& rs = *m_pRecordset;
    rs.pending.assign(rs.columns.size(), {});
    rs.editMode = rs.table.empty() ? 0 : 1;
    return rs.editMode == 1;
}

bool CADORecordset::SetFieldValue(const std::wstring& column, const std::wstring& text) {
    if (!m_pRecordset || m_pRecordset->editMode != 1) return false;
    ado_detail::Recordset& rs = *m_pRecordset;
    if (!IsOpen()) Raise(CADOException(kObjectClosed, codes::kObjectClosed));
    const auto found = std::find_if(rs.columns.begin(), rs.columns.end(),
                                    [&](const Column& c) { return ado_detail::SameWord(c.name, column); });
    if (found == rs.columns.end()) {
        Raise(CADOException(L"Item cannot be found in the collection corresponding to the "
                            L"requested name or ordinal.",
                            codes::kItemNotFound));
    }
    ado_detail::PendingValue& value = rs.pending[found - rs.columns.begin()];
    value = {};
    value.set = true;
    if (text.empty()) {
        value.null = true;
        return true;
    }
    if (found->isDate) {
        const auto date = ado_detail::ParseJetDateText(text);
        if (!date) Raise(CADOException(kTypeMismatch, codes::kCantConvertValue));
        value.date = *date;
        value.text = ado_detail::FormatCanonicalDate(*date);
    } else {
        value.text = text;
    }
    return true;
}

bool CADORecordset::Update() {
    if (!m_pRecordset || m_pRecordset->editMode == 0) return true;
    ado_detail::Recordset& rs = *m_pRecordset;
    try {
        if (!IsOpen()) throw Failure{kObjectClosed, codes::kObjectClosed, L"ODBC"};
        Connection& connection = *rs.connection;
        const bool translated = connection.TranslatesJet();

        std::vector<std::size_t> columns;
        for (std::size_t i = 0; i < rs.pending.size(); ++i) {
            if (rs.pending[i].set) columns.push_back(i);
        }
        std::wstring sql = L"INSERT INTO " + Bracketed(rs.table);
        if (columns.empty()) {
            sql += L" DEFAULT VALUES";
        } else {
            std::wstring names, marks;
            for (const std::size_t i : columns) {
                names += (names.empty() ? L"" : L", ") + Bracketed(rs.columns[i].name);
                marks += marks.empty() ? L"?" : L", ?";
            }
            sql += L" (" + names + L") VALUES (" + marks + L")";
        }

        auto cached = connection.inserts.find(sql);
        if (cached == connection.inserts.end()) {
            OdbcHandle stmt = ado_detail::AllocateStatement(connection.dbc.Get());
            ado_detail::Check(ado_detail::SqlPrepare(stmt.Get(), sql), stmt, connection.source,
                              L"Preparing the new row");
            cached = connection.inserts.emplace(sql, std::move(stmt)).first;
        }
        const OdbcHandle& stmt = cached->second;

        // Sized before binding: the driver keeps pointers into these.
        std::vector<ado_detail::SqlString> texts(columns.size());
        std::vector<SQL_TIMESTAMP_STRUCT> stamps(columns.size());
        std::vector<SQLLEN> indicators(columns.size());
        for (std::size_t p = 0; p < columns.size(); ++p) {
            const ado_detail::PendingValue& value = rs.pending[columns[p]];
            const auto number = static_cast<SQLUSMALLINT>(p + 1);
            SQLRETURN rc;
            if (!value.null && rs.columns[columns[p]].isDate && !translated) {
                const CADODate& d = value.date;
                stamps[p] = SQL_TIMESTAMP_STRUCT{static_cast<SQLSMALLINT>(d.year),
                                                 static_cast<SQLUSMALLINT>(d.month),
                                                 static_cast<SQLUSMALLINT>(d.day),
                                                 static_cast<SQLUSMALLINT>(d.hour),
                                                 static_cast<SQLUSMALLINT>(d.minute),
                                                 static_cast<SQLUSMALLINT>(d.second),
                                                 0};
                indicators[p] = sizeof(SQL_TIMESTAMP_STRUCT);
                rc = SQLBindParameter(stmt.Get(), number, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP,
                                      SQL_TYPE_TIMESTAMP, 19, 0, &stamps[p], 0, &indicators[p]);
            } else {
                texts[p] = ado_detail::ToSql(value.text);
                const std::size_t bytes = texts[p].size() * sizeof(ado_detail::SqlChar);
                indicators[p] = value.null ? SQL_NULL_DATA : static_cast<SQLLEN>(bytes);
                const SQLULEN size = std::max<SQLULEN>(1, texts[p].size());
                rc = SQLBindParameter(stmt.Get(), number, SQL_PARAM_INPUT, ado_detail::kSqlCText,
                                      ado_detail::kSqlTextType, size, 0, texts[p].data(),
                                      static_cast<SQLLEN>(bytes + sizeof(ado_detail::SqlChar)),
                                      &indicators[p]);
            }
            ado_detail::Check(rc, stmt, connection.source, L"Passing a field value");
        }
        const SQLRETURN rc = SQLExecute(stmt.Get());
        const bool written = ado_detail::Succeeded(rc);
        Failure failure;
        if (!written) {
            failure = ado_detail::DiagnosticFailure(SQL_HANDLE_STMT, stmt.Get(), connection.source,
                                                    L"The new row was refused.");
        }
        SQLFreeStmt(stmt.Get(), SQL_CLOSE);
        SQLFreeStmt(stmt.Get(), SQL_RESET_PARAMS);
        rs.editMode = 0;
        rs.pending.clear();
        if (!written) throw failure;
        return rc == SQL_SUCCESS;
    } catch (const Failure& failure) {
        rs.editMode = 0;
        rs.pending.clear();
        Raise(CADOException(failure.description, failure.code));
    }
}

CADOValue CADORecordset::GetFieldValue(int index) const {
    if (!IsOpen()) Raise(CADOException(kObjectClosed, codes::kObjectClosed));
    const ado_detail::Recordset& rs = *m_pRecordset;
    if (!rs.hasRow) {
        Raise(CADOException(L"Either BOF or EOF is True, or the current record has been deleted. "
                            L"Requested operation requires a current record.",
                            codes::kNoCurrentRecord));
    }
    if (index < 0 || static_cast<std::size_t>(index) >= rs.row.size()) {
        Raise(CADOException(L"Item cannot be found in the collection corresponding to the "
                            L"requested name or ordinal.",
                            codes::kItemNotFound));
    }
    return rs.row[static_cast<std::size_t>(index)];
}

}  // namespace qv
