#include "SqlText.h"

#include <algorithm>

#include "TextConvert.h"

namespace qv::ado_detail {

#if defined(_WIN32)
static_assert(sizeof(SQLWCHAR) == sizeof(wchar_t), "UTF-16 on Windows");

SqlString ToSql(std::wstring_view text) {
    return SqlString(reinterpret_cast<const SQLWCHAR*>(text.data()), text.size());
}

std::wstring FromSql(const SqlChar* text, std::size_t length) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text), length);
}

SQLRETURN SqlExecDirect(SQLHSTMT stmt, std::wstring_view sql) {
    SqlString text = ToSql(sql);
    return SQLExecDirectW(stmt, text.data(), static_cast<SQLINTEGER>(text.size()));
}

SQLRETURN SqlPrepare(SQLHSTMT stmt, std::wstring_view sql) {
    SqlString text = ToSql(sql);
    return SQLPrepareW(stmt, text.data(), static_cast<SQLINTEGER>(text.size()));
}

SQLRETURN SqlDriverConnect(SQLHDBC dbc, std::wstring_view connectionString) {
    SqlString text = ToSql(connectionString);
    SQLSMALLINT outLength = 0;
    return SQLDriverConnectW(dbc, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                             nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
}

bool SqlFirstDiagnostic(SQLSMALLINT type, SQLHANDLE handle, std::wstring& state,
                        std::wstring& message) {
    SQLWCHAR stateBuffer[6] = {};
    SQLWCHAR messageBuffer[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLGetDiagRecW(type, handle, 1, stateBuffer, &native, messageBuffer, 1024, &length);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return false;
    state = FromSql(stateBuffer, 5);
    message = FromSql(messageBuffer, static_cast<std::size_t>(std::clamp<SQLSMALLINT>(length, 0, 1023)));
    return true;
}

SQLRETURN SqlDescribeColumn(SQLHSTMT stmt, SQLUSMALLINT column, std::wstring& name,
                            SQLSMALLINT& type) {
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT length = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    const SQLRETURN rc =
        SQLDescribeColW(stmt, column, buffer, 256, &length, &type, &size, &digits, &nullable);
    name = FromSql(buffer, static_cast<std::size_t>(std::clamp<SQLSMALLINT>(length, 0, 255)));
    return rc;
}

#else

SqlString ToSql(std::wstring_view text) {
    const std::string bytes = WideToUtf8(text);
    return SqlString(bytes.begin(), bytes.end());
}

std::wstring FromSql(const SqlChar* text, std::size_t length) {
    return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(text), length));
}

SQLRETURN SqlExecDirect(SQLHSTMT stmt, std::wstring_view sql) {
    SqlString text = ToSql(sql);
    return SQLExecDirect(stmt, text.data(), static_cast<SQLINTEGER>(text.size()));
}

SQLRETURN SqlPrepare(SQLHSTMT stmt, std::wstring_view sql) {
    SqlString text = ToSql(sql);
    return SQLPrepare(stmt, text.data(), static_cast<SQLINTEGER>(text.size()));
}

SQLRETURN SqlDriverConnect(SQLHDBC dbc, std::wstring_view connectionString) {
    SqlString text = ToSql(connectionString);
    SQLSMALLINT outLength = 0;
    return SQLDriverConnect(dbc, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                            nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
}

bool SqlFirstDiagnostic(SQLSMALLINT type, SQLHANDLE handle, std::wstring& state,
                        std::wstring& message) {
    SQLCHAR stateBuffer[6] = {};
    SQLCHAR messageBuffer[2048] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    const SQLRETURN rc =
        SQLGetDiagRec(type, handle, 1, stateBuffer, &native, messageBuffer, 2048, &length);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) return false;
    state = FromSql(stateBuffer, 5);
    message = FromSql(messageBuffer, static_cast<std::size_t>(std::clamp<SQLSMALLINT>(length, 0, 2047)));
    return true;
}

SQLRETURN SqlDescribeColumn(SQLHSTMT stmt, SQLUSMALLINT column, std::wstring& name,
                            SQLSMALLINT& type) {
    SQLCHAR buffer[1024] = {};
    SQLSMALLINT length = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    const SQLRETURN rc =
        SQLDescribeCol(stmt, column, buffer, 1024, &length, &type, &size, &digits, &nullable);
    name = FromSql(buffer, static_cast<std::size_t>(std::clamp<SQLSMALLINT>(length, 0, 1023)));
    return rc;
}

#endif

}  // namespace qv::ado_detail
