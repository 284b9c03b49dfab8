#include "JetConnectionString.h"

#include <cwctype>

#include "AdoFailure.h"

namespace qv::ado_detail {
namespace {

std::wstring NormalKey(std::wstring_view key) {
    std::size_t begin = 0;
    std::size_t end = key.size();
    while (begin < end && std::iswspace(key[begin])) ++begin;
    while (end > begin && std::iswspace(key[end - 1])) --end;
    std::wstring out;
    for (std::size_t i = begin; i < end; ++i)
        out.push_back(static_cast<wchar_t>(std::towlower(key[i])));
    return out;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::towlower(text[i]) != std::towlower(prefix[i])) return false;
    }
    return true;
}

}  // namespace

JetConnection ParseJetConnectionString(std::wstring_view text) {
    std::map<std::wstring, std::wstring> values;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t equals = text.find(L'=', i);
        const std::size_t semicolon = text.find(L';', i);
        if (equals == std::wstring_view::npos ||
            (semicolon != std::wstring_view::npos && semicolon < equals)) {
            // A part without '=': only blanks are allowed there.
            const std::size_t end = semicolon == std::wstring_view::npos ? text.size() : semicolon;
            if (!NormalKey(text.substr(i, end - i)).empty()) {
                throw Failure{
                    L"The connection string is not well formed.", codes::kUnspecified, {}};
            }
            i = end + 1;
            continue;
        }
        const std::wstring key = NormalKey(text.substr(i, equals - i));
        std::size_t v = equals + 1;
        std::size_t firstNonBlank = v;
        while (firstNonBlank < text.size() && text[firstNonBlank] == L' ') ++firstNonBlank;
        std::wstring value;
        if (firstNonBlank < text.size() &&
            (text[firstNonBlank] == L'"' || text[firstNonBlank] == L'\'')) {
            const wchar_t quote = text[firstNonBlank];
            std::size_t k = firstNonBlank + 1;
            bool closed = false;
            while (k < text.size()) {
                if (text[k] == quote) {
                    if (k + 1 < text.size() && text[k + 1] == quote) {
                        value.push_back(quote);
                        k += 2;
                        continue;
                    }
                    closed = true;
                    ++k;
                    break;
                }
                value.push_back(text[k++]);
            }
            while (k < text.size() && text[k] == L' ') ++k;
            if (!closed || (k < text.size() && text[k] != L';')) {
                throw Failure{
                    L"The connection string is not well formed.", codes::kUnspecified, {}};
            }
            i = k + 1;
        } else {
            const std::size_t end = semicolon == std::wstring_view::npos ? text.size() : semicolon;
            value = std::wstring(text.substr(v, end - v));
            i = end + 1;
        }
        values[key] = value;
    }

    JetConnection result;
    result.provider = values[L"provider"];
    result.dataSource = values[L"data source"];
    result.password = values[L"jet oledb:database password"];
    if (!result.provider.empty() && !StartsWithNoCase(result.provider, L"Microsoft.Jet.OLEDB") &&
        !StartsWithNoCase(result.provider, L"Microsoft.ACE.OLEDB")) {
        throw Failure{L"Provider cannot be found. It may not be properly installed.",
                      codes::kProviderNotFound,
                      {}};
    }
    if (result.dataSource.empty()) {
        throw Failure{L"The connection string names no database file (Data Source).",
                      codes::kUnspecified,
                      {}};
    }
    return result;
}

}  // namespace qv::ado_detail

namespace qv {

std::wstring JetConnectionValue(std::wstring_view value) {
    const bool plain =
        value.find(L';') == std::wstring_view::npos &&
        (value.empty() || (value.front() != L'"' && value.front() != L'\'' &&
                           !std::iswspace(value.front()) && !std::iswspace(value.back())));
    if (plain) return std::wstring(value);
    const wchar_t quote = value.find(L'"') == std::wstring_view::npos ? L'"' : L'\'';
    std::wstring quoted(1, quote);
    for (const wchar_t c : value) {
        if (c == quote) quoted.push_back(quote);
        quoted.push_back(c);
    }
    quoted.push_back(quote);
    return quoted;
}

}  // namespace qv
