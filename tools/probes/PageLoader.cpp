#include "PageLoader.h"

#include <chrono>
#include <cstdio>
#include <cwctype>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string_view>

#include "AsciiText.h"
#include "TextConvert.h"
#include "WholeFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "Win32UiDispatcher.h"
#include "WinInetTransport.h"
#else
#include "CurlTransport.h"
#include "EventLoop.h"
#endif

namespace qv::probe {
namespace {

// The transport's own time-outs end a stalled load well before this.
constexpr std::chrono::minutes kLoadLimit{10};

bool IsAddress(const std::wstring& target) {
    return StartsWithIgnoringAsciiCase(target, L"http://") ||
           StartsWithIgnoringAsciiCase(target, L"https://");
}

std::wstring FileUrl(const std::filesystem::path& path) {
#ifdef _WIN32
    std::wstring text = std::filesystem::absolute(path).generic_wstring();
#else
    std::wstring text = Utf8ToWide(std::filesystem::absolute(path).generic_string());
#endif
    if (!text.empty() && text.front() != L'/') text.insert(text.begin(), L'/');
    return L"file://" + text;
}

http::HttpTransportOptions TransportOptions(const std::wstring& caFile) {
#ifdef _WIN32
    if (!caFile.empty()) {
        throw std::invalid_argument(
            "--ca is not available here: add the CA to the system's root store (trustca)");
    }
#endif
    http::HttpTransportOptions options;
    options.extraCaFile = caFile;
    return options;
}

}  // namespace

struct PageLoader::Parts {
    explicit Parts(const std::wstring& caFile)
        : transport(TransportOptions(caFile)), engine(transport, ui) {}
#ifdef _WIN32
    http::WinInetTransport transport;
    win::Win32UiDispatcher ui;
#else
    http::CurlTransport transport;
    EventLoop ui;
#endif
    browser::BrowserEngine engine;
};

PageLoader::PageLoader(const std::wstring& caFile) : parts_(std::make_unique<Parts>(caFile)) {}

PageLoader::~PageLoader() = default;

browser::BrowserEngine& PageLoader::Engine() {
    return parts_->engine;
}

std::optional<std::wstring> PageLoader::Load(const std::wstring& target) {
    browser::BrowserEngine& engine = parts_->engine;
    bool finished = false;
    std::optional<std::wstring> failure;
    engine.SetDocumentCompleteHandler([&](const std::wstring&) { finished = true; });
    engine.SetNavigateErrorHandler([&](const std::wstring&, const LoadError& error) {
        failure = error.message;
        finished = true;
    });

    if (IsAddress(target)) {
        engine.Navigate(target);
    } else {
        auto bytes = ReadWholeFile(target);
        if (!bytes) return L"cannot read " + target;
        engine.LoadHtml(std::move(*bytes), "text/html", FileUrl(ToFsPath(target)));
    }

    auto done = [&] { return finished; };
    const bool loaded = parts_->ui.RunUntil(done, kLoadLimit);
    engine.SetDocumentCompleteHandler(nullptr);
    engine.SetNavigateErrorHandler(nullptr);
    if (!loaded) return L"loading " + target + L" did not finish in time";
    return failure;
}

void Complain(const char* program, const std::wstring& message) {
    const std::string text = std::string(program) + ": " + WideToUtf8(message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

int WriteResult(const char* program, const std::string& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
        std::fflush(stdout) == 0) {
        return 0;
    }
    Complain(program, L"cannot write the output");
    return 2;
}

std::wstring TakeCaOption(std::vector<std::wstring>& arguments) {
    std::wstring caFile;
    std::vector<std::wstring> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == L"--ca" && i + 1 < arguments.size()) {
            caFile = arguments[++i];
        } else {
            rest.push_back(arguments[i]);
        }
    }
    arguments = std::move(rest);
    return caFile;
}

int RunProbe(const char* program, std::vector<std::wstring> arguments,
             const std::function<int(std::vector<std::wstring>&)>& probe) {
#ifdef _WIN32
    // Bytes as written: no CR added before LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        return probe(arguments);
    } catch (const std::exception& error) {
        Complain(program, Utf8ToWide(error.what()));
        return 2;
    }
}

#ifdef _WIN32
std::vector<std::wstring> Arguments(int argc, wchar_t** argv) {
    return std::vector<std::wstring>(argv + 1, argv + argc);
}
#else
std::vector<std::wstring> Arguments(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(Utf8ToWide(argv[i]));
    return arguments;
}
#endif

}  // namespace qv::probe
