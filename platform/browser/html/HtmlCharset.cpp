#include "HtmlCharset.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "AsciiText.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The value after "charset" in a content attribute or header, as the
// "extract a character encoding from a meta element" rules read it.
std::string ExtractCharset(std::string_view text) {
    const std::string lower = AsciiLowerCopy(text);
    std::size_t at = 0;
    for (;;) {
        at = lower.find("charset", at);
        if (at == std::string::npos) return {};
        at += 7;
        std::size_t i = at;
        while (i < lower.size() && IsSpace(lower[i])) ++i;
        if (i >= lower.size() || lower[i] != '=') continue;
        ++i;
        while (i < lower.size() && IsSpace(lower[i])) ++i;
        if (i >= lower.size()) return {};
        if (lower[i] == '"' || lower[i] == '\'') {
            const char quote = lower[i];
            const std::size_t end = lower.find(quote, i + 1);
            if (end == std::string::npos) return {};
            return lower.substr(i + 1, end - i - 1);
        }
        std::size_t end = i;
        while (end < lower.size() && !IsSpace(lower[end]) && lower[end] != ';') ++end;
        return lower.substr(i, end - i);
    }
}

struct PrescanAttribute {
    std::string name;
    std::string value;
};

// The "get an attribute" step of the prescan; false at the end of the tag.
bool GetAttribute(std::string_view bytes, std::size_t& pos, PrescanAttribute& attribute) {
    attribute = {};
    while (pos < bytes.size() && (IsSpace(bytes[pos]) || bytes[pos] == '/')) ++pos;
    if (pos >= bytes.size() || bytes[pos] == '>') return false;
    while (pos < bytes.size()) {
        const char c = bytes[pos];
        if (c == '=' && !attribute.name.empty()) break;
        if (IsSpace(c)) break;
        if (c == '/' || c == '>') return true;
        attribute.name.push_back(AsciiLower(c));
        ++pos;
    }
    while (pos < bytes.size() && IsSpace(bytes[pos])) ++pos;
    if (pos >= bytes.size() || bytes[pos] != '=') return true;
    ++pos;
    while (pos < bytes.size() && IsSpace(bytes[pos])) ++pos;
    if (pos >= bytes.size()) return true;
    if (bytes[pos] == '"' || bytes[pos] == '\'') {
        const char quote = bytes[pos++];
        while (pos < bytes.size() && bytes[pos] != quote) attribute.value.push_back(AsciiLower(bytes[pos++]));
        if (pos < bytes.size()) ++pos;
        return true;
    }
    if (bytes[pos] == '>') return true;
    while (pos < bytes.size() && !IsSpace(bytes[pos]) && bytes[pos] != '>') {
        attribute.value.push_back(AsciiLower(bytes[pos++]));
    }
    return true;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<std::uint8_t>(bytes[i]);
        const auto b = static_cast<std::uint8_t>(bytes[i + 1]);
        const char32_t unit = bigEndian ? (a << 8 | b) : (b << 8 | a);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const auto c = static_cast<std::uint8_t>(bytes[i + 2]);
            const auto d = static_cast<std::uint8_t>(bytes[i + 3]);
            const char32_t low = bigEndian ? (c << 8 | d) : (d << 8 | c);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendCodePoint(out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
    }
    if (bytes.size() % 2 != 0) AppendCodePoint(out, 0xFFFD);
    return out;
}

}  // namespace

bool CharsetFromLabel(std::string_view label, Charset& charset) {
    const std::string name = AsciiLowerCopy(Trim(label));
    if (name == "utf-8" || name == "utf8" || name == "unicode-1-1-utf-8" ||
        name == "unicode11utf8" || name == "unicode20utf8" || name == "x-unicode20utf8") {
        charset = Charset::Utf8;
        return true;
    }
    static const char* const kWindows1252[] = {
        "windows-1252", "cp1252",      "x-cp1252", "iso-8859-1",   "iso8859-1", "iso88591",
        "iso_8859-1",   "iso_8859-1:1987", "latin1", "l1",         "us-ascii",  "ascii",
        "ansi_x3.4-1968", "cp819",     "ibm819",   "csisolatin1",  "iso-ir-100", "csascii"};
    for (const char* alias : kWindows1252) {
        if (name == alias) {
            charset = Charset::Windows1252;
            return true;
        }
    }
    if (name == "utf-16" || name == "utf-16le") {
        charset = Charset::Utf16Le;
        return true;
    }
    if (name == "utf-16be") {
        charset = Charset::Utf16Be;
        return true;
    }
    return false;
}

