#pragma once
// The words an account's log line uses for a page that did not load: what
// went wrong in terms a vendor can act on, without the transport's codes.

#include <string>

#include "LoadFailure.h"

namespace qv {

// "Connection failed: " and the cause, ending in a full stop; for example
// "Connection failed: the server's certificate is not trusted."
std::wstring ConnectionFailureText(const LoadError& error);

}  // namespace qv
