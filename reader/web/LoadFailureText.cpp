#include "LoadFailureText.h"

namespace qv {

std::wstring ConnectionFailureText(const LoadError& error) {
    std::wstring cause;
    switch (error.kind) {
        case LoadFailure::BadAddress:
            cause = L"the page's address cannot be loaded";
            break;
        case LoadFailure::NameNotResolved:
            cause = L"the server's name cannot be found";
            break;
        case LoadFailure::ConnectionRefused:
            cause = L"the server cannot be reached (the connection was refused)";
            break;
        case LoadFailure::CertificateUntrusted:
            cause = L"the server's certificate is not trusted";
            break;
        case LoadFailure::TimedOut:
            cause = L"the server stopped answering";
            break;
        case LoadFailure::ConnectionDropped:
            cause = L"the connection broke off before the page was complete";
            break;
        case LoadFailure::HttpStatus:
            cause = L"the server answered with error " + std::to_wstring(error.status);
            break;
        case LoadFailure::Unreadable:
            cause = L"the page that came cannot be read";
            break;
        case LoadFailure::TooLarge:
            cause = L"the page is too large";
            break;
        case LoadFailure::TooManyRedirects:
            cause = L"the server sent the browser round in circles (too many redirects)";
            break;
        case LoadFailure::None:
        case LoadFailure::Cancelled:
        case LoadFailure::Other:
            cause = L"the page could not be loaded";
            break;
    }
    return L"Connection failed: " + cause + L".";
}

}  // namespace qv
