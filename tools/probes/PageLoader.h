#pragma once
// What the probe programs share: one document loaded with the browser engine,
// from a local file or an http(s) address, over this platform's transport and
// UI loop, and the edges of a console program (arguments, output, errors).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BrowserEngine.h"

namespace qv::probe {

class PageLoader {
public:
    // caFile names an extra trusted CA (PEM); natively only, since Windows
    // trusts what its root store holds. Throws std::invalid_argument when
    // the CA cannot be used here.
    explicit PageLoader(const std::wstring& caFile);
    ~PageLoader();
    PageLoader(const PageLoader&) = delete;
    PageLoader& operator=(const PageLoader&) = delete;

    // Loads the target and waits for it: nullopt when the document is in,
    // else why it is not.
    std::optional<std::wstring> Load(const std::wstring& target);
    browser::BrowserEngine& Engine();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// "PROGRAM: message" on standard error.
void Complain(const char* program, const std::wstring& message);
// Writes the bytes to standard output as they are: the probe's status, 0, or
// 2 when that failed (told on standard error).
int WriteResult(const char* program, const std::string& bytes);

// Takes "--ca CA.pem" out of the arguments; the CA, or "" without one.
std::wstring TakeCaOption(std::vector<std::wstring>& arguments);

// Runs the probe with its arguments; an exception is told on standard error
// and gives status 2.
int RunProbe(const char* program, std::vector<std::wstring> arguments,
             const std::function<int(std::vector<std::wstring>&)>& probe);

// The arguments after the program name, as wide text.
#ifdef _WIN32
std::vector<std::wstring> Arguments(int argc, wchar_t** argv);
#else
std::vector<std::wstring> Arguments(int argc, char** argv);
#endif

}  // namespace qv::probe
