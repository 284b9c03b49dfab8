#include "JetDates.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cwctype>
#include <vector>

#include "CivilDays.h"

namespace qv::ado_detail {
namespace {

constexpr int kBaseYear = 1899;
constexpr int kBaseMonth = 12;
constexpr int kBaseDay = 30;

struct Token {
    enum class Kind { Number, Word, Separator };
    Kind kind = Kind::Number;
    int number = 0;
    int digits = 0;
    std::wstring word;  // lower case
    wchar_t separator = 0;
};

std::optional<std::vector<Token>> Tokenize(std::wstring_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t ch = text[i];
        if (ch >= L'0' && ch <= L'9') {
            Token token;
            token.kind = Token::Kind::Number;
            while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
                if (token.digits >= 5) return std::nullopt;
                token.number = token.number * 10 + (text[i] - L'0');
                ++token.digits;
                ++i;
            }
            tokens.push_back(token);
        } else if ((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z')) {
            Token token;
            token.kind = Token::Kind::Word;
            while (i < text.size() && std::iswalpha(text[i]) && text[i] < 128) {
                token.word.push_back(static_cast<wchar_t>(std::towlower(text[i])));
                ++i;
            }
            tokens.push_back(token);
        } else if (ch == L' ' || ch == L'\t') {
            ++i;
        } else if (ch == L'/' || ch == L'-' || ch == L'.' || ch == L',' || ch == L':') {
            Token token;
            token.kind = Token::Kind::Separator;
            token.separator = ch;
            tokens.push_back(token);
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

// 1..12, or 0 for a word that is no month. Three letters or the full name.
int MonthFromWord(const std::wstring& word) {
    static constexpr std::array<const wchar_t*, 12> names{
        L"january", L"february", L"march",     L"april",   L"may",      L"june",
        L"july",    L"august",   L"september", L"october", L"november", L"december"};
    for (std::size_t m = 0; m < names.size(); ++m) {
        const std::wstring_view name = names[m];
        if (word == name || (word.size() == 3 && name.substr(0, 3) == word) ||
            (word == L"sept" && m == 8)) {
            return static_cast<int>(m) + 1;
        }
    }
    return 0;
}

int CurrentYear() {
    const auto now = std::chrono::system_clock::now();
    const std::chrono::year_month_day today{std::chrono::floor<std::chrono::days>(now)};
    return static_cast<int>(today.year());
}

int WidenYear(const Token& token) {
    if (token.digits <= 2) return token.number < 30 ? 2000 + token.number : 1900 + token.number;
    return token.number;
}

}  // namespace

bool IsValidDate(const CADODate& d) {
    return d.year >= 100 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= DaysInMonth(d.year, d.month) && d.hour >= 0 && d.hour <= 23 &&
           d.minute >= 0 && d.minute <= 59 && d.second >= 0 && d.second <= 59;
}

std::optional<CADODate> ParseJetDateText(std::wstring_view text) {
    const auto tokens = Tokenize(text);
    if (!tokens || tokens->empty()) return std::nullopt;

    CADODate result;
    bool haveTime = false;
    std::vector<Token> dateNumbers;
    int monthFromName = 0;

    const std::vector<Token>& t = *tokens;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Token& token = t[i];
        const bool startsTime =
            token.kind == Token::Kind::Number &&
            ((i + 1 < t.size() && t[i + 1].kind == Token::Kind::Separator &&
              t[i + 1].separator == L':') ||
             (i + 1 < t.size() && t[i + 1].kind == Token::Kind::Word &&
              (t[i + 1].word == L"am" || t[i + 1].word == L"pm")));
        if (startsTime) {
            if (haveTime) return std::nullopt;
            haveTime = true;
            int parts[3] = {0, 0, 0};
            int count = 0;
            std::size_t j = i;
            while (true) {
                if (j >= t.size() || t[j].kind != Token::Kind::Number || t[j].digits > 2 ||
                    count == 3) {
                    return std::nullopt;
                }
                parts[count++] = t[j].number;
                ++j;
                if (j < t.size() && t[j].kind == Token::Kind::Separator && t[j].separator == L':') {
                    ++j;
                    continue;
                }
                break;
            }
            int hour = parts[0];
            if (j < t.size() && t[j].kind == Token::Kind::Word &&
                (t[j].word == L"am" || t[j].word == L"pm")) {
                if (hour < 1 || hour > 12) return std::nullopt;
                if (t[j].word == L"am") {
                    hour = hour == 12 ? 0 : hour;
                } else {
                    hour = hour == 12 ? 12 : hour + 12;
                }
                ++j;
            }
            result.hour = hour;
            result.minute = parts[1];
            result.second = parts[2];
            i = j - 1;
        } else if (token.kind == Token::Kind::Number) {
            dateNumbers.push_back(token);
        } else if (token.kind == Token::Kind::Word) {
            const int month = MonthFromWord(token.word);
            if (month == 0 || monthFromName != 0) return std::nullopt;
            monthFromName = month;
        } else if (token.separator == L':') {
            return std::nullopt;
        }
    }

    if (monthFromName != 0) {
        // "Mar 7, 2009", "7-Mar-2009", "March 2009".
        if (dateNumbers.size() == 2) {
            const bool yearFirst = dateNumbers[0].digits > 2 || dateNumbers[0].number > 31;
            const Token& day = yearFirst ? dateNumbers[1] : dateNumbers[0];
            const Token& year = yearFirst ? dateNumbers[0] : dateNumbers[1];
            result.year = WidenYear(year);
            result.month = monthFromName;
            result.day = day.number;
        } else if (dateNumbers.size() == 1) {
            const Token& only = dateNumbers[0];
            result.month = monthFromName;
            if (only.digits > 2 || only.number > 31) {
                result.year = WidenYear(only);
                result.day = 1;
            } else {
                result.year = CurrentYear();
                result.day = only.number;
            }
        } else {
            return std::nullopt;
        }
    } else if (dateNumbers.size() == 3) {
        const Token& a = dateNumbers[0];
        const Token& b = dateNumbers[1];
        const Token& c = dateNumbers[2];
        if (a.digits > 2) {  // 2009-03-07
            result.year = a.number;
            result.month = b.number;
            result.day = c.number;
        } else {
            result.year = WidenYear(c);
            result.month = a.number;
            result.day = b.number;
            // Jet reads 13/07/2009 as 13 July: a month that cannot be one swaps.
            if (result.month > 12 && result.day <= 12) std::swap(result.month, result.day);
        }
    } else if (dateNumbers.size() == 2) {
        const Token& a = dateNumbers[0];
        const Token& b = dateNumbers[1];
        if (b.digits > 2 || b.number > 31) {  // 3/2009
            result.year = WidenYear(b);
            result.month = a.number;
            result.day = 1;
        } else {  // 3/7 in the current year
            result.year = CurrentYear();
            result.month = a.number;
            result.day = b.number;
        }
    } else if (dateNumbers.empty()) {
        if (!haveTime) return std::nullopt;
        result.year = kBaseYear;
        result.month = kBaseMonth;
        result.day = kBaseDay;
    } else {
        return std::nullopt;
    }

    if (!IsValidDate(result)) return std::nullopt;
    return result;
}

std::wstring FormatCanonicalDate(const CADODate& d) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour,
                  d.minute, d.second);
    return buffer;
}

std::optional<CADODate> ParseCanonicalDate(std::wstring_view text) {
    static constexpr std::wstring_view kPattern = L"dddd-dd-dd dd:dd:dd";
    if (text.size() != kPattern.size()) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= L'0' && text[i] <= L'9';
        if (kPattern[i] == L'd' ? !digit : text[i] != kPattern[i]) return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - L'0');
        return value;
    };
    CADODate d{number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2)};
    if (!IsValidDate(d)) return std::nullopt;
    return d;
}

}  // namespace qv::ado_detail
