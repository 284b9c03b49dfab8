#pragma once
// The browser port over the reader's own engine.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Browser.h"
#include "BrowserEngine.h"

namespace qv::browser {

class EngineBrowser final : public IBrowser {
public:
    // The engine must outlive the adapter. The hidden session page shows no
    // dialogs, so the engine is put into silent mode.
    explicit EngineBrowser(BrowserEngine& engine);
    ~EngineBrowser() override;
    EngineBrowser(const EngineBrowser&) = delete;
    EngineBrowser& operator=(const EngineBrowser&) = delete;

    void SetDocumentCompleteHandler(DocumentCompleteHandler handler) override;
    void SetNavigationFailedHandler(NavigationFailedHandler handler) override;
    void Navigate(const std::wstring& url) override;
    void Stop() override;
    std::wstring LocationUrl() const override;
    std::optional<std::wstring> InnerHtml(std::wstring_view id) const override;
    bool SetOuterHtml(std::wstring_view id, std::wstring_view markup) override;
    bool Click(std::wstring_view id) override;

private:
    BrowserEngine& engine_;
};

}  // namespace qv::browser
