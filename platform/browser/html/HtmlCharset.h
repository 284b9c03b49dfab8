#pragma once
// Decoding of a document's bytes: a UTF-8 (or UTF-16) byte order mark wins,
// then the charset of the Content-Type header, then a <meta charset> or
// <meta http-equiv="content-type" content="...charset=..."> within the first
// 1024 bytes, else windows-1252. Labels name UTF-8 or windows-1252 (with its
// aliases iso-8859-1, us-ascii, latin1, ...); any other label is passed over
// as if it were missing, since those are the two encodings we decode.

#include <string>
#include <string_view>

namespace qv::html {

enum class Charset { Utf8, Windows1252, Utf16Le, Utf16Be };

struct DecodedText {
    std::wstring text;
    Charset charset;
};

DecodedText DecodeDocument(std::string_view bytes, std::string_view contentType);

// "utf-8" or "windows-1252" style label to a charset; false when unknown.
bool CharsetFromLabel(std::string_view label, Charset& charset);
// The charset parameter of a Content-Type value, "" when there is none.
std::string CharsetParameter(std::string_view contentType);
// The charset a <meta> in the first 1024 bytes declares, "" when none does.
std::string PrescanMetaCharset(std::string_view bytes);

}  // namespace qv::html
