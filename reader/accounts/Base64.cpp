#include "Base64.h"

#include <cstdint>
#include <vector>

namespace qv {
namespace {

// -1 for bytes outside the alphabet.
int SextetOf(std::uint8_t b) {
    if (b >= 'A' && b <= 'Z') return b - 'A';
    if (b >= 'a' && b <= 'z') return b - 'a' + 26;
    if (b >= '0' && b <= '9') return b - '0' + 52;
    if (b == '+') return 62;
    if (b == '/') return 63;
    return -1;
}

// The low bytes of the UTF-16 units of the text. Where wchar_t holds whole
// code points, a character beyond the BMP gives its two surrogate units, as
// the same text would on Windows.
std::vector<std::uint8_t> UnitLowBytes(std::wstring_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size());
    for (const wchar_t c : text) {
        const auto value = static_cast<std::uint32_t>(c);
        if (value > 0xFFFF && value <= 0x10FFFF) {
            bytes.push_back(static_cast<std::uint8_t>((0xD800 + ((value - 0x10000) >> 10)) & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((0xDC00 + (value & 0x3FF)) & 0xFF));
        } else {
            bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        }
    }
    return bytes;
}

}  // namespace

std::string DecodeBase64(std::wstring_view text) {
    std::vector<int> sextets;
    sextets.reserve(text.size());
    for (const std::uint8_t b : UnitLowBytes(text)) {
        const int value = SextetOf(b);
        if (value < 0) break;
        sextets.push_back(value);
    }

    std::string out;
    out.reserve(sextets.size() / 4 * 3 + 2);
    std::size_t i = 0;
    for (; i + 4 <= sextets.size(); i += 4) {
        const std::uint32_t group = (static_cast<std::uint32_t>(sextets[i]) << 18) |
                                    (static_cast<std::uint32_t>(sextets[i + 1]) << 12) |
                                    (static_cast<std::uint32_t>(sextets[i + 2]) << 6) |
                                    static_cast<std::uint32_t>(sextets[i + 3]);
        out.push_back(static_cast<char>((group >> 16) & 0xFF));
        out.push_back(static_cast<char>((group >> 8) & 0xFF));
        out.push_back(static_cast<char>(group & 0xFF));
    }
    const std::size_t rest = sextets.size() - i;
    if (rest >= 2) {
        const std::uint32_t group =
            (static_cast<std::uint32_t>(sextets[i]) << 18) |
            (static_cast<std::uint32_t>(sextets[i + 1]) << 12) |
            (rest == 3 ? static_cast<std::uint32_t>(sextets[i + 2]) << 6 : 0u);
        out.push_back(static_cast<char>((group >> 16) & 0xFF));
        if (rest == 3) out.push_back(static_cast<char>((group >> 8) & 0xFF));
    }
    return out;
}

}  // namespace qv
