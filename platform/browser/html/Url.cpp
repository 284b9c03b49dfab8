#include "Url.h"

#include <algorithm>
#include <vector>

#include "AsciiText.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

bool IsSpecial(std::wstring_view scheme) {
    return scheme == L"http" || scheme == L"https" || scheme == L"ftp" || scheme == L"ws" ||
           scheme == L"wss" || scheme == L"file";
}

std::wstring_view DefaultPort(std::wstring_view scheme) {
    if (scheme == L"http" || scheme == L"ws") return L"80";
    if (scheme == L"https" || scheme == L"wss") return L"443";
    if (scheme == L"ftp") return L"21";
    return {};
}


// Leading and trailing C0 controls and spaces go; tabs and newlines anywhere go.
std::wstring Clean(std::wstring_view text) {
    while (!text.empty() && text.front() <= 0x20) text.remove_prefix(1);
    while (!text.empty() && text.back() <= 0x20) text.remove_suffix(1);
    std::wstring out;
    for (wchar_t c : text) {
        if (c != L'\t' && c != L'\n' && c != L'\r') out.push_back(c);
    }
    return out;
}

enum class Part { Path, Query, SpecialQuery, Fragment, Userinfo };

bool NeedsEncoding(wchar_t c, Part part) {
    if (c <= 0x20 || c >= 0x7F) return true;
    switch (part) {
        case Part::Fragment: return c == L'"' || c == L'<' || c == L'>' || c == L'`';
        case Part::Query: return c == L'"' || c == L'#' || c == L'<' || c == L'>';
        case Part::SpecialQuery:
            return c == L'"' || c == L'#' || c == L'<' || c == L'>' || c == L'\'';
        case Part::Path:
            return c == L'"' || c == L'#' || c == L'<' || c == L'>' || c == L'?' || c == L'`' ||
                   c == L'{' || c == L'}';
        case Part::Userinfo:
            return c == L'"' || c == L'#' || c == L'<' || c == L'>' || c == L'?' || c == L'`' ||
                   c == L'{' || c == L'}' || c == L'/' || c == L':' || c == L';' || c == L'=' ||
                   c == L'@' || c == L'[' || c == L'\\' || c == L']' || c == L'^' || c == L'|';
    }
    return false;
}

std::wstring Encode(std::wstring_view text, Part part) {
    std::wstring out;
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (!NeedsEncoding(c, part)) {
            out.push_back(c);
            ++i;
            continue;
        }
        const std::size_t start = i;
        NextCodePoint(text, i);
        for (const char byte : WideToUtf8(text.substr(start, i - start))) {
            const auto b = static_cast<unsigned char>(byte);
            out.push_back(L'%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 15]);
        }
    }
    return out;
}

bool IsDotSegment(std::wstring_view s) {
    return s == L"." || s == L"%2e" || s == L"%2E";
}

bool IsDoubleDotSegment(std::wstring_view s) {
    if (s.size() < 2 || s.size() > 6) return false;
    std::wstring lower;
    for (wchar_t c : s) lower.push_back(AsciiLower(c));
    return lower == L".." || lower == L".%2e" || lower == L"%2e." || lower == L"%2e%2e";
}

// `path` begins with '/'.
std::wstring RemoveDotSegments(std::wstring_view path) {
    std::vector<std::wstring_view> out;
    std::size_t start = 1;
    for (;;) {
        const std::size_t slash = path.find(L'/', start);
        const bool last = slash == std::wstring_view::npos;
        const std::wstring_view segment = path.substr(start, last ? std::wstring_view::npos : slash - start);
        if (IsDoubleDotSegment(segment)) {
            if (!out.empty()) out.pop_back();
            if (last) out.push_back({});
        } else if (IsDotSegment(segment)) {
            if (last) out.push_back({});
        } else {
            out.push_back(segment);
        }
        if (last) break;
        start = slash + 1;
    }
    std::wstring result;
    for (std::wstring_view segment : out) {
        result.push_back(L'/');
        result += segment;
    }
    return result.empty() ? L"/" : result;
}

