#include "JetDialect.h"

#include <cwctype>
#include <vector>

#include "AdoFailure.h"
#include "JetDates.h"

namespace qv::ado_detail {
namespace {

bool IsWordChar(wchar_t ch) {
    return ch == L'_' || (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z') ||
           (ch >= L'A' && ch <= L'Z') || ch > 127;
}

[[noreturn]] void SyntaxError(std::wstring description) {
    throw Failure{std::move(description), codes::kErrorsInCommand, {}};
}

// Index just past the quoted run that starts at `at` (a quote doubled inside
// stands for itself).
std::size_t SkipQuoted(std::wstring_view text, std::size_t at, wchar_t quote) {
    std::size_t i = at + 1;
    while (true) {
        if (i >= text.size()) SyntaxError(L"Syntax error in string in query expression.");
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
}

std::size_t SkipBracketed(std::wstring_view text, std::size_t at) {
    const std::size_t close = text.find(L']', at + 1);
    if (close == std::wstring_view::npos) SyntaxError(L"Invalid bracketing of name.");
    return close + 1;
}

std::size_t SkipSpace(std::wstring_view text, std::size_t i) {
    while (i < text.size() && std::iswspace(text[i])) ++i;
    return i;
}

}  // namespace

std::wstring TranslateJetToSqlite(std::wstring_view jet) {
    std::wstring out;
    out.reserve(jet.size() + 16);
    // Per open parenthesis (index 0: the statement itself), the LIMIT that a
    // TOP in that level's SELECT asks for; empty when none.
    std::vector<std::wstring> limits(1);
    // What the last word was, to know whether TOP follows SELECT.
    enum class After { Other, Select } after = After::Other;

    auto closeLevel = [&]() {
        if (!limits.back().empty()) {
            while (!out.empty() && std::iswspace(out.back())) out.pop_back();
            out += L" LIMIT " + limits.back();
        }
    };

    std::size_t i = 0;
    while (i < jet.size()) {
        const wchar_t ch = jet[i];
        if (ch == L'\'') {
            const std::size_t end = SkipQuoted(jet, i, L'\'');
            out.append(jet.substr(i, end - i));
            i = end;
            after = After::Other;
        } else if (ch == L'"') {
            const std::size_t end = SkipQuoted(jet, i, L'"');
            out.push_back(L'\'');
            for (std::size_t k = i + 1; k + 1 < end; ++k) {
                if (jet[k] == L'"') ++k;  // "" stands for one quote
                if (jet[k] == L'\'') out.push_back(L'\'');
                out.push_back(jet[k]);
            }
            out.push_back(L'\'');
            i = end;
            after = After::Other;
        } else if (ch == L'[') {
            const std::size_t end = SkipBracketed(jet, i);
            out.append(jet.substr(i, end - i));
            i = end;
            after = After::Other;
        } else if (ch == L'#') {
            const std::size_t close = jet.find(L'#', i + 1);
            if (close == std::wstring_view::npos) {
                SyntaxError(L"Syntax error in date in query expression.");
            }
            const std::wstring_view literal = jet.substr(i + 1, close - i - 1);
            const auto date = ParseJetDateText(literal);
            if (!date) {
                SyntaxError(L"Syntax error in date in query expression '#" + std::wstring(literal) +
                            L"#'.");
            }
            out += L'\'' + FormatCanonicalDate(*date) + L'\'';
            i = close + 1;
            after = After::Other;
        } else if (ch == L'(') {
            out.push_back(ch);
            limits.emplace_back();
            ++i;
            after = After::Other;
        } else if (ch == L')') {
            if (limits.size() > 1) {
                closeLevel();
                limits.pop_back();
            }
            out.push_back(ch);
            ++i;
            after = After::Other;
        } else if (IsWordChar(ch)) {
            std::size_t end = i;
            while (end < jet.size() && IsWordChar(jet[end])) ++end;
            const std::wstring_view word = jet.substr(i, end - i);
            if (after == After::Select && SameWord(word, L"TOP")) {
                std::size_t numberAt = SkipSpace(jet, end);
                std::size_t numberEnd = numberAt;
                while (numberEnd < jet.size() && jet[numberEnd] >= L'0' && jet[numberEnd] <= L'9') {
                    ++numberEnd;
                }
                if (numberEnd == numberAt || (numberEnd < jet.size() && IsWordChar(jet[numberEnd]))) {
                    SyntaxError(L"The SELECT statement includes a reserved word or an argument "
                                L"name that is misspelled or missing, or the punctuation is "
                                L"incorrect.");
                }
                std::size_t next = SkipSpace(jet, numberEnd);
                std::size_t nextEnd = next;
                while (nextEnd < jet.size() && IsWordChar(jet[nextEnd])) ++nextEnd;
                if (SameWord(jet.substr(next, nextEnd - next), L"PERCENT")) {
                    SyntaxError(L"TOP ... PERCENT is not supported for this database.");
                }
                limits.back() = std::wstring(jet.substr(numberAt, numberEnd - numberAt));
                i = next;  // drop "TOP n" and the blanks after it
                after = After::Other;
                continue;
            }
            out.append(word);
            if (SameWord(word, L"SELECT")) {
                after = After::Select;
            } else if (after == After::Select &&
                       (SameWord(word, L"DISTINCT") || SameWord(word, L"ALL"))) {
                // TOP may still follow.
            } else {
                after = After::Other;
            }
            i = end;
        } else {
            if (ch == L';' && limits.size() == 1) {
                closeLevel();
                limits.back().clear();
            }
            out.push_back(ch);
            if (!std::iswspace(ch)) after = After::Other;
            ++i;
        }
    }
    if (limits.size() != 1) SyntaxError(L"Syntax error: a parenthesis is not closed.");
    closeLevel();
    return out;
}

std::wstring FindUpdatableTable(std::wstring_view select) {
    std::size_t depth = 0;
    std::size_t i = 0;
    auto nextName = [&](std::size_t at, std::size_t& end) -> std::wstring {
        at = SkipSpace(select, at);
        if (at >= select.size()) return {};
        if (select[at] == L'[') {
            const std::size_t close = select.find(L']', at + 1);
            if (close == std::wstring_view::npos) return {};
            end = close + 1;
            return std::wstring(select.substr(at + 1, close - at - 1));
        }
        if (select[at] == L'"' || select[at] == L'`') {
            const std::size_t close = select.find(select[at], at + 1);
            if (close == std::wstring_view::npos) return {};
            end = close + 1;
            return std::wstring(select.substr(at + 1, close - at - 1));
        }
        end = at;
        while (end < select.size() && IsWordChar(select[end])) ++end;
        return std::wstring(select.substr(at, end - at));
    };
    try {
        while (i < select.size()) {
            const wchar_t ch = select[i];
            if (ch == L'\'' || ch == L'"') {
                i = SkipQuoted(select, i, ch);
            } else if (ch == L'[') {
                i = SkipBracketed(select, i);
            } else if (ch == L'(') {
                ++depth;
                ++i;
            } else if (ch == L')') {
                if (depth > 0) --depth;
                ++i;
            } else if (IsWordChar(ch)) {
                std::size_t end = i;
                while (end < select.size() && IsWordChar(select[end])) ++end;
                if (depth == 0 && SameWord(select.substr(i, end - i), L"FROM")) {
                    std::size_t nameEnd = end;
                    std::wstring name = nextName(end, nameEnd);
                    if (name.empty()) return {};
                    // A list of tables or a join has no single table to add to.
                    std::size_t rest = SkipSpace(select, nameEnd);
                    if (rest < select.size() && select[rest] == L',') return {};
                    for (std::size_t k = rest; k < select.size();) {
                        std::size_t wordEnd = k;
                        while (wordEnd < select.size() && IsWordChar(select[wordEnd])) ++wordEnd;
                        if (wordEnd > k) {
                            if (SameWord(select.substr(k, wordEnd - k), L"JOIN")) return {};
                            if (SameWord(select.substr(k, wordEnd - k), L"WHERE") ||
                                SameWord(select.substr(k, wordEnd - k), L"ORDER")) {
                                break;
                            }
                            k = wordEnd;
                        } else {
                            ++k;
                        }
                    }
                    return name;
                }
                i = end;
            } else {
                ++i;
            }
        }
    } catch (const Failure&) {
        return {};
    }
    return {};
}

bool SameWord(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    }
    return true;
}

}  // namespace qv::ado_detail
