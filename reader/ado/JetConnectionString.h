#pragma once
// The OLE DB connection string of a Jet database, read into what the ODBC
// side needs: "Provider=...;Data Source=...;Jet OLEDB:Database Password=...".

#include <map>
#include <string>
#include <string_view>

namespace qv {

// A value written so that ParseJetConnectionString gives it back exactly:
// unchanged when it holds no ';', starts with no quote and neither starts nor
// ends with white space; otherwise in double quotes, or in single quotes when
// it holds a double quote, the quote doubled inside. Text is never pasted into
// a connection string without it.
std::wstring JetConnectionValue(std::wstring_view value);

}  // namespace qv

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
