// htmlprobe [--ca CA.pem] PATH-OR-ADDRESS ID
//
// Loads a local HTML file or an http(s) address with the browser engine and
// writes the inner HTML of the element with the given id to standard output,
// UTF-8, exactly as serialised and nothing added. Exit status: 0 done, 1 no
// element has that id, 2 bad arguments or the document could not be loaded.

#include <chrono>
#include <cwctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BrowserEngine.h"
#include "TextConvert.h"
#include "html/HtmlDocument.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "WinInetTransport.h"
#include "Win32UiDispatcher.h"
#else
#include "CurlTransport.h"
#include "EventLoop.h"
#endif

namespace {

// The transport's own time-outs end a stalled load well before this.
constexpr std::chrono::minutes kLoadLimit{10};

void Complain(const std::wstring& message) {
    const std::string text = "htmlprobe: " + qv::WideToUtf8(message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

bool IsAddress(const std::wstring& target) {
    auto startsWith = [&](std::wstring_view prefix) {
        if (target.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (static_cast<wchar_t>(std::towlower(target[i])) != prefix[i]) return false;
        }
        return true;
    };
    return startsWith(L"http://") || startsWith(L"https://");
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Wide text and paths meet here only: on POSIX the bytes of a name are UTF-8.
std::filesystem::path ToPath(const std::wstring& text) {
#ifdef _WIN32
    return std::filesystem::path(text);
#else
    return std::filesystem::path(qv::WideToUtf8(text));
#endif
}

std::wstring FileUrl(const std::filesystem::path& path) {
#ifdef _WIN32
    std::wstring text = std::filesystem::absolute(path).generic_wstring();
#else
    std::wstring text = qv::Utf8ToWide(std::filesystem::absolute(path).generic_string());
#endif
    if (!text.empty() && text.front() != L'/') text.insert(text.begin(), L'/');
    return L"file://" + text;
}

int Probe(const std::vector<std::wstring>& args) {
    std::wstring caFile;
    std::vector<std::wstring> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--ca" && i + 1 < args.size()) {
            caFile = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() != 2) {
        Complain(L"usage: htmlprobe [--ca CA.pem] PATH-OR-ADDRESS ID");
        return 2;
    }
    const std::wstring& target = rest[0];
    const std::wstring& id = rest[1];

    qv::http::HttpTransportOptions options;
    options.extraCaFile = caFile;
#ifdef _WIN32
    if (!caFile.empty()) {
        Complain(L"--ca is not available here: add the CA to the system's root store (trustca)");
        return 2;
    }
    qv::http::WinInetTransport transport(options);
    qv::win::Win32UiDispatcher ui;
#else
    qv::http::CurlTransport transport(options);
    qv::EventLoop ui;
#endif
    qv::browser::BrowserEngine engine(transport, ui);

    bool finished = false;
    std::optional<std::wstring> failure;
    engine.SetDocumentCompleteHandler([&](const std::wstring&) { finished = true; });
    engine.SetNavigateErrorHandler([&](const std::wstring&, const std::wstring& message) {
        failure = message;
        finished = true;
    });

    if (IsAddress(target)) {
        engine.Navigate(target);
    } else {
        const std::filesystem::path path = ToPath(target);
        auto bytes = ReadFile(path);
        if (!bytes) {
            Complain(L"cannot read " + target);
            return 2;
        }
        engine.LoadHtml(std::move(*bytes), "text/html", FileUrl(path));
    }

    auto done = [&] { return finished; };
#ifdef _WIN32
    const bool loaded = qv::win::Win32UiDispatcher::PumpUntil(done, kLoadLimit);
#else
    const bool loaded = ui.RunUntil(done, kLoadLimit);
#endif
    if (!loaded) {
        Complain(L"loading " + target + L" did not finish in time");
        return 2;
    }
    if (failure) {
        Complain(*failure);
        return 2;
    }

    qv::html::Element* element = engine.GetElementById(id);
    if (!element) {
        Complain(L"no element has the id \"" + id + L"\"");
        return 1;
    }
    const std::string html = qv::WideToUtf8(engine.InnerHtml(*element));
    if (std::fwrite(html.data(), 1, html.size(), stdout) != html.size() ||
        std::fflush(stdout) != 0) {
        Complain(L"cannot write the output");
        return 2;
    }
    return 0;
}

int Guarded(const std::vector<std::wstring>& args) {
    try {
        return Probe(args);
    } catch (const std::exception& error) {
        Complain(qv::Utf8ToWide(error.what()));
        return 2;
    }
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // Bytes as serialised: no CR added before LF.
    _setmode(_fileno(stdout), _O_BINARY);
    return Guarded(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(qv::Utf8ToWide(argv[i]));
    return Guarded(args);
}
#endif
