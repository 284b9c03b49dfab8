#pragma once
// Connection and recordset wrappers with the behaviour of the reader's ADO
// layer, carried out over ODBC: the Access driver for Jet files, the SQLite3
// driver (with the Jet dialect translated) for SQLite files. The connection
// string is the Jet OLE DB one ("Provider=...;Data Source=...;Jet OLEDB:
// Database Password=..."); the layer reads it and picks the driver by the
// file's header.
//
// Every database failure raises CADOException carrying the description and an
// HRESULT-style code; the object keeps the full report (which includes the
// connection string or query, and so the password) in GetLastErrorString(),
// which is for diagnosis only and must never reach the log.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace qv {

namespace ado_detail {
struct Connection;
struct Recordset;
}  // namespace ado_detail

// A database failure: the provider's description and the error code.
class CADOException {
public:
    CADOException(std::wstring description, std::int32_t code)
        : m_strErrorMessage(std::move(description)), m_lErrorCode(code) {}
    CADOException(const CADOException&) = default;
    CADOException& operator=(const CADOException&) = default;
    virtual ~CADOException() = default;

    const std::wstring& GetErrorMessage() const { return m_strErrorMessage; }
    std::int32_t GetError() const { return m_lErrorCode; }

private:
    std::wstring m_strErrorMessage;
    std::int32_t m_lErrorCode = 0;
};

// A date/time value as Jet keeps it: a calendar date and a time of day.
// A time without a date has Jet's base date 1899-12-30.
struct CADODate {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CADODate&, const CADODate&) = default;
};

// The value of one field of the current row.
class CADOValue {
public:
    enum class Kind { Null, Number, Text, Date };

    CADOValue() = default;
    explicit CADOValue(double number) : m_value(number) {}
    explicit CADOValue(std::wstring text) : m_value(std::move(text)) {}
    explicit CADOValue(const CADODate& date) : m_value(date) {}

    Kind GetKind() const { return static_cast<Kind>(m_value.index()); }
    bool IsNull() const { return GetKind() == Kind::Null; }
    bool IsNumber() const { return GetKind() == Kind::Number; }
    bool IsText() const { return GetKind() == Kind::Text; }
    bool IsDate() const { return GetKind() == Kind::Date; }

    // Each accessor requires the matching kind (std::bad_variant_access otherwise).
    double GetNumber() const { return std::get<double>(m_value); }
    const std::wstring& GetText() const { return std::get<std::wstring>(m_value); }
    const CADODate& GetDate() const { return std::get<CADODate>(m_value); }

    friend bool operator==(const CADOValue&, const CADOValue&) = default;

private:
    // Order matches Kind.
    std::variant<std::monostate, double, std::wstring, CADODate> m_value;
};

// One connection. Not copyable; recordsets opened on it keep the underlying
// connection alive, closed, should they outlive this object.
class CADODatabase {
public:
    CADODatabase();
    CADODatabase(const CADODatabase&) = delete;
    CADODatabase& operator=(const CADODatabase&) = delete;
    virtual ~CADODatabase();

    // Closes an open connection first; an empty string reuses the stored one.
    // Returns true when the database accepted the connection; raises
    // CADOException on failure (missing file, wrong password, ...).
    bool Open(const std::wstring& connectionString = L"");
    bool IsOpen() const;
    void Close();

    // Rows written between BeginTrans and CommitTrans become visible together;
    // RollbackTrans discards them. Raise CADOException on failure.
    bool BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();

    // Seconds; 0 leaves the driver's default.
    void SetConnectionTimeout(long seconds) { m_nConnectionTimeout = seconds; }
    long GetConnectionTimeout() const { return m_nConnectionTimeout; }

    const std::wstring& GetConnectionString() const { return m_strConnection; }
    // The full failure report, connection string included: diagnosis only.
    const std::wstring& GetLastErrorString() const { return m_strLastError; }
    // The description of the last failure, free of the connection string.
    const std::wstring& GetErrorDescription() const { return m_strErrorDescription; }
    std::int32_t GetLastError() const { return m_dwLastError; }

private:
    friend class CADORecordset;
    [[noreturn]] void Raise(const CADOException& error, const std::wstring& source);

    std::shared_ptr<ado_detail::Connection> m_pConnection;
    std::wstring m_strConnection;
    std::wstring m_strLastError;
    std::wstring m_strErrorDescription;
    std::int32_t m_dwLastError = 0;
    long m_nConnectionTimeout = 0;
};

// One result of a SELECT statement, read with a static cursor, positioned on
// its first row. Copies share the same open result and edit state.
class CADORecordset {
public:
    CADORecordset();
    explicit CADORecordset(CADODatabase& database);
    CADORecordset(const CADORecordset&) = default;
    CADORecordset& operator=(const CADORecordset&) = default;
    virtual ~CADORecordset();

    // Closes first; an empty statement reuses the stored one. Leading blanks
    // are removed. Returns true when the recordset is open afterwards; raises
    // CADOException on failure (missing table or column, rejected statement).
    bool Open(CADODatabase& database, const std::wstring& statement);
    bool IsOpen() const;
    // True when there is no current row (an empty result).
    bool IsEOF() const;
    // Cancels a row being built, then closes.
    void Close();

    // Begins a new row of the statement's table; true when that is possible.
    bool AddNew();
    // While a row is being built: sets the column (by name, any case) to the
    // text, or to NULL for an empty text, and returns true. Outside an edit:
    // writes nothing and returns false. A text that the column cannot hold
    // (a date column given no date) raises CADOException.
    bool SetFieldValue(const std::wstring& column, const std::wstring& text);
    // Writes the row being built; true at once when none is. Returns true only
    // on plain success; raises CADOException when the row is refused.
    bool Update();

    // The current row's value at the column position (from 0).
    CADOValue GetFieldValue(int index) const;

    const std::wstring& GetQuery() const { return m_strQuery; }
    // The full failure report, statement included: diagnosis only.
    const std::wstring& GetLastErrorString() const { return m_strLastError; }
    std::int32_t GetLastError() const { return m_dwLastError; }

private:
    [[noreturn]] void Raise(const CADOException& error) const;

    std::shared_ptr<ado_detail::Recordset> m_pRecordset;
    std::shared_ptr<ado_detail::Connection> m_pConnection;
    std::wstring m_strQuery;
    // Mutable: const reads still leave their failure report behind.
    mutable std::wstring m_strLastError;
    mutable std::int32_t m_dwLastError = 0;
};

}  // namespace qv
