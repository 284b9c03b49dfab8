#include "BrowserEngine.h"

#include <utility>

#include "html/HtmlDocument.h"
#include "html/HtmlDom.h"

namespace qv::browser {
namespace {

constexpr char kPlaceholderHtml[] =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title></title></head><body>"
    "<button id=\"ButtonOK\" type=\"button\">OK</button>"
    "<button id=\"ButtonCancel\" type=\"button\">Cancel</button>"
    "</body></html>";

}  // namespace

struct BrowserEngine::Outcome {
    http::HttpResponse response;
    std::unique_ptr<html::Document> document;
};

BrowserEngine::BrowserEngine(http::IHttpTransport& transport, IUiDispatcher& ui)
    : transport_(transport),
      ui_(ui),
      liveness_(std::make_shared<Liveness>(Liveness{this})),
      document_(
          html::Document::Parse(kPlaceholderHtml, "text/html; charset=utf-8", kPlaceholderUrl)) {}

BrowserEngine::~BrowserEngine() {
    // Results still queued on the UI thread find no engine and do nothing.
    liveness_->engine = nullptr;
    CancelAll();
    for (Worker& worker : workers_) worker.thread.join();
}

void BrowserEngine::SetDocumentCompleteHandler(DocumentCompleteHandler handler) {
    onComplete_ = std::move(handler);
}

void BrowserEngine::SetNavigateErrorHandler(NavigateErrorHandler handler) {
    onError_ = std::move(handler);
}

void BrowserEngine::SetErrorDisplay(std::function<void(const std::wstring&)> display) {
    errorDisplay_ = std::move(display);
}

void BrowserEngine::Navigate(const std::wstring& url) {
    Fetch({L"GET", url, {}, {}});
}

void BrowserEngine::Fetch(http::HttpRequest request) {
    Start([this, request = std::move(request)](const std::atomic<bool>& cancelled) {
        return transport_.Fetch(request, cancelled);
    });
}

void BrowserEngine::LoadHtml(std::string bytes, std::string contentType, std::wstring url) {
    auto response = std::make_shared<http::HttpResponse>();
    response->ok = true;
    response->status = 200;
    response->finalUrl = std::move(url);
    response->contentType = std::move(contentType);
    response->body = std::move(bytes);
    Start([response](const std::atomic<bool>&) { return std::move(*response); });
}

void BrowserEngine::Stop() {
    ++navigation_;
    busy_ = false;
    CancelAll();
}

void BrowserEngine::Start(Job job) {
    CancelAll();
    ReapFinished();
    const std::uint64_t navigation = ++navigation_;
    busy_ = true;

    Worker worker{
        {}, std::make_shared<std::atomic<bool>>(false), std::make_shared<std::atomic<bool>>(false)};
    // The worker touches neither the engine nor its members other than the
    // transport and the dispatcher, which outlive it (the destructor joins).
    worker.thread =
        std::thread([job = std::move(job), cancelled = worker.cancelled, finished = worker.finished,
                     liveness = liveness_, ui = &ui_, navigation] {
            auto outcome = std::make_shared<Outcome>();
            outcome->response = job(*cancelled);
            const http::HttpResponse& response = outcome->response;
            if (response.ok && response.status < 400 && !cancelled->load()) {
                // Parsed here so that a large page does not hold up the UI thread.
                outcome->document =
                    html::Document::Parse(response.body, response.contentType, response.finalUrl);
            }
            if (!cancelled->load()) {
                ui->Post([liveness, navigation, outcome] {
                    if (liveness->engine) liveness->engine->Finish(navigation, *outcome);
                });
            }
            finished->store(true);
        });
    workers_.push_back(std::move(worker));
}

void BrowserEngine::CancelAll() {
    for (Worker& worker : workers_) worker.cancelled->store(true);
}

void BrowserEngine::ReapFinished() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->finished->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

void BrowserEngine::Finish(std::uint64_t navigation, Outcome& outcome) {
    if (navigation != navigation_) return;  // superseded while it was posted
    busy_ = false;
    ReapFinished();
    const http::HttpResponse& response = outcome.response;
    if (!response.ok) {
        const LoadFailure kind =
            response.failure == LoadFailure::None ? LoadFailure::Other : response.failure;
        ReportError(response.finalUrl, {kind, 0, response.error});
        return;
    }
    if (response.status >= 400) {
        ReportError(
            response.finalUrl,
            {LoadFailure::HttpStatus, response.status,
             http::DescribeLoadFailure(response.finalUrl, L"the server answered with status " +
                                                              std::to_wstring(response.status))});
        return;
    }
    if (!outcome.document) {
        ReportError(response.finalUrl,
                    {LoadFailure::Unreadable, 0,
                     http::DescribeLoadFailure(response.finalUrl, L"the document cannot be read")});
        return;
    }
    document_ = std::move(outcome.document);
    // The handler may navigate again or replace the engine's document; it
    // gets its own copy of the address.
    if (onComplete_) {
        const std::wstring url = document_->Url();
        onComplete_(url);
    }
}

void BrowserEngine::ReportError(const std::wstring& url, const LoadError& error) {
    if (onError_) onError_(url, error);
    if (!silent_ && errorDisplay_) errorDisplay_(error.message);
}

const std::wstring& BrowserEngine::LocationUrl() const {
    return document_->Url();
}

html::Element* BrowserEngine::GetElementById(std::wstring_view id) {
    return document_->GetElementById(id);
}

std::wstring BrowserEngine::InnerHtml(const html::Element& element) const {
    return document_->InnerHtml(element);
}

bool BrowserEngine::SetOuterHtml(html::Element& element, std::wstring_view markup) {
    return document_->SetOuterHtml(element, markup);
}

bool BrowserEngine::Click(html::Element& element) {
    if (const std::wstring* id = element.GetAttribute(L"id")) {
        const auto bound = clickBindings_.find(*id);
        if (bound != clickBindings_.end()) {
            auto handler = bound->second;  // the handler may rebind
            handler();
            return true;
        }
    }
    std::optional<html::FormRequest> form = document_->Click(element);
    if (!form) return false;
    Fetch(std::move(*form));
    return true;
}

void BrowserEngine::BindClick(std::wstring id, std::function<void()> handler) {
    clickBindings_[std::move(id)] = std::move(handler);
}

}  // namespace qv::browser
