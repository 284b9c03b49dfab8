#include "CTextFileReader.h"

#include <array>
#include <cstdint>
#include <filesystem>

#include "CodePages.h"
#include "TextConvert.h"

namespace qv {
namespace {

struct Detected {
    TextFileEncoding encoding;
    std::size_t markLength;
};

Detected Detect(const std::array<std::uint8_t, 4>& b, std::size_t count) {
    if (count < 2) return {TextFileEncoding::Ansi, 0};
    if (count >= 4 && b[0] == 0xFF && b[1] == 0xFE && b[2] == 0x00 && b[3] == 0x00)
        return {TextFileEncoding::Utf32Le, 4};
    if (count >= 4 && b[0] == 0x00 && b[1] == 0x00 && b[2] == 0xFE && b[3] == 0xFF)
        return {TextFileEncoding::Utf32Be, 4};
    if (count >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF)
        return {TextFileEncoding::Utf8, 3};
    if (b[0] == 0xFF && b[1] == 0xFE) return {TextFileEncoding::Utf16Le, 2};
    if (b[0] == 0xFE && b[1] == 0xFF) return {TextFileEncoding::Utf16Be, 2};
    return {TextFileEncoding::Ansi, 0};
}

// UTF-16 units into the core's text: unchanged where wchar_t is 16-bit,
// pairs joined into code points elsewhere (a lone surrogate becomes U+FFFD
// there, as no code point can carry it).
std::wstring UnitsToWide(const std::u16string& units) {
    std::wstring out;
    out.reserve(units.size());
    if constexpr (sizeof(wchar_t) == 2) {
        for (const char16_t u : units) out.push_back(static_cast<wchar_t>(u));
    } else {
        for (std::size_t i = 0; i < units.size(); ++i) {
            const char16_t u = units[i];
            if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                units[i + 1] <= 0xDFFF) {
                const auto cp = 0x10000 + ((static_cast<std::uint32_t>(u) - 0xD800) << 10) +
                                (static_cast<std::uint32_t>(units[i + 1]) - 0xDC00);
                out.push_back(static_cast<wchar_t>(cp));
                ++i;
            } else if (u >= 0xD800 && u <= 0xDFFF) {
                out.push_back(static_cast<wchar_t>(0xFFFD));
            } else {
                out.push_back(static_cast<wchar_t>(u));
            }
        }
    }
    return out;
}

}  // namespace

bool CTextFileReader::Open(const std::wstring& path) {
    file_.close();
    file_.clear();
    encoding_ = TextFileEncoding::Ansi;
    file_.open(ToFsPath(path), std::ios::binary);
    if (!file_.is_open()) return false;

    std::array<std::uint8_t, 4> head{};
    std::size_t count = 0;
    std::streambuf* buf = file_.rdbuf();
    while (count < head.size()) {
        const auto c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) break;
        head[count++] = static_cast<std::uint8_t>(c);
    }
    const Detected detected = Detect(head, count);
    encoding_ = detected.encoding;
    file_.clear();
    file_.seekg(static_cast<std::streamoff>(detected.markLength), std::ios::beg);
    return true;
}

bool CTextFileReader::ReadByteLine(std::string& bytes) {
    std::streambuf* buf = file_.rdbuf();
    for (;;) {
        const auto c = buf->sbumpc();
        if (c == std::char_traits<char>::eof()) return false;
        if (c == '\n') return true;
        bytes.push_back(static_cast<char>(c));
    }
}

bool CTextFileReader::ReadLine(std::wstring& line) {
    line.clear();
    if (!file_.is_open()) return false;
    std::streambuf* buf = file_.rdbuf();

    switch (encoding_) {
        case TextFileEncoding::Utf32Le:
        case TextFileEncoding::Utf32Be:
            return false;

        case TextFileEncoding::Ansi:
        case TextFileEncoding::Utf8: {
            std::string bytes;
            const bool ended = ReadByteLine(bytes);
            line = encoding_ == TextFileEncoding::Utf8 ? Utf8ToWide(bytes) : OemToWide(bytes);
            return ended;
        }

        case TextFileEncoding::Utf16Le:
        case TextFileEncoding::Utf16Be: {
            const bool bigEndian = encoding_ == TextFileEncoding::Utf16Be;
            std::u16string units;
            for (;;) {
                const auto first = buf->sbumpc();
                if (first == std::char_traits<char>::eof()) break;
                const auto second = buf->sbumpc();
                // A byte left over at the end is no unit.
                if (second == std::char_traits<char>::eof()) break;
                const auto lo = static_cast<std::uint8_t>(bigEndian ? second : first);
                const auto hi = static_cast<std::uint8_t>(bigEndian ? first : second);
                const auto unit = static_cast<char16_t>((hi << 8) | lo);
                if (unit == u'\n') {
                    line = UnitsToWide(units);
                    return true;
                }
                units.push_back(unit);
            }
            line = UnitsToWide(units);
            return false;
        }
    }
    return false;
}

}  // namespace qv
