#include "DatabaseMaker.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "DatabaseFile.h"
#include "OdbcHandles.h"
#include "PasswordHash.h"
#include "SqlText.h"
#include "TextConvert.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using ado_detail::OdbcHandle;

// Jet compares text without regard to case; so do these columns.
constexpr wchar_t kTextType[] = L"TEXT COLLATE NOCASE";
// Declared so that the driver reports them as timestamps; the reader's layer
// keeps canonical date text in them.
constexpr wchar_t kDateType[] = L"DATETIME";

std::wstring Quoted(const std::wstring& name) {
    std::wstring out = L"\"";
    for (const wchar_t ch : name) {
        if (ch == L'"') out.push_back(L'"');
        out.push_back(ch);
    }
    return out + L"\"";
}

std::string Utf8(const fs::path& path) {
    const auto text = path.u8string();
    return std::string(text.begin(), text.end());
}

[[noreturn]] void Fail(const std::string& message) { throw std::runtime_error(message); }

class Session {
public:
    explicit Session(const fs::path& file) : m_file(Utf8(file)) {
        const auto choices = ado_detail::DriverChoicesFor(ado_detail::DatabaseKind::Sqlite,
                                                          FromFsPath(file), L"", 0, true);
        if (choices.empty()) Fail(m_file + ": the path cannot be handed to the SQLite driver");
        try {
            m_dbc = ado_detail::ConnectFirstAvailable(choices, 0).dbc;
            m_connected = true;
        } catch (const ado_detail::Failure& failure) {
            Fail(m_file + ": the SQLite ODBC driver refused the file: " +
                 WideToUtf8(failure.description));
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() {
        if (m_connected) {
            if (m_inTransaction) SQLEndTran(SQL_HANDLE_DBC, m_dbc.Get(), SQL_ROLLBACK);
            SQLDisconnect(m_dbc.Get());
        }
    }

    void Execute(const std::wstring& sql) {
        OdbcHandle stmt = ado_detail::AllocateStatement(m_dbc.Get());
        const SQLRETURN rc = ado_detail::SqlExecDirect(stmt.Get(), sql);
        if (!ado_detail::Succeeded(rc) && rc != SQL_NO_DATA) Fail(Problem(stmt));
    }

    // The first column of the first row as text; nothing when there is no row.
    std::optional<std::wstring> QueryText(const std::wstring& sql, bool& failed) {
        OdbcHandle stmt = ado_detail::AllocateStatement(m_dbc.Get());
        failed = false;
        if (!ado_detail::Succeeded(ado_detail::SqlExecDirect(stmt.Get(), sql))) {
            failed = true;
            return std::nullopt;
        }
        if (SQLFetch(stmt.Get()) != SQL_SUCCESS) return std::nullopt;
        ado_detail::SqlChar buffer[256] = {};
        SQLLEN indicator = 0;
        if (!ado_detail::Succeeded(SQLGetData(stmt.Get(), 1, ado_detail::kSqlCText, buffer,
                                              sizeof buffer, &indicator)) ||
            indicator == SQL_NULL_DATA || indicator < 0) {
            return std::wstring();
        }
        const std::size_t units = std::min<std::size_t>(255, static_cast<std::size_t>(indicator) / sizeof(buffer[0]));
        return ado_detail::FromSql(buffer, units);
    }

    void Begin() {
        SQLSetConnectAttrW(m_dbc.Get(), SQL_ATTR_AUTOCOMMIT,
                           reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
        m_inTransaction = true;
    }
    void Commit() {
        if (!ado_detail::Succeeded(SQLEndTran(SQL_HANDLE_DBC, m_dbc.Get(), SQL_COMMIT))) {
            Fail(m_file + ": the database could not be written");
        }
        m_inTransaction = false;
    }

private:
    std::string Problem(const OdbcHandle& stmt) const {
        const auto failure = ado_detail::DiagnosticFailure(SQL_HANDLE_STMT, stmt.Get(), L"SQLite3",
                                                           L"no description");
        return m_file + ": " + WideToUtf8(failure.description);
    }

    std::string m_file;
    OdbcHandle m_dbc;
    bool m_connected = false;
    bool m_inTransaction = false;
};

bool HasSqliteHeader(const fs::path& file) {
    return ado_detail::SniffDatabaseFile(FromFsPath(file)) == ado_detail::DatabaseKind::Sqlite;
}

void WritePassword(Session& session, const fs::path& file, const std::wstring& password) {
    const std::wstring table = ado_detail::kSecurityTable;
    bool failed = false;
    const auto salt = session.QueryText(L"SELECT salt FROM " + table, failed);
    if (!failed && salt) {
        const auto hash = session.QueryText(L"SELECT hash FROM " + table, failed);
        if (!hash || ado_detail::HashDatabasePassword(*salt, password) != *hash) {
            Fail(Utf8(file) + ": the existing database has another password");
        }
        return;
    }
    if (!failed) {
        // The table exists and is empty: a file without a password.
        if (!password.empty()) Fail(Utf8(file) + ": the existing database has another password");
        return;
    }
    session.Execute(L"CREATE TABLE " + table + L" (salt TEXT NOT NULL, hash TEXT NOT NULL)");
    // An empty password leaves the file without one, as with Jet.
    if (password.empty()) return;
    const std::wstring newSalt = ado_detail::MakePasswordSalt();
    session.Execute(L"INSERT INTO " + table + L" (salt, hash) VALUES ('" + newSalt + L"', '" +
                    ado_detail::HashDatabasePassword(newSalt, password) + L"')");
}

}  // namespace

std::vector<std::wstring> AccountTableColumns() {
    return {L"ID",      L"Date", L"Time",     L"DateTime", L"Receipt",   L"TID",
            L"Pmt",     L"Currency", L"Txn Type", L"Item", L"Amount",    L"Vendor",
            L"Affiliate", L"CC", L"St",       L"Last Name", L"First Name", L"EMail"};
}

void MakeGroupDatabase(const fs::path& file, const DatabaseGroup& group) {
    std::error_code error;
    if (fs::exists(file, error) && !HasSqliteHeader(file) && fs::file_size(file, error) != 0) {
        Fail(Utf8(file) + ": exists and is not an SQLite database");
    }
    Session session(file);
    session.Begin();
    WritePassword(session, file, group.databasePassword);
    for (const VendorAccount& account : group.accounts) {
        const std::wstring table = Quoted(account.nickname);
        std::wstring columns;
        for (const std::wstring& column : AccountTableColumns()) {
            if (!columns.empty()) columns += L", ";
            columns += Quoted(column) + L" ";
            if (column == L"ID") {
                columns += L"INTEGER PRIMARY KEY AUTOINCREMENT";
            } else if (column == L"Date" || column == L"Time" || column == L"DateTime") {
                columns += kDateType;
            } else {
                columns += kTextType;
            }
        }
        session.Execute(L"CREATE TABLE IF NOT EXISTS " + table + L" (" + columns + L")");
        // The duplicate test compares exactly these; Date first also serves
        // the newest-date query.
        session.Execute(L"CREATE INDEX IF NOT EXISTS " + Quoted(account.nickname + L" duplicate") +
                        L" ON " + table +
                        L" (\"Date\", \"Time\", \"Receipt\", \"Txn Type\", \"Item\", \"EMail\")");
    }
    session.Commit();
}

CommandOutcome RunMakeDatabases(const std::vector<fs::path>& arguments,
                                const fs::path& programFolder) {
    if (arguments.empty() || arguments.size() > 2) {
        return {2, "usage: make-databases DESCRIPTION-FILE [OUTPUT-FOLDER]"};
    }
    std::ifstream in(arguments[0], std::ios::binary);
    if (!in) return {1, Utf8(arguments[0]) + ": cannot be read"};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const ParsedDescription parsed = ParseAccountDescription(bytes.str());
    if (parsed.error) {
        return {1, Utf8(arguments[0]) + ":" + std::to_string(parsed.error->line) + ": " +
                       parsed.error->message};
    }
    const fs::path folder = (arguments.size() == 2 ? arguments[1] : programFolder) / kDataFolderName;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return {1, Utf8(folder) + ": cannot be made"};
    try {
        for (const DatabaseGroup& group : parsed.groups) {
            MakeGroupDatabase(folder / group.databaseFile, group);
        }
    } catch (const std::exception& failure) {
        return {1, failure.what()};
    }
    return {0, {}};
}

std::optional<CommandOutcome> RunCommand(std::wstring_view command,
                                         const std::vector<std::filesystem::path>& arguments,
                                         const std::filesystem::path& programFolder) {
    if (command == L"write-accounts") return RunWriteAccounts(arguments, programFolder);
    if (command == L"make-databases") return RunMakeDatabases(arguments, programFolder);
    return std::nullopt;
}

}  // namespace qv