std::string CharsetParameter(std::string_view contentType) {
    const std::string lower = AsciiLowerCopy(contentType);
    std::size_t semicolon = lower.find(';');
    while (semicolon != std::string::npos) {
        std::size_t next = lower.find(';', semicolon + 1);
        std::string_view parameter = Trim(std::string_view(lower).substr(
            semicolon + 1, next == std::string::npos ? std::string::npos : next - semicolon - 1));
        const std::size_t equals = parameter.find('=');
        if (equals != std::string_view::npos && Trim(parameter.substr(0, equals)) == "charset") {
            std::string_view value = Trim(parameter.substr(equals + 1));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
        semicolon = next;
    }
    return {};
}

std::string PrescanMetaCharset(std::string_view input) {
    const std::string_view bytes = input.substr(0, 1024);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (bytes.compare(pos, 4, "<!--") == 0) {
            const std::size_t end = bytes.find("-->", pos + 2);
            if (end == std::string_view::npos) return {};
            pos = end + 3;
            continue;
        }
        if (bytes[pos] != '<') {
            ++pos;
            continue;
        }
        const std::string head = AsciiLowerCopy(bytes.substr(pos, 6));
        if (head.size() == 6 && head.compare(0, 5, "<meta") == 0 && (IsSpace(head[5]) || head[5] == '/')) {
            pos += 6;
            bool gotPragma = false;
            int needPragma = 0;  // 0 unknown, 1 charset from content, 2 charset attribute
            std::string charset;
            std::vector<std::string> seen;
            PrescanAttribute attribute;
            while (GetAttribute(bytes, pos, attribute)) {
                if (std::find(seen.begin(), seen.end(), attribute.name) != seen.end()) continue;
                seen.push_back(attribute.name);
                if (attribute.name == "http-equiv") {
                    if (attribute.value == "content-type") gotPragma = true;
                } else if (attribute.name == "content") {
                    const std::string extracted = ExtractCharset(attribute.value);
                    if (!extracted.empty() && charset.empty()) {
                        charset = extracted;
                        needPragma = 1;
                    }
                } else if (attribute.name == "charset") {
                    charset = attribute.value;
                    needPragma = 2;
                }
            }
            if (needPragma == 0 || (needPragma == 1 && !gotPragma)) continue;
            Charset known;
            if (!CharsetFromLabel(charset, known)) continue;
            // A page that calls itself UTF-16 while being read as bytes is UTF-8.
            if (known == Charset::Utf16Le || known == Charset::Utf16Be) return "utf-8";
            return std::string(Trim(charset));
        }
        const char next = pos + 1 < bytes.size() ? bytes[pos + 1] : '\0';
        const bool letter = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
        if (letter || (next == '/' && pos + 2 < bytes.size())) {
            pos += next == '/' ? 2 : 1;
            while (pos < bytes.size() && !IsSpace(bytes[pos]) && bytes[pos] != '>') ++pos;
            PrescanAttribute ignored;
            while (GetAttribute(bytes, pos, ignored)) {
            }
            continue;
        }
        if (next == '!' || next == '/' || next == '?') {
            const std::size_t end = bytes.find('>', pos + 1);
            if (end == std::string_view::npos) return {};
            pos = end + 1;
            continue;
        }
        ++pos;
    }
    return {};
}

DecodedText DecodeDocument(std::string_view bytes, std::string_view contentType) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return {Utf8ToWide(bytes.substr(3)), Charset::Utf8};
    if (bytes.substr(0, 2) == "\xFE\xFF") return {DecodeUtf16(bytes.substr(2), true), Charset::Utf16Be};
    if (bytes.substr(0, 2) == "\xFF\xFE") return {DecodeUtf16(bytes.substr(2), false), Charset::Utf16Le};

    Charset charset = Charset::Windows1252;
    if (!CharsetFromLabel(CharsetParameter(contentType), charset) &&
        !CharsetFromLabel(PrescanMetaCharset(bytes), charset)) {
        charset = Charset::Windows1252;
    }
    switch (charset) {
        case Charset::Utf8: return {Utf8ToWide(bytes), charset};
        case Charset::Utf16Le: return {DecodeUtf16(bytes, false), charset};
        case Charset::Utf16Be: return {DecodeUtf16(bytes, true), charset};
        case Charset::Windows1252: break;
    }
    return {Cp1252ToWide(bytes), Charset::Windows1252};
}

}  // namespace qv::html
