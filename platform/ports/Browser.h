#pragma once
// The embedded browser as the web session drives it: navigation by address
// alone, the current document's elements by id, and a notification when a
// document has finished loading. Elements are named by id on every call, so
// no handle into a document outlives the document it came from.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "LoadFailure.h"

namespace qv {

class IBrowser {
public:
    // Called on the user-interface thread with the loaded document's final
    // address (after redirects); never from inside Navigate or Click.
    using DocumentCompleteHandler = std::function<void(const std::wstring& url)>;

    // Called on the user-interface thread when a navigation ends without a
    // document (no connection, a refused certificate, an error status, ...),
    // with the last address reached; never for one a newer navigation
    // superseded, nor from inside Navigate or Click.
    using NavigationFailedHandler =
        std::function<void(const std::wstring& url, const LoadError& error)>;

    virtual ~IBrowser() = default;

    // One handler of each kind at a time; an empty one detaches.
    virtual void SetDocumentCompleteHandler(DocumentCompleteHandler handler) = 0;
    virtual void SetNavigationFailedHandler(NavigationFailedHandler handler) = 0;

    // A GET of the address, no headers or post data. A newer navigation
    // supersedes one still under way.
    virtual void Navigate(const std::wstring& url) = 0;
    // Drops what is under way; the current document stays.
    virtual void Stop() = 0;
    // The address of the current document.
    virtual std::wstring LocationUrl() const = 0;

    // The inner HTML of the element with this id, as the browser serialises
    // it; nothing when the document has no such element.
    virtual std::optional<std::wstring> InnerHtml(std::wstring_view id) const = 0;
    // Replaces the element's outer HTML with the markup; false when there is
    // no such element.
    virtual bool SetOuterHtml(std::wstring_view id, std::wstring_view markup) = 0;
    // Clicks the element: a submit control submits its form, and so does any
    // other element inside a form that is not a field (a scripted "sign in"
    // link or image on the marketplace's pages, whose scripts do not run
    // here); false when there is no such element or the click did nothing.
    virtual bool Click(std::wstring_view id) = 0;
};

}  // namespace qv
