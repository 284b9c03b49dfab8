#include "WinInetTransport.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "TextConvert.h"
#include "WinHandles.h"

namespace qv::http {
namespace {

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using UniqueInternet = win::UniqueWin<HINTERNET, InternetHandleTraits>;
using win::UniqueHandle;

// The kind of a failed WinINet call, for the words the reader's log uses.
LoadFailure FailureOf(DWORD code) {
    switch (code) {
        case ERROR_INTERNET_INVALID_URL:
        case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
            return LoadFailure::BadAddress;
        case ERROR_INTERNET_NAME_NOT_RESOLVED:
            return LoadFailure::NameNotResolved;
        case ERROR_INTERNET_CANNOT_CONNECT:
            return LoadFailure::ConnectionRefused;
        case ERROR_INTERNET_INVALID_CA:
        case ERROR_INTERNET_SEC_CERT_CN_INVALID:
        case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
        case ERROR_INTERNET_SEC_INVALID_CERT:
        case ERROR_INTERNET_SEC_CERT_ERRORS:
        case ERROR_INTERNET_SEC_CERT_REVOKED:
        case ERROR_INTERNET_SEC_CERT_NO_REV:
        case ERROR_INTERNET_SEC_CERT_REV_FAILED:
            return LoadFailure::CertificateUntrusted;
        case ERROR_INTERNET_TIMEOUT:
            return LoadFailure::TimedOut;
        case ERROR_INTERNET_CONNECTION_RESET:
        case ERROR_INTERNET_CONNECTION_ABORTED:
        case ERROR_INTERNET_INCORRECT_HANDLE_STATE:
        case ERROR_HTTP_INVALID_SERVER_RESPONSE:
            return LoadFailure::ConnectionDropped;
        default:
            return LoadFailure::Other;
    }
}

std::wstring ErrorText(DWORD code) {
    std::wstring text;
    wchar_t* buffer = nullptr;
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE |
                             FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         ::GetModuleHandleW(L"wininet.dll"), code, 0,
                         reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length && buffer) {
        text.assign(buffer, length);
        while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' ||
                                 text.back() == L' ' || text.back() == L'.')) {
            text.pop_back();
        }
    }
    if (buffer) ::LocalFree(buffer);
    if (text.empty()) {
        switch (code) {
            case ERROR_INTERNET_TIMEOUT:
                text = L"the operation timed out";
                break;
            case ERROR_INTERNET_NAME_NOT_RESOLVED:
                text = L"the server name cannot be resolved";
                break;
            case ERROR_INTERNET_CANNOT_CONNECT:
                text = L"cannot connect to the server";
                break;
            case ERROR_INTERNET_CONNECTION_RESET:
                text = L"the connection was reset";
                break;
            case ERROR_INTERNET_INVALID_CA:
                text = L"the certificate authority is not trusted";
                break;
            case ERROR_INTERNET_SEC_CERT_CN_INVALID:
                text = L"the certificate is for another host";
                break;
            case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
                text = L"the certificate has expired";
                break;
            case ERROR_INTERNET_SEC_INVALID_CERT:
                text = L"the certificate is invalid";
                break;
            default:
                text = L"the request failed";
                break;
        }
    }
    return text + L" (WinINet error " + std::to_wstring(code) + L")";
}

// What the status callback reports about one request. Owned jointly by the
// fetching thread and the request handle's context; the handle's part is let
// go in its closing notification, which may come after the fetch has given up
// on a cancelled or timed-out request.
struct RequestState {
    UniqueHandle done{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::atomic<DWORD> error{ERROR_SUCCESS};
    std::atomic<DWORD_PTR> result{0};
    // For the time-outs: whether the connection stands, and when WinINet last
    // reported a step of the exchange.
    std::atomic<bool> connected{false};
    std::atomic<std::chrono::steady_clock::rep> lastProgress{Now()};
    static std::chrono::steady_clock::rep Now() {
        return std::chrono::steady_clock::now().time_since_epoch().count();
    }
    // Buffers a pending operation may still use after the fetch gave up.
    std::wstring headers;
    std::string payload;
    std::vector<char> chunk = std::vector<char>(64 * 1024);
    DWORD read = 0;
};
using RequestContext = std::shared_ptr<RequestState>;

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    auto* owner = reinterpret_cast<RequestContext*>(context);
    if (!owner) return;
    if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
        const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        (*owner)->result = result->dwResult;
        (*owner)->error = result->dwError;
        ::SetEvent((*owner)->done.get());
    } else if (status == INTERNET_STATUS_CONNECTED_TO_SERVER) {
        (*owner)->connected = true;
        (*owner)->lastProgress = RequestState::Now();
    } else if (status == INTERNET_STATUS_REQUEST_SENT ||
               status == INTERNET_STATUS_RESPONSE_RECEIVED) {
        (*owner)->lastProgress = RequestState::Now();
    } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
        delete owner;  // the last notification of the handle
    }
}

