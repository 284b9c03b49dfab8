#pragma once
// Which ODBC driver serves a database file, and the ODBC connection string
// that reaches it from this process (under Wine the driver is the host's, so
// it needs the host's path).

#include <string>
#include <vector>

namespace qv::ado_detail {

enum class DatabaseKind { Missing, Jet, Sqlite, Unknown };

// By the file's first bytes: "Standard Jet DB" (or ACE) at offset 4, or
// "SQLite format 3\0" at the start.
DatabaseKind SniffDatabaseFile(const std::wstring& path);

struct DriverChoice {
    std::wstring driver;            // as named in the connection string
    std::wstring connectionString;  // for SQLDriverConnect
};

// Connection strings to try in order (a driver may be missing under one of
// its names). The Jet password goes to the Access driver; SQLite files check
// it themselves. Empty when the path cannot be worked out for the driver
// (DriverPath). Any path reaches the SQLite driver: one that its plain value
// cannot carry (a ';', for example) goes as an SQLite URI. Only with
// allowCreate may the SQLite driver make a missing file.
std::vector<DriverChoice> DriverChoicesFor(DatabaseKind kind, const std::wstring& path,
                                           const std::wstring& jetPassword, long timeoutSeconds,
                                           bool allowCreate = false);

// The path the driver must see: the host path under Wine, else unchanged.
// Empty when it cannot be worked out.
std::wstring DriverPath(const std::wstring& path);
bool RunningUnderWine();

}  // namespace qv::ado_detail
