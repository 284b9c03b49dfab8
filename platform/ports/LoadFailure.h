#pragma once
// Why a page did not load, as far as the reader must tell its user: each kind
// is named by the account's log line in plain words.

#include <string>

namespace qv {

enum class LoadFailure {
    None,
    Cancelled,             // a newer navigation or Stop took its place
    BadAddress,            // not an address that can be loaded
    NameNotResolved,       // the host name is unknown
    ConnectionRefused,     // nothing listens at the host and port
    CertificateUntrusted,  // the server's certificate is not trusted or not valid for it
    TimedOut,              // the server went silent
    ConnectionDropped,     // the connection closed before the page was whole
    HttpStatus,            // the server answered with an error status (400 and above)
    Unreadable,            // the answer came but holds no document
    TooLarge,              // the page exceeds what the browser takes
    TooManyRedirects,
    Other,
};

struct LoadError {
    LoadFailure kind = LoadFailure::Other;
    int status = 0;        // with HttpStatus
    std::wstring message;  // the transport's own words, for diagnostics
};

}  // namespace qv