enum class Wait { Done, Cancelled, TimedOut };

// Waits for a pending operation; the caller's cancel and the time limits are
// looked at every few milliseconds: `connectLimit` until the connection
// stands, then `idleLimit` since the last step WinINet reported.
Wait AwaitCompletion(RequestState& state, const std::atomic<bool>& cancelled,
                     std::chrono::milliseconds connectLimit, std::chrono::milliseconds idleLimit) {
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    for (;;) {
        if (::WaitForSingleObject(state.done.get(), 20) == WAIT_OBJECT_0) return Wait::Done;
        if (cancelled.load()) return Wait::Cancelled;
        const auto now = Clock::now();
        if (!state.connected.load()) {
            if (now - started >= connectLimit) return Wait::TimedOut;
        } else {
            const Clock::time_point last{Clock::duration{state.lastProgress.load()}};
            if (now - std::max(last, started) >= idleLimit) return Wait::TimedOut;
        }
    }
}

struct Hop {
    bool ok = false;
    int status = 0;
    std::wstring url;  // as WinINet reports it after its own redirects
    std::wstring location;
    std::string contentType;
    std::string body;
    std::wstring error;
    LoadFailure failure = LoadFailure::None;

    Hop& Fail(LoadFailure kind, std::wstring text) {
        failure = kind;
        error = std::move(text);
        return *this;
    }
};

std::wstring QueryHeader(HINTERNET request, DWORD which) {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        DWORD index = 0;
        if (::HttpQueryInfoW(request, which, buffer.data(), &bytes, &index)) {
            return std::wstring(buffer.data(), bytes / sizeof(wchar_t));
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.resize(bytes / sizeof(wchar_t) + 1);
    }
}

std::wstring QueryUrl(HINTERNET request) {
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (::InternetQueryOptionW(request, INTERNET_OPTION_URL, buffer.data(), &bytes)) {
            return std::wstring(buffer.data());
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.resize(bytes / sizeof(wchar_t) + 1);
    }
}

