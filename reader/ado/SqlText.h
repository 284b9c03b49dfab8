#pragma once
// Text at the ODBC boundary. Windows drivers take UTF-16 through the wide
// calls. The SQLite driver that unixODBC loads here has no wide calls, and
// the driver manager narrows UTF-16 for it by dropping the high byte, so off
// Windows the narrow calls carry UTF-8, which SQLite keeps as it is.

#include "OdbcApi.h"

#include <string>
#include <string_view>

namespace qv::ado_detail {

#if defined(_WIN32)
using SqlChar = SQLWCHAR;
inline constexpr SQLSMALLINT kSqlCText = SQL_C_WCHAR;
inline constexpr SQLSMALLINT kSqlTextType = SQL_WVARCHAR;
#else
using SqlChar = SQLCHAR;
inline constexpr SQLSMALLINT kSqlCText = SQL_C_CHAR;
inline constexpr SQLSMALLINT kSqlTextType = SQL_VARCHAR;
#endif
using SqlString = std::basic_string<SqlChar>;

SqlString ToSql(std::wstring_view text);
// Malformed input becomes U+FFFD.
std::wstring FromSql(const SqlChar* text, std::size_t length);
inline std::wstring FromSql(const SqlString& text) { return FromSql(text.data(), text.size()); }

SQLRETURN SqlExecDirect(SQLHSTMT stmt, std::wstring_view sql);
SQLRETURN SqlPrepare(SQLHSTMT stmt, std::wstring_view sql);
SQLRETURN SqlDriverConnect(SQLHDBC dbc, std::wstring_view connectionString);
// The first diagnostic record; false when there is none.
bool SqlFirstDiagnostic(SQLSMALLINT type, SQLHANDLE handle, std::wstring& state,
                        std::wstring& message);
SQLRETURN SqlDescribeColumn(SQLHSTMT stmt, SQLUSMALLINT column, std::wstring& name,
                            SQLSMALLINT& type);

}  // namespace qv::ado_detail
