#include "CurlBrowser.h"

#include <stdexcept>

namespace qv::marketsim::test {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

}  // namespace

CurlBrowser::CurlBrowser(std::string caFile) : m_ca(std::move(caFile)) {
    m_curl = curl_easy_init();
    if (!m_curl) throw std::runtime_error("curl_easy_init failed");
    curl_easy_setopt(m_curl, CURLOPT_COOKIEFILE, "");  // cookie engine, in memory
}

CurlBrowser::~CurlBrowser() {
    curl_easy_cleanup(m_curl);
}

Fetch CurlBrowser::Perform(const std::string& url) {
    Fetch result;
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(m_curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_curl, CURLOPT_CAINFO, m_ca.c_str());
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(m_curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(m_curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(m_curl, CURLOPT_TIMEOUT, 30L);
    curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, error);
    result.code = curl_easy_perform(m_curl);
    result.error = error;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &result.status);
    char* effective = nullptr;
    curl_easy_getinfo(m_curl, CURLINFO_EFFECTIVE_URL, &effective);
    if (effective) result.finalUrl = effective;
    char* type = nullptr;
    curl_easy_getinfo(m_curl, CURLINFO_CONTENT_TYPE, &type);
    if (type) result.contentType = type;
    curl_easy_getinfo(m_curl, CURLINFO_TOTAL_TIME, &result.seconds);
    curl_easy_setopt(m_curl, CURLOPT_ERRORBUFFER, nullptr);
    return result;
}

Fetch CurlBrowser::Get(const std::string& url, long ipResolve,
                       const std::vector<std::string>& headers) {
    curl_slist* list = nullptr;
    for (const std::string& header : headers) list = curl_slist_append(list, header.c_str());
    curl_easy_setopt(m_curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(m_curl, CURLOPT_IPRESOLVE, ipResolve);
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, list);
    Fetch result = Perform(url);
    curl_easy_setopt(m_curl, CURLOPT_IPRESOLVE, CURL_IPRESOLVE_WHATEVER);
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(list);
    return result;
}

Fetch CurlBrowser::Post(const std::string& url,
                        const std::vector<std::pair<std::string, std::string>>& form) {
    std::string body;
    for (const auto& [name, value] : form) {
        char* n = curl_easy_escape(m_curl, name.c_str(), static_cast<int>(name.size()));
        char* v = curl_easy_escape(m_curl, value.c_str(), static_cast<int>(value.size()));
        if (!body.empty()) body += '&';
        body += std::string(n) + "=" + v;
        curl_free(n);
        curl_free(v);
    }
    return PostRaw(url, body);
}

Fetch CurlBrowser::PostRaw(const std::string& url, const std::string& body) {
    curl_easy_setopt(m_curl, CURLOPT_POST, 1L);
    curl_easy_setopt(m_curl, CURLOPT_COPYPOSTFIELDS, body.c_str());
    return Perform(url);
}

std::vector<std::string> CurlBrowser::Cookies() {
    std::vector<std::string> lines;
    curl_slist* list = nullptr;
    curl_easy_getinfo(m_curl, CURLINFO_COOKIELIST, &list);
    for (curl_slist* item = list; item; item = item->next) lines.emplace_back(item->data);
    curl_slist_free_all(list);
    return lines;
}

}  // namespace qv::marketsim::test