std::wstring CombineUrl(const std::wstring& base, const std::wstring& relative) {
    std::vector<wchar_t> buffer(2048);
    DWORD chars = static_cast<DWORD>(buffer.size());
    if (!::InternetCombineUrlW(base.c_str(), relative.c_str(), buffer.data(), &chars,
                               ICU_NO_ENCODE)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        buffer.resize(chars + 1);
        chars = static_cast<DWORD>(buffer.size());
        if (!::InternetCombineUrlW(base.c_str(), relative.c_str(), buffer.data(), &chars,
                                   ICU_NO_ENCODE)) {
            return {};
        }
    }
    return std::wstring(buffer.data(), chars);
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

WinInetTransport::WinInetTransport(HttpTransportOptions options) : options_(std::move(options)) {
    if (!options_.extraCaFile.empty()) {
        throw std::invalid_argument(
            "WinINet trusts the system root store only; add the CA there instead of naming a file");
    }
    // Asynchronous, because closing a handle does not end a blocked
    // synchronous call everywhere (not under Wine): a cancel or a time-out
    // must not wait for the server.
    session_ = ::InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                               INTERNET_FLAG_ASYNC);
    if (!session_) {
        throw std::runtime_error("InternetOpen failed, error " + std::to_string(::GetLastError()));
    }
    if (::InternetSetStatusCallbackW(session_, &OnStatus) == INTERNET_INVALID_STATUS_CALLBACK) {
        ::InternetCloseHandle(session_);
        throw std::runtime_error("InternetSetStatusCallback failed");
    }
    // Children (connections and requests) inherit these.
    DWORD connect = static_cast<DWORD>(options_.connectTimeout.count());
    DWORD receive = static_cast<DWORD>(options_.receiveTimeout.count());
    ::InternetSetOptionW(session_, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
    ::InternetSetOptionW(session_, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
    ::InternetSetOptionW(session_, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof(receive));
}

WinInetTransport::~WinInetTransport() {
    ::InternetCloseHandle(session_);
}

namespace {

Hop Exchange(HINTERNET session, const HttpTransportOptions& options, const std::wstring& url,
             const std::wstring& method, const std::string& body, const std::string& contentType,
             const std::atomic<bool>& cancelled) {
    Hop hop;
    hop.url = url;

    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;  // non-zero: point into `url`
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (url.empty() ||
        !::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        hop.Fail(LoadFailure::BadAddress, DescribeLoadFailure(url, L"not a valid address"));
        return hop;
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        hop.Fail(LoadFailure::BadAddress,
                 DescribeLoadFailure(url, L"only http and https addresses can be loaded"));
        return hop;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring target(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) target.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    // A fragment is never sent to the server.
    if (const auto hash = target.find(L'#'); hash != std::wstring::npos) target.erase(hash);
    if (target.empty()) target = L"/";
    if (cancelled.load()) {
        hop.Fail(LoadFailure::Cancelled, DescribeLoadFailure(url, L"cancelled"));
        return hop;
    }

    // InternetConnect and HttpOpenRequest do no network work; they return at once.
    UniqueInternet connect(::InternetConnectW(session, host.c_str(), parts.nPort, nullptr, nullptr,
                                              INTERNET_SERVICE_HTTP, 0, 0));
    if (!connect) {
        const DWORD error = ::GetLastError();
        hop.Fail(FailureOf(error), DescribeLoadFailure(url, ErrorText(error)));
        return hop;
    }
    // Redirects are followed by Fetch, the same way on every WinINet (some
    // resend a 307 body wrongly, some leave a 308 alone). Cookies of every
    // answer still go to WinINet's store.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const wchar_t* accept[] = {L"*/*", nullptr};
    auto state = std::make_shared<RequestState>();
    if (!state->done) {
        const DWORD error = ::GetLastError();
        hop.Fail(FailureOf(error), DescribeLoadFailure(url, ErrorText(error)));
        return hop;
    }
    // Released by OnStatus when the handle closes (or below if it never opens).
    auto owner = std::make_unique<RequestContext>(state);
    UniqueInternet request(::HttpOpenRequestW(connect.get(), method.c_str(), target.c_str(),
                                              nullptr, nullptr, accept, flags,
                                              reinterpret_cast<DWORD_PTR>(owner.get())));
    if (!request) {
        const DWORD error = ::GetLastError();
        hop.Fail(FailureOf(error), DescribeLoadFailure(url, ErrorText(error)));
        return hop;
    }
    owner.release();
    const HINTERNET h = request.get();

    // Ends the exchange: the handles close on every way out, which also
    // abandons a pending operation of a cancel or a time-out.
    auto failed = [&](Wait why, DWORD error) {
        const std::wstring at = hop.url;
        switch (why) {
            case Wait::Cancelled:
                hop.Fail(LoadFailure::Cancelled, DescribeLoadFailure(at, L"cancelled"));
                break;
            case Wait::TimedOut:
                hop.Fail(LoadFailure::TimedOut,
                         DescribeLoadFailure(at, L"no answer in time (time-out)"));
                break;
            case Wait::Done:
                hop.Fail(FailureOf(error), DescribeLoadFailure(at, ErrorText(error)));
                break;
        }
        return hop;
    };
    auto pending = [&](BOOL started, DWORD_PTR* result) {
        if (started) {
            if (result) *result = TRUE;
            return std::pair{Wait::Done, static_cast<DWORD>(ERROR_SUCCESS)};
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_IO_PENDING) return std::pair{Wait::Done, error};
        const Wait why =
            AwaitCompletion(*state, cancelled, options.connectTimeout, options.receiveTimeout);
        if (why != Wait::Done) return std::pair{why, static_cast<DWORD>(ERROR_SUCCESS)};
        if (result) *result = state->result.load();
        return std::pair{Wait::Done, state->error.load()};
    };

    if (!contentType.empty()) {
        state->headers = L"Content-Type: " + Utf8ToWide(contentType) + L"\r\n";
    }
    state->payload = body;
    const BOOL sent =
        ::HttpSendRequestW(h, state->headers.empty() ? nullptr : state->headers.c_str(),
                           static_cast<DWORD>(state->headers.size()),
                           state->payload.empty() ? nullptr : state->payload.data(),
                           static_cast<DWORD>(state->payload.size()));
    if (auto [why, error] = pending(sent, nullptr); why != Wait::Done || error != ERROR_SUCCESS) {
        return failed(why, error);
    }

    if (const std::wstring finalUrl = QueryUrl(h); !finalUrl.empty()) hop.url = finalUrl;
    DWORD status = 0;
    DWORD size = sizeof(status);
    DWORD index = 0;
    ::HttpQueryInfoW(h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index);
    hop.status = static_cast<int>(status);
    hop.contentType = WideToUtf8(QueryHeader(h, HTTP_QUERY_CONTENT_TYPE));
    // WinINet ends a read quietly when the server closes the connection
    // early; only the announced length tells a cut page from a whole one.
    std::size_t announced = 0;  // 0: not announced, or a body of none
    if (const std::wstring length = QueryHeader(h, HTTP_QUERY_CONTENT_LENGTH);
        !length.empty() && length.size() < 20 &&
        std::all_of(length.begin(), length.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        announced = static_cast<std::size_t>(std::stoull(length));
    if (hop.status == 204 || hop.status == 304 || hop.status < 200) announced = 0;
    hop.location = QueryHeader(h, HTTP_QUERY_LOCATION);

    state->connected = true;  // a response came: from here on only silence counts
    for (;;) {
        state->lastProgress = RequestState::Now();
        state->read = 0;  // written when a pending read completes
        const BOOL got = ::InternetReadFile(h, state->chunk.data(),
                                            static_cast<DWORD>(state->chunk.size()), &state->read);
        if (auto [why, error] = pending(got, nullptr);
            why != Wait::Done || error != ERROR_SUCCESS) {
            return failed(why, error);
        }
        const DWORD read = state->read;
        if (read == 0) break;
        if (hop.body.size() + read > kMaxResponseBytes) {
            hop.Fail(LoadFailure::TooLarge,
                     DescribeLoadFailure(hop.url, L"the response is larger than " +
                                                      std::to_wstring(kMaxResponseBytes >> 20) +
                                                      L" MiB"));
            return hop;
        }
        hop.body.append(state->chunk.data(), read);
    }
    if (cancelled.load()) return failed(Wait::Cancelled, ERROR_SUCCESS);
    if (hop.body.size() < announced) {
        hop.Fail(LoadFailure::ConnectionDropped,
                 DescribeLoadFailure(hop.url, L"the connection closed after " +
                                                  std::to_wstring(hop.body.size()) + L" of " +
                                                  std::to_wstring(announced) + L" bytes"));
        return hop;
    }
    hop.ok = true;
    return hop;
}

}  // namespace

HttpResponse WinInetTransport::Fetch(const HttpRequest& request,
                                     const std::atomic<bool>& cancelled) {
    HttpResponse response;
    std::wstring url = request.url;
    std::wstring method = request.method;
    std::string body = request.body;
    std::string contentType = request.contentType;
    if (method != L"GET" && method != L"POST") {
        response.finalUrl = url;
        response.error = DescribeLoadFailure(url, L"unsupported method " + method);
        response.failure = LoadFailure::BadAddress;
        return response;
    }

    // 301/302/303 turn a POST into a GET, 307/308 repeat it, as browsers do.
    for (int hops = 0;; ++hops) {
        Hop hop = Exchange(session_, options_, url, method, body, contentType, cancelled);
        response.finalUrl = hop.url;
        if (!hop.ok) {
            response.error = hop.error;
            response.failure = hop.failure;
            return response;
        }
        if (IsRedirect(hop.status) && !hop.location.empty()) {
            if (hops == kMaxRedirects) {
                response.error = DescribeLoadFailure(hop.url, L"too many redirects");
                response.failure = LoadFailure::TooManyRedirects;
                return response;
            }
            const std::wstring next = CombineUrl(hop.url, hop.location);
            if (next.empty()) {
                response.error =
                    DescribeLoadFailure(hop.url, L"invalid redirect to " + hop.location);
                response.failure = LoadFailure::BadAddress;
                return response;
            }
            if (hop.status != 307 && hop.status != 308 && method == L"POST") {
                method = L"GET";
                body.clear();
                contentType.clear();
            }
            url = next;
            continue;
        }
        response.ok = true;
        response.status = hop.status;
        response.contentType = std::move(hop.contentType);
        response.body = std::move(hop.body);
        return response;
    }
}

}  // namespace qv::http
