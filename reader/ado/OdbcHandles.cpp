#include "OdbcHandles.h"

#include <mutex>

#include "SqlText.h"

namespace qv::ado_detail {
namespace {

bool Contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

std::int32_t CodeFor(const std::wstring& state, const std::wstring& message) {
    if (Contains(message, L"no such table")) return codes::kNoTable;
    if (Contains(message, L"no such column")) return codes::kMissingParameter;
    if (Contains(message, L"syntax error")) return codes::kErrorsInCommand;
    if (state == L"42S02" || state == L"S0002") return codes::kNoTable;
    if (state == L"42S22" || state == L"S0022" || state == L"07002") return codes::kMissingParameter;
    if (state.rfind(L"42", 0) == 0 || state == L"37000") return codes::kErrorsInCommand;
    if (state.rfind(L"22", 0) == 0) return codes::kCantConvertValue;
    if (state.rfind(L"23", 0) == 0) return codes::kIntegrityViolation;
    if (state == L"HYT00" || state == L"HYT01") return codes::kTimeout;
    if (state == L"HY001") return codes::kOutOfMemory;
    return codes::kUnspecified;
}

}  // namespace

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        m_type = other.m_type;
        m_handle = other.m_handle;
        other.m_handle = SQL_NULL_HANDLE;
    }
    return *this;
}

void OdbcHandle::Reset() {
    if (m_handle != SQL_NULL_HANDLE) {
        SQLFreeHandle(m_type, m_handle);
        m_handle = SQL_NULL_HANDLE;
    }
}

SQLHENV OdbcEnvironment() {
    // One environment for the process, never freed: connections may be
    // closed from destructors at any time, even late in the process's end.
    static SQLHENV environment = SQL_NULL_HENV;
    static std::once_flag once;
    std::call_once(once, [] {
        SQLHENV env = SQL_NULL_HENV;
        if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return;
        if (!Succeeded(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                                     reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
            SQLFreeHandle(SQL_HANDLE_ENV, env);
            return;
        }
        environment = env;
    });
    if (environment == SQL_NULL_HENV) {
        throw Failure{L"The ODBC driver manager could not be initialised.", codes::kUnspecified,
                      L"ODBC"};
    }
    return environment;
}

OdbcHandle AllocateConnection() {
    SQLHDBC dbc = SQL_NULL_HDBC;
    const SQLHENV env = OdbcEnvironment();
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        throw DiagnosticFailure(SQL_HANDLE_ENV, env, L"ODBC",
                                L"An ODBC connection could not be allocated.");
    }
    return OdbcHandle(SQL_HANDLE_DBC, dbc);
}

OdbcHandle AllocateStatement(SQLHDBC connection) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection, &stmt))) {
        throw DiagnosticFailure(SQL_HANDLE_DBC, connection, L"ODBC",
                                L"An ODBC statement could not be allocated.");
    }
    return OdbcHandle(SQL_HANDLE_STMT, stmt);
}

bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

std::wstring FirstSqlState(SQLSMALLINT type, SQLHANDLE handle) {
    std::wstring state, message;
    if (!SqlFirstDiagnostic(type, handle, state, message)) return {};
    return state;
}

Failure DiagnosticFailure(SQLSMALLINT type, SQLHANDLE handle, const std::wstring& source,
                          const std::wstring& fallback) {
    std::wstring state, text;
    if (!SqlFirstDiagnostic(type, handle, state, text)) {
        return Failure{fallback, codes::kUnspecified, source};
    }
    if (text.empty()) text = fallback;
    return Failure{text, CodeFor(state, text), source};
}

void Check(SQLRETURN rc, const OdbcHandle& handle, const std::wstring& source,
           const wchar_t* what) {
    if (Succeeded(rc)) return;
    if (rc == SQL_INVALID_HANDLE) {
        throw Failure{std::wstring(what) + L": invalid ODBC handle.", codes::kInvalidPointer,
                      source};
    }
    throw DiagnosticFailure(handle.Type(), handle.Get(), source,
                            std::wstring(what) + L" failed without a description.");
}

DriverConnection ConnectFirstAvailable(const std::vector<DriverChoice>& choices,
                                       long loginTimeoutSeconds) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        OdbcHandle dbc = AllocateConnection();
        if (loginTimeoutSeconds > 0) {
            SQLSetConnectAttrW(
                dbc.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(loginTimeoutSeconds)), 0);
        }
        const SQLRETURN rc = SqlDriverConnect(dbc.Get(), choices[i].connectionString);
        if (Succeeded(rc)) return {std::move(dbc), choices[i].driver};
        const bool noDriver = FirstSqlState(SQL_HANDLE_DBC, dbc.Get()) == L"IM002";
        if (noDriver && i + 1 < choices.size()) continue;
        Failure failure = DiagnosticFailure(SQL_HANDLE_DBC, dbc.Get(), choices[i].driver,
                                            L"The ODBC driver refused the connection.");
        if (noDriver) {
            failure.description = L"The ODBC driver '" + choices[i].driver +
                                  L"' is not installed: " + failure.description;
        }
        throw failure;
    }
    throw Failure{L"No ODBC driver was given for the file.", codes::kUnspecified, L"ODBC"};
}

}  // namespace qv::ado_detail
