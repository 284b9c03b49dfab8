#pragma once
// Owners of ODBC handles and the reading of a driver's diagnostics.

#include "OdbcApi.h"

#include <string>
#include <vector>

#include "AdoFailure.h"
#include "DatabaseFile.h"

namespace qv::ado_detail {

class OdbcHandle {
public:
    OdbcHandle() = default;
    OdbcHandle(SQLSMALLINT type, SQLHANDLE handle) : m_type(type), m_handle(handle) {}
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;
    OdbcHandle(OdbcHandle&& other) noexcept { *this = std::move(other); }
    OdbcHandle& operator=(OdbcHandle&& other) noexcept;
    ~OdbcHandle() { Reset(); }

    SQLHANDLE Get() const { return m_handle; }
    SQLSMALLINT Type() const { return m_type; }
    explicit operator bool() const { return m_handle != SQL_NULL_HANDLE; }
    void Reset();

private:
    SQLSMALLINT m_type = 0;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

// The shared environment (ODBC 3 behaviour); raises Failure when the driver
// manager is missing.
SQLHENV OdbcEnvironment();

OdbcHandle AllocateConnection();
OdbcHandle AllocateStatement(SQLHDBC connection);

bool Succeeded(SQLRETURN rc);

// The first diagnostic record of the handle as a Failure: the driver's text
// and a code in the HRESULT form chosen from SQLSTATE and text.
Failure DiagnosticFailure(SQLSMALLINT type, SQLHANDLE handle, const std::wstring& source,
                          const std::wstring& fallback);

// The SQLSTATE of the handle's first diagnostic record, or empty.
std::wstring FirstSqlState(SQLSMALLINT type, SQLHANDLE handle);

struct DriverConnection {
    OdbcHandle dbc;
    std::wstring driver;  // the choice that connected
};

// Connects with the first choice whose driver is installed; a login time-out
// of 0 leaves the driver's own. Raises Failure with the driver's diagnostics
// when the driver refuses, and says so when it is missing under every name.
DriverConnection ConnectFirstAvailable(const std::vector<DriverChoice>& choices,
                                       long loginTimeoutSeconds);

// Raises the handle's diagnostics when rc is a failure.
void Check(SQLRETURN rc, const OdbcHandle& handle, const std::wstring& source,
           const wchar_t* what);

}  // namespace qv::ado_detail
