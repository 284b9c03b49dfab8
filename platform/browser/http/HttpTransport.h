#pragma once
// One HTTP(S) exchange, redirects included, as the browser engine needs it.
// Fetch blocks, so it runs on a worker thread, never on the UI thread.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>

#include "LoadFailure.h"

namespace qv::http {

struct HttpRequest {
    std::wstring method;  // "GET" or "POST"
    std::wstring url;
    std::string body;         // sent as is with POST
    std::string contentType;  // of the body; empty for none
};

struct HttpResponse {
    // true when a response arrived (any status); false with `error` set when
    // the exchange failed: name, connection, certificate, time-out, cancel.
    bool ok = false;
    int status = 0;
    std::wstring finalUrl;  // the address after every redirect
    std::string contentType;
    std::string body;
    std::wstring error;
    // With ok == false: what kind of failure `error` describes.
    LoadFailure failure = LoadFailure::None;
};

// What every transport holds to: the longest response body taken, the most
// redirects followed, and how the program names itself to servers.
inline constexpr std::size_t kMaxResponseBytes = 256u << 20;
inline constexpr int kMaxRedirects = 20;
inline constexpr wchar_t kUserAgent[] = L"QVReader/1.0";

// The text of a failed load: "Cannot load URL: what".
inline std::wstring DescribeLoadFailure(const std::wstring& url, const std::wstring& what) {
    return L"Cannot load " + url + L": " + what;
}

struct HttpTransportOptions {
    // Waiting for a connection (TLS hand-shake included).
    std::chrono::milliseconds connectTimeout{30000};
    // Longest silence of the server while a response is awaited or read.
    std::chrono::milliseconds receiveTimeout{120000};
    // A PEM file of certificates trusted besides the system's own (for a
    // test CA). Certificates are always verified; there is no switch to stop it.
    std::wstring extraCaFile;
};

class IHttpTransport {
public:
    virtual ~IHttpTransport() = default;
    // `cancelled` may turn true from another thread; the exchange then ends
    // soon with ok == false.
    virtual HttpResponse Fetch(const HttpRequest& request, const std::atomic<bool>& cancelled) = 0;
};

}  // namespace qv::http