// Splits "path?query#fragment" and stores the encoded parts in `url`.
void SetPathQueryFragment(Url& url, std::wstring_view rest, bool pathIsOpaque) {
    const std::size_t hash = rest.find(L'#');
    if (hash != std::wstring_view::npos) {
        url.fragment = Encode(rest.substr(hash + 1), Part::Fragment);
        rest = rest.substr(0, hash);
    } else {
        url.fragment.reset();
    }
    const std::size_t question = rest.find(L'?');
    if (question != std::wstring_view::npos) {
        url.query = Encode(rest.substr(question + 1),
                           IsSpecial(url.scheme) ? Part::SpecialQuery : Part::Query);
        rest = rest.substr(0, question);
    } else {
        url.query.reset();
    }
    if (pathIsOpaque) {
        url.path = Encode(rest, Part::Fragment);
        return;
    }
    std::wstring path(rest);
    if (path.empty() || path.front() != L'/') {
        if (path.empty() && !IsSpecial(url.scheme)) {
            url.path.clear();
            return;
        }
        path.insert(path.begin(), L'/');
    }
    url.path = Encode(RemoveDotSegments(path), Part::Path);
}

// Parses "authority[/path][?query][#fragment]"; false for an invalid authority.
bool ParseAuthorityAndRest(Url& url, std::wstring_view text) {
    std::size_t end = 0;
    while (end < text.size() && text[end] != L'/' && text[end] != L'?' && text[end] != L'#') ++end;
    std::wstring_view authority = text.substr(0, end);
    url.hasAuthority = true;
    url.userinfo.clear();
    const std::size_t at = authority.rfind(L'@');
    if (at != std::wstring_view::npos) {
        const std::wstring_view userinfo = authority.substr(0, at);
        const std::size_t separator = userinfo.find(L':');
        url.userinfo = Encode(userinfo.substr(0, separator), Part::Userinfo);
        if (separator != std::wstring_view::npos) {
            url.userinfo += L":" + Encode(userinfo.substr(separator + 1), Part::Userinfo);
        }
        authority = authority.substr(at + 1);
    }
    std::wstring_view host = authority;
    std::wstring_view port;
    const std::size_t bracket = authority.rfind(L']');
    const std::size_t colon = authority.rfind(L':');
    if (colon != std::wstring_view::npos && (bracket == std::wstring_view::npos || colon > bracket)) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    url.host.clear();
    for (wchar_t c : host) {
        if (c <= 0x20 || c == 0x7F || c == L'<' || c == L'>' || c == L'^' || c == L'|' ||
            c == L'\\' || c == L'%') {
            return false;
        }
        url.host.push_back(AsciiLower(c));
    }
    if (url.host.empty() && IsSpecial(url.scheme) && url.scheme != L"file") return false;
    url.port.clear();
    if (!port.empty()) {
        unsigned long value = 0;
        for (wchar_t c : port) {
            if (!IsAsciiDigit(c)) return false;
            value = value * 10 + static_cast<unsigned long>(c - L'0');
            if (value > 65535) return false;
        }
        url.port = std::to_wstring(value);
        if (url.port == DefaultPort(url.scheme)) url.port.clear();
    }
    SetPathQueryFragment(url, text.substr(end), false);
    return true;
}

std::wstring BackslashesToSlashes(std::wstring_view text) {
    std::wstring out(text);
    // Only before the query and fragment.
    const std::size_t stop = out.find_first_of(L"?#");
    for (std::size_t i = 0; i < out.size() && i < stop; ++i) {
        if (out[i] == L'\\') out[i] = L'/';
    }
    return out;
}

