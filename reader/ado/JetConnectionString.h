#pragma once
// The OLE DB connection string of a Jet database, read into what the ODBC
// side needs: "Provider=...;Data Source=...;Jet OLEDB:Database Password=...".

#include <map>
#include <string>
#include <string_view>

namespace qv::ado_detail {

struct JetConnection {
    std::wstring provider;
    std::wstring dataSource;
    std::wstring password;
};

// Keys are matched without regard to case or surrounding blanks; values are
// kept exactly, and may be quoted ("..." or '...', the quote doubled inside)
// to hold a ';'. Raises Failure when there is no Data Source or the provider
// is not a Jet one. The failure text never repeats the string.
JetConnection ParseJetConnectionString(std::wstring_view text);

}  // namespace qv::ado_detail
