#include "AccountDescription.h"

#include <cstdint>
#include <cstdio>

#include "TextConvert.h"

namespace qv {
namespace {

// Carries the first problem out of the nested helpers; the line is added by
// the caller, which is the only one that knows it.
struct LineError {
    std::string message;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    return 4;
}

// Only called on text already known to be well-formed UTF-8.
char32_t DecodeOne(std::string_view bytes) {
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = static_cast<unsigned char>(bytes[0]) & kLeadMask[bytes.size()];
    for (std::size_t k = 1; k < bytes.size(); ++k) {
        c = (c << 6) | (static_cast<unsigned char>(bytes[k]) & 0x3F);
    }
    return c;
}

std::string CodePointName(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// The decoder turns bad sequences into U+FFFD, so a lossless round trip is
// the test for well-formed input.
bool IsWellFormedUtf8(std::string_view bytes) {
    return WideToUtf8(Utf8ToWide(bytes)) == bytes;
}

std::optional<LineError> CheckValue(std::string_view value, std::string_view what) {
    for (std::size_t i = 0; i < value.size();) {
        const std::size_t length = Utf8Length(static_cast<unsigned char>(value[i]));
        const std::string_view one = value.substr(i, length);
        const char32_t c = DecodeOne(one);
        if (c == U';') {
            return LineError{std::string(what) +
                             " contains ';', which account.ini uses between fields"};
        }
        if (c < 0x20 || c == 0x7F) {
            return LineError{std::string(what) + " contains the control character " +
                             CodePointName(c)};
        }
        // WideToCp1252 writes '?' for what it cannot map; only a round trip
        // tells that apart from a real '?'.
        const std::wstring wide = Utf8ToWide(one);
        if (Cp1252ToWide(WideToCp1252(wide)) != wide) {
            return LineError{std::string(what) + " contains '" + std::string(one) + "' (" +
                             CodePointName(c) + "), which has no Windows-1252 byte"};
        }
        i += length;
    }
    return std::nullopt;
}

// Splits a line into words; a word in double quotes may hold blanks and '#',
// with \" and \\ for a quote and a backslash.
std::optional<LineError> SplitWords(std::string_view line, std::vector<std::string>& words) {
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i == line.size() || line[i] == '#') return std::nullopt;
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size() && !closed) {
                const char c = line[i++];
                if (c == '"') {
                    closed = true;
                } else if (c == '\\') {
                    if (i == line.size() || (line[i] != '"' && line[i] != '\\')) {
                        return LineError{"a backslash in quotes must be followed by \" or \\"};
                    }
                    word.push_back(line[i++]);
                } else {
                    word.push_back(c);
                }
            }
            if (!closed) return LineError{"the closing quote is missing"};
            if (i < line.size() && !IsBlank(line[i]) && line[i] != '#') {
                return LineError{"a closing quote must be followed by a blank"};
            }
        } else {
            while (i < line.size() && !IsBlank(line[i])) {
                if (line[i] == '"') {
                    return LineError{"a quote may only start a value; put the whole value "
                                     "in quotes"};
                }
                word.push_back(line[i++]);
            }
        }
        words.push_back(std::move(word));
    }
}

bool EndsWithMdb(std::string_view name) {
    if (name.size() <= 4) return false;
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return tail == ".mdb";
}

std::optional<LineError> ParseStatement(const std::vector<std::string>& words,
                                        std::vector<DatabaseGroup>& groups) {
    const std::string& keyword = words[0];
    const bool isGroup = keyword == "group";
    if (!isGroup && keyword != "account") {
        return LineError{"unknown statement '" + keyword + "'; expected 'group' or 'account'"};
    }
    const char* usage = isGroup ? "usage: group FILE.mdb DATABASE-PASSWORD"
                                : "usage: account NICKNAME PASSWORD";
    if (words.size() < 3) return LineError{std::string("a value is missing; ") + usage};
    if (words.size() > 3) {
        return LineError{std::string("too many values (quote values with blanks); ") + usage};
    }
    if (!isGroup && groups.empty()) {
        return LineError{"an account must follow a group line"};
    }

    const char* names[2] = {isGroup ? "the database file name" : "the nickname",
                            isGroup ? "the database password" : "the password"};
    for (int k = 0; k < 2; ++k) {
        if (auto problem = CheckValue(words[k + 1], names[k])) return problem;
    }
    const std::string& first = words[1];
    if (isGroup) {
        if (first.find_first_of("\\/:") != std::string::npos) {
            return LineError{"the database file name must be a bare name, not a path"};
        }
        if (!EndsWithMdb(first)) {
            return LineError{"the database file name must end in \".mdb\""};
        }
        groups.push_back({Utf8ToWide(first), Utf8ToWide(words[2]), {}});
    } else {
        if (first.empty()) return LineError{"the nickname is empty"};
        groups.back().accounts.push_back({Utf8ToWide(first), Utf8ToWide(words[2])});
    }
    return std::nullopt;
}

}  // namespace

ParsedDescription ParseAccountDescription(std::string_view text) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }

    ParsedDescription result;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::optional<LineError> problem;
        std::vector<std::string> words;
        if (!IsWellFormedUtf8(line)) {
            problem = LineError{"the line is not valid UTF-8"};
        } else {
            problem = SplitWords(line, words);
        }
        if (!problem && !words.empty()) problem = ParseStatement(words, result.groups);
        if (problem) {
            result.groups.clear();
            result.error = DescriptionError{lineNumber, std::move(problem->message)};
            return result;
        }
    }
    return result;
}

}  // namespace qv
