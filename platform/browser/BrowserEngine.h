#pragma once
// The browser the hidden session page drives: navigation and form submission
// run on worker threads over an HTTP transport; the finished, parsed document
// is handed to the UI thread, where it replaces the current one and the
// document-complete handler runs with the final address. A newer navigation
// supersedes an older one still under way: the older transfer is cancelled
// and its result dropped. Every other call, and every handler, is on the UI
// thread; none of them waits for the network.

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "LoadFailure.h"
#include "UiDispatcher.h"
#include "http/HttpTransport.h"

namespace qv::html {
class Document;
class Element;
}  // namespace qv::html

namespace qv::browser {

class BrowserEngine {
public:
    using DocumentCompleteHandler = std::function<void(const std::wstring& url)>;
    // A navigation that ended without a document: the transfer failed, or the
    // server answered with an error status. `url` is the last address reached.
    using NavigateErrorHandler =
        std::function<void(const std::wstring& url, const LoadError& error)>;

    static constexpr wchar_t kPlaceholderUrl[] = L"about:blank";

    // Both must outlive the engine. The engine starts on the placeholder
    // document (buttons "ButtonOK" and "ButtonCancel").
    BrowserEngine(http::IHttpTransport& transport, IUiDispatcher& ui);
    // Cancels what is under way and waits for the workers to end.
    ~BrowserEngine();
    BrowserEngine(const BrowserEngine&) = delete;
    BrowserEngine& operator=(const BrowserEngine&) = delete;

    void SetDocumentCompleteHandler(DocumentCompleteHandler handler);
    void SetNavigateErrorHandler(NavigateErrorHandler handler);

    // Silent (the default for the hidden page): navigation errors reach the
    // error handler only. Not silent: they are also shown through `display`
    // (a message box, for instance), as a visible browser would.
    void SetSilent(bool silent) { silent_ = silent; }
    bool Silent() const { return silent_; }
    void SetErrorDisplay(std::function<void(const std::wstring& message)> display);

    // A GET of the address alone.
    void Navigate(const std::wstring& url);
    // Shows markup that is already at hand (a local file) under `url`, by the
    // same road as a navigation: parsed off the UI thread, completion posted.
    void LoadHtml(std::string bytes, std::string contentType, std::wstring url);
    // Drops what is under way; the current document stays.
    void Stop();

    bool Busy() const { return busy_; }
    // The address of the current document.
    const std::wstring& LocationUrl() const;
    // The element belongs to the current document: the pointer must not be
    // kept past the next document, which replaces that one (take it afresh
    // after every document-complete event).
    html::Element* GetElementById(std::wstring_view id);
    std::wstring InnerHtml(const html::Element& element) const;
    // The element is detached afterwards (replaced by the parsed markup).
    bool SetOuterHtml(html::Element& element, std::wstring_view markup);
    // Runs the handler bound to the element's id, if any; otherwise, when the
    // click submits a form, submits it as a navigation. Returns whether
    // anything happened.
    bool Click(html::Element& element);
    // Binds a click on the element with this id to a command of the host,
    // as the placeholder's buttons are bound to the dialog's OK and Cancel.
    void BindClick(std::wstring id, std::function<void()> handler);

private:
    struct Liveness {
        BrowserEngine* engine;
    };
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> cancelled;
        std::shared_ptr<std::atomic<bool>> finished;
    };
    struct Outcome;
    using Job = std::function<http::HttpResponse(const std::atomic<bool>& cancelled)>;

    void Fetch(http::HttpRequest request);
    void Start(Job job);
    void CancelAll();
    void ReapFinished();
    void Finish(std::uint64_t navigation, Outcome& outcome);
    void ReportError(const std::wstring& url, const LoadError& error);

    http::IHttpTransport& transport_;
    IUiDispatcher& ui_;
    std::shared_ptr<Liveness> liveness_;
    std::unique_ptr<html::Document> document_;  // never null
    std::uint64_t navigation_ = 0;              // the one whose result is wanted
    bool busy_ = false;
    bool silent_ = true;
    std::vector<Worker> workers_;
    DocumentCompleteHandler onComplete_;
    NavigateErrorHandler onError_;
    std::function<void(const std::wstring&)> errorDisplay_;
    std::map<std::wstring, std::function<void()>, std::less<>> clickBindings_;
};

}  // namespace qv::browser
