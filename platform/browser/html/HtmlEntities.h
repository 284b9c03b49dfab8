#pragma once
// Character references: the named ones that pages use (HTML 4's set, which
// the current standard keeps, plus &apos;) and the numeric remapping rules.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::html {

struct NamedReferenceMatch {
    std::size_t length;      // characters consumed after the '&', ';' included
    char32_t codePoint;
    bool endsWithSemicolon;
};

// The longest named reference at the start of `text` (the text after '&').
// Names of the legacy Latin-1 set and amp/lt/gt/quot also match without ';'.
std::optional<NamedReferenceMatch> MatchNamedReference(std::wstring_view text);

// The character a numeric reference stands for: 0, surrogates and values past
// U+10FFFF give U+FFFD; 0x80..0x9F are read as Windows-1252, as browsers do.
char32_t NumericReferenceCharacter(std::uint32_t value);

}  // namespace qv::html
