#pragma once
// The hand-written text from which the Corvane stand-in makes account.ini.
// UTF-8, one statement a line, '#' starts a comment:
//
//   group  Shop.mdb   "db pass"
//   account alice     s3cret
//   account "Zoë M"   "pass word"
//
// Every value must survive the trip into account.ini, so the parser refuses
// what that file cannot carry (';', characters without a Windows-1252 byte,
// control characters) instead of letting the writer mangle it. The layout
// is described for people in tools/corvane/README.md.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct VendorAccount {
    std::wstring nickname;
    std::wstring password;
};

struct DatabaseGroup {
    std::wstring databaseFile;  // a bare file name ending in ".mdb"
    std::wstring databasePassword;
    std::vector<VendorAccount> accounts;
};

struct DescriptionError {
    int line = 0;  // 1-based
    std::string message;  // UTF-8
};

struct ParsedDescription {
    std::vector<DatabaseGroup> groups;  // empty when error is set
    std::optional<DescriptionError> error;
};

// Stops at the first error. An optional UTF-8 byte-order mark is skipped;
// lines may end in LF or CRLF.
ParsedDescription ParseAccountDescription(std::string_view text);

}  // namespace qv