std::optional<Url> ResolveRelative(const Url& base, std::wstring_view reference) {
    Url url = base;
    if (!base.hasAuthority) {
        // An opaque base ("mailto:x", "about:blank") only takes a fragment.
        if (reference.empty() || reference.front() != L'#') return std::nullopt;
        url.fragment = Encode(reference.substr(1), Part::Fragment);
        return url;
    }
    const std::wstring text = IsSpecial(base.scheme) ? BackslashesToSlashes(reference)
                                                     : std::wstring(reference);
    if (text.rfind(L"//", 0) == 0) {
        if (!ParseAuthorityAndRest(url, std::wstring_view(text).substr(2))) return std::nullopt;
        return url;
    }
    if (text.empty()) {
        url.fragment.reset();
        return url;
    }
    if (text.front() == L'#') {
        url.fragment = Encode(std::wstring_view(text).substr(1), Part::Fragment);
        return url;
    }
    if (text.front() == L'?') {
        const std::wstring path = base.path;
        SetPathQueryFragment(url, text, false);
        url.path = path;
        return url;
    }
    if (text.front() == L'/') {
        SetPathQueryFragment(url, text, false);
        return url;
    }
    std::wstring merged = base.path;
    const std::size_t slash = merged.rfind(L'/');
    merged = slash == std::wstring::npos ? L"/" : merged.substr(0, slash + 1);
    merged += text;
    SetPathQueryFragment(url, merged, false);
    return url;
}

std::optional<Url> Parse(const Url* base, std::wstring_view input) {
    const std::wstring text = Clean(input);
    std::size_t colon = 0;
    bool hasScheme = false;
    if (!text.empty() && IsAsciiAlpha(text[0])) {
        std::size_t i = 1;
        while (i < text.size() && (IsAsciiAlpha(text[i]) || IsAsciiDigit(text[i]) || text[i] == L'+' ||
                                   text[i] == L'-' || text[i] == L'.')) {
            ++i;
        }
        if (i < text.size() && text[i] == L':') {
            hasScheme = true;
            colon = i;
        }
    }
    if (!hasScheme) {
        if (base == nullptr) return std::nullopt;
        return ResolveRelative(*base, text);
    }
    Url url;
    for (std::size_t i = 0; i < colon; ++i) url.scheme.push_back(AsciiLower(text[i]));
    std::wstring_view rest = std::wstring_view(text).substr(colon + 1);
    if (IsSpecial(url.scheme)) {
        const std::wstring slashed = BackslashesToSlashes(rest);
        if (base != nullptr && base->scheme == url.scheme && base->hasAuthority &&
            (slashed.empty() || slashed.front() != L'/')) {
            // "http:page.htm" against an http base is relative, as browsers read it.
            return ResolveRelative(*base, slashed);
        }
        std::wstring_view view = slashed;
        while (!view.empty() && view.front() == L'/') view.remove_prefix(1);
        if (!ParseAuthorityAndRest(url, view)) return std::nullopt;
        return url;
    }
    if (rest.rfind(L"//", 0) == 0) {
        if (!ParseAuthorityAndRest(url, rest.substr(2))) return std::nullopt;
        return url;
    }
    SetPathQueryFragment(url, rest, true);
    return url;
}

}  // namespace

std::wstring Url::ToString() const {
    std::wstring out = scheme + L":";
    if (hasAuthority) {
        out += L"//";
        if (!userinfo.empty()) out += userinfo + L"@";
        out += host;
        if (!port.empty()) out += L":" + port;
    }
    out += path;
    if (query) out += L"?" + *query;
    if (fragment) out += L"#" + *fragment;
    return out;
}

std::optional<Url> ParseUrl(std::wstring_view text) { return Parse(nullptr, text); }

std::optional<Url> ResolveUrl(const Url& base, std::wstring_view reference) {
    return Parse(&base, reference);
}

std::wstring ResolveUrl(std::wstring_view base, std::wstring_view reference) {
    const std::optional<Url> baseUrl = ParseUrl(base);
    const std::optional<Url> url = baseUrl ? ResolveUrl(*baseUrl, reference) : ParseUrl(reference);
    return url ? url->ToString() : std::wstring();
}

}  // namespace qv::html
