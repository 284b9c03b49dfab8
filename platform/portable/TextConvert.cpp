#include "TextConvert.h"

#include <array>
#include <cstdint>

namespace qv {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// 0x80..0x9F of Windows-1252; 0 marks the five bytes that have no character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

template <typename F>
void ForEachCodePoint(std::wstring_view text, F&& f) {
    for (std::size_t i = 0; i < text.size();) f(NextCodePoint(text, i));
}

}  // namespace

char32_t NextCodePoint(std::wstring_view text, std::size_t& i) {
    char32_t c = static_cast<char32_t>(text[i++]);
    if constexpr (sizeof(wchar_t) == 2) {
        c &= 0xFFFF;
        if (c >= 0xD800 && c <= 0xDBFF && i < text.size()) {
            const char32_t low = static_cast<char32_t>(text[i]) & 0xFFFF;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
    }
    return c;
}

void AppendCodePoint(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(c));
}

std::size_t FieldLength(std::wstring_view text, std::size_t width) {
    const std::size_t capacity = width > 0 ? width - 1 : 0;
    std::size_t n = text.size() < capacity ? text.size() : capacity;
    if constexpr (sizeof(wchar_t) == 2) {
        if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    }
    return n;
}

std::wstring TwoDigits(int value) {
    std::wstring text = std::to_wstring(value);
    if (text.size() < 2) text.insert(0, 2 - text.size(), L'0');
    return text;
}

std::filesystem::path ToFsPath(std::wstring_view path) {
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    return std::filesystem::path(WideToUtf8(path));
#endif
}

std::wstring FromFsPath(const std::filesystem::path& path) {
#ifdef _WIN32
    return path.wstring();
#else
    return Utf8ToWide(path.string());
#endif
}

char32_t Cp1252HighCharacter(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : 0;
}

std::string WideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t c) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    });
    return out;
}

std::wstring Utf8ToWide(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<std::uint8_t>(bytes[i]);
        int length = 0;
        char32_t c = 0;
        if (b0 < 0x80) {
            length = 1;
            c = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            length = 2;
            c = b0 & 0x1F;
        } else if ((b0 & 0xF0) == 0xE0) {
            length = 3;
            c = b0 & 0x0F;
        } else if ((b0 & 0xF8) == 0xF0) {
            length = 4;
            c = b0 & 0x07;
        }
        bool valid = length > 0 && i + length <= bytes.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto b = static_cast<std::uint8_t>(bytes[i + k]);
            if ((b & 0xC0) != 0x80) {
                valid = false;
            } else {
                c = (c << 6) | (b & 0x3F);
            }
        }
        // Overlong forms, surrogates and values past U+10FFFF are not text.
        static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kMinimum[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)) {
            valid = false;
        }
        if (valid) {
            AppendCodePoint(out, c);
            i += length;
        } else {
            out.push_back(static_cast<wchar_t>(kReplacement));
            ++i;
        }
    }
    return out;
}

std::string WideToCp1252(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, [&](char32_t c) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            return;
        }
        for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
            if (kCp1252High[k] != 0 && kCp1252High[k] == c) {
                out.push_back(static_cast<char>(0x80 + k));
                return;
            }
        }
        out.push_back('?');
    });
    return out;
}

std::wstring Cp1252ToWide(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b >= 0x80 && b < 0xA0) {
            // The five unassigned bytes map to the C1 controls, as Windows does.
            const char32_t mapped = Cp1252HighCharacter(b);
            out.push_back(static_cast<wchar_t>(mapped != 0 ? mapped : b));
        } else {
            out.push_back(static_cast<wchar_t>(b));
        }
    }
    return out;
}

}  // namespace qv
