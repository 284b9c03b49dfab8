#include "EngineBrowser.h"

#include <utility>

#include "html/HtmlDom.h"

namespace qv::browser {

EngineBrowser::EngineBrowser(BrowserEngine& engine) : engine_(engine) {
    engine_.SetSilent(true);
}

EngineBrowser::~EngineBrowser() {
    engine_.SetDocumentCompleteHandler({});
    engine_.SetNavigateErrorHandler({});
}

void EngineBrowser::SetDocumentCompleteHandler(DocumentCompleteHandler handler) {
    engine_.SetDocumentCompleteHandler(std::move(handler));
}

void EngineBrowser::SetNavigationFailedHandler(NavigationFailedHandler handler) {
    engine_.SetNavigateErrorHandler(std::move(handler));
}

void EngineBrowser::Navigate(const std::wstring& url) {
    engine_.Navigate(url);
}

void EngineBrowser::Stop() {
    engine_.Stop();
}

std::wstring EngineBrowser::LocationUrl() const {
    return engine_.LocationUrl();
}

std::optional<std::wstring> EngineBrowser::InnerHtml(std::wstring_view id) const {
    html::Element* element = engine_.GetElementById(id);
    if (!element) return std::nullopt;
    return engine_.InnerHtml(*element);
}

bool EngineBrowser::SetOuterHtml(std::wstring_view id, std::wstring_view markup) {
    html::Element* element = engine_.GetElementById(id);
    return element && engine_.SetOuterHtml(*element, markup);
}

bool EngineBrowser::Click(std::wstring_view id) {
    html::Element* element = engine_.GetElementById(id);
    return element && engine_.Click(*element);
}

}  // namespace qv::browser
