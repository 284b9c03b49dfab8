#include "CurlTransport.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>

#include "TextConvert.h"
#include "WholeFile.h"

namespace qv::http {
namespace {

// Larger bodies are refused rather than exhausting memory; a report page of
// a thousand rows is a few megabytes.

void InitialiseCurlOnce() {
    static const CURLcode status = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (status != CURLE_OK) {
        throw std::runtime_error(std::string("libcurl cannot start: ") +
                                 curl_easy_strerror(status));
    }
}

// The system's CA bundle as this libcurl would load it, so that an extra CA
// adds to the system's trust rather than replacing it.
std::string SystemCaBundle() {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> probe(curl_easy_init(), &curl_easy_cleanup);
    char* path = nullptr;
    if (!probe || curl_easy_getinfo(probe.get(), CURLINFO_CAINFO, &path) != CURLE_OK || !path) {
        return {};
    }
    return ReadWholeFile(Utf8ToWide(path)).value_or(std::string());
}

struct Transfer {
    const std::atomic<bool>* cancelled = nullptr;
    std::string body;
    bool tooLarge = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* context) {
    auto* transfer = static_cast<Transfer*>(context);
    const size_t bytes = size * count;
    if (transfer->body.size() + bytes > kMaxResponseBytes) {
        transfer->tooLarge = true;
        return 0;  // aborts the transfer
    }
    transfer->body.append(data, bytes);
    return bytes;
}

int OnProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<Transfer*>(context);
    return transfer->cancelled->load() ? 1 : 0;
}

// The kind of a failed transfer, for the words the reader's log uses.
LoadFailure FailureOf(CURLcode status) {
    switch (status) {
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return LoadFailure::BadAddress;
        case CURLE_COULDNT_RESOLVE_HOST:
            return LoadFailure::NameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return LoadFailure::ConnectionRefused;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return LoadFailure::CertificateUntrusted;
        case CURLE_OPERATION_TIMEDOUT:
            return LoadFailure::TimedOut;
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
            return LoadFailure::ConnectionDropped;
        case CURLE_TOO_MANY_REDIRECTS:
            return LoadFailure::TooManyRedirects;
        default:
            return LoadFailure::Other;
    }
}

std::wstring Describe(const std::wstring& url, const std::string& what) {
    return DescribeLoadFailure(url, Utf8ToWide(what));
}

}  // namespace

struct CurlTransport::Shared {
    CURLSH* handle = nullptr;
    std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;

    static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
        static_cast<Shared*>(self)->locks[data].lock();
    }
    static void Unlock(CURL*, curl_lock_data data, void* self) {
        static_cast<Shared*>(self)->locks[data].unlock();
    }
};

CurlTransport::CurlTransport(HttpTransportOptions options)
    : options_(std::move(options)), shared_(std::make_unique<Shared>()) {
    InitialiseCurlOnce();
    if (!options_.extraCaFile.empty()) {
        const std::string extra = ReadWholeFile(options_.extraCaFile).value_or(std::string());
        if (extra.empty()) {
            throw std::runtime_error("cannot read the trusted CA file " +
                                     WideToUtf8(options_.extraCaFile));
        }
        trustedCas_ = SystemCaBundle() + "\n" + extra;
    }
    shared_->handle = curl_share_init();
    if (!shared_->handle) throw std::runtime_error("libcurl cannot make a cookie store");
    curl_share_setopt(shared_->handle, CURLSHOPT_LOCKFUNC, &Shared::Lock);
    curl_share_setopt(shared_->handle, CURLSHOPT_UNLOCKFUNC, &Shared::Unlock);
    curl_share_setopt(shared_->handle, CURLSHOPT_USERDATA, shared_.get());
    curl_share_setopt(shared_->handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(shared_->handle, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
}

CurlTransport::~CurlTransport() {
    curl_share_cleanup(shared_->handle);
}

HttpResponse CurlTransport::Fetch(const HttpRequest& request, const std::atomic<bool>& cancelled) {
    HttpResponse response;
    response.finalUrl = request.url;

    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), &curl_easy_cleanup);
    if (!easy) {
        response.error = Describe(request.url, "libcurl cannot make a transfer");
        response.failure = LoadFailure::Other;
        return response;
    }
    CURL* h = easy.get();
    Transfer transfer;
    transfer.cancelled = &cancelled;
    std::array<char, CURL_ERROR_SIZE> errorText{};
    const std::string url = WideToUtf8(request.url);
    const std::string method = WideToUtf8(request.method);

    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText.data());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // 301/302/303 turn a POST into a GET, 307/308 repeat it: libcurl's
    // default with CURLOPT_POSTREDIR left at 0, and what browsers do.
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, static_cast<long>(kMaxRedirects));
    curl_easy_setopt(h, CURLOPT_SHARE, shared_->handle);
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // cookie engine on, nothing loaded
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!trustedCas_.empty()) {
        curl_blob blob{trustedCas_.data(), trustedCas_.size(), CURL_BLOB_NOCOPY};
        curl_easy_setopt(h, CURLOPT_CAINFO_BLOB, &blob);
    }
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(options_.connectTimeout.count()));
    // No byte for the whole receive time-out ends the transfer.
    const long silenceSeconds =
        std::max<long>(1, static_cast<long>((options_.receiveTimeout.count() + 999) / 1000));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, silenceSeconds);
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_USERAGENT, WideToUtf8(kUserAgent).c_str());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);

    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr,
                                                                        &curl_slist_free_all);
    auto addHeader = [&](const std::string& line) {
        headers.reset(curl_slist_append(headers.release(), line.c_str()));
    };
    addHeader("Expect:");  // no 100-continue round trip before a POST body
    if (method == "GET") {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
    } else if (method == "POST") {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
    } else {
        response.error = Describe(request.url, "unsupported method " + method);
        response.failure = LoadFailure::BadAddress;
        return response;
    }
    if (!request.contentType.empty()) addHeader("Content-Type: " + request.contentType);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());

    const CURLcode status = curl_easy_perform(h);

    char* effective = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective) {
        response.finalUrl = Utf8ToWide(effective);
    }
    if (status != CURLE_OK) {
        std::ostringstream what;
        if (cancelled.load()) {
            what << "cancelled";
            response.failure = LoadFailure::Cancelled;
        } else if (transfer.tooLarge) {
            what << "the response is larger than " << (kMaxResponseBytes >> 20) << " MiB";
            response.failure = LoadFailure::TooLarge;
        } else {
            response.failure = FailureOf(status);
            what << (errorText[0] ? errorText.data() : curl_easy_strerror(status))
                 << " (curl error " << static_cast<int>(status) << ")";
        }
        response.error = Describe(response.finalUrl, what.str());
        return response;
    }
    long code = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &code);
    char* contentType = nullptr;
    curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &contentType);
    response.ok = true;
    response.status = static_cast<int>(code);
    response.contentType = contentType ? contentType : "";
    response.body = std::move(transfer.body);
    return response;
}

}  // namespace qv::http
