#pragma once
// URLs as the browser uses them: parsing of absolute URLs and resolution of
// references against a base (scheme, authority, path with dot segments,
// query, fragment). Schemes http, https, ftp, ws, wss and file are
// "special" as in browsers: backslashes count as slashes, hosts are
// lower-cased, default ports dropped, an empty path becomes "/". Spaces,
// controls, non-ASCII (as UTF-8) and a few delimiters are percent-encoded.

#include <optional>
#include <string>
#include <string_view>

namespace qv::html {

struct Url {
    std::wstring scheme;  // lower case, without ':'
    bool hasAuthority = false;
    std::wstring userinfo;
    std::wstring host;
    std::wstring port;  // "" for the scheme's default
    std::wstring path;
    std::optional<std::wstring> query;
    std::optional<std::wstring> fragment;

    std::wstring ToString() const;
};

std::optional<Url> ParseUrl(std::wstring_view text);
// The reference resolved against `base`; nullopt when that is impossible
// (no valid base for a relative reference, or an invalid URL).
std::optional<Url> ResolveUrl(const Url& base, std::wstring_view reference);
// Convenience: both as text; "" when the result is not a valid URL.
std::wstring ResolveUrl(std::wstring_view base, std::wstring_view reference);

}  // namespace qv::html
