#include "IniFileStore.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "AsciiText.h"
#include "TextConvert.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A line without '=' is kept as a name with no value; it reads as missing.
struct Entry {
    std::wstring name;
    std::optional<std::wstring> value;
};

// The lines before the first header form a section with an empty name, which
// is written back without a header.
struct Section {
    std::wstring name;
    std::vector<Entry> entries;
};

using Document = std::vector<Section>;

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// Only ASCII letters fold: the system functions treat "Ö" and "ö" as
// different names, and files must keep meaning the same on both sides.
bool SameName(std::wstring_view a, std::wstring_view b) {
    return EqualsIgnoringAsciiCase(a, b);
}

Document Parse(std::wstring_view text) {
    Document doc(1);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos) end = text.size();
        const std::wstring_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == L'[') {
            // The last ']' closes the name, so "[a]b]" names "a]b" and text after it is dropped.
            const std::size_t close = line.rfind(L']');
            if (close != std::wstring_view::npos) {
                doc.push_back(Section{std::wstring(Trim(line.substr(1, close - 1))), {}});
                continue;
            }
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) {
            doc.back().entries.push_back(Entry{std::wstring(line), std::nullopt});
        } else {
            doc.back().entries.push_back(Entry{std::wstring(Trim(line.substr(0, equals))),
                                               std::wstring(Trim(line.substr(equals + 1)))});
        }
    }
    return doc;
}

std::wstring Serialize(const Document& doc) {
    std::wstring text;
    for (const Section& section : doc) {
        if (!section.name.empty()) text += L"[" + section.name + L"]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.name;
            if (entry.value) text += L"=" + *entry.value;
            text += L"\r\n";
        }
    }
    return text;
}

enum class Load { Read, Missing, Failed };

Load ReadDocument(const fs::path& path, Document& doc) {
    std::error_code error;
    const fs::file_type type = fs::status(path, error).type();
    if (type == fs::file_type::not_found) return Load::Missing;
    if (type != fs::file_type::regular) return Load::Failed;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Load::Failed;
    // istream::read turns a read error into badbit; iterating the buffer
    // directly would let the exception out.
    std::string bytes;
    std::array<char, 4096> buffer;
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
        bytes.append(buffer.data(), static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return Load::Failed;
    doc = Parse(Cp1252ToWide(bytes));
    return Load::Read;
}

// The new text goes to a side file first; rename replaces the old file in one
// step on both systems, so readers see either the old or the new file.
bool ReplaceFile(const fs::path& path, const std::string& bytes) {
    fs::path temp = path;
    temp += ".tmp";
    std::error_code error;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temp, error);
            return false;
        }
    }
    fs::rename(temp, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

Section* FindSection(Document& doc, std::wstring_view name) {
    for (Section& section : doc) {
        if (SameName(section.name, name)) return &section;
    }
    return nullptr;
}

Entry* FindEntry(Section& section, std::wstring_view name) {
    for (Entry& entry : section.entries) {
        if (SameName(entry.name, name)) return &entry;
    }
    return nullptr;
}

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'z') return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
    return 99;
}

// Reads a stored value the way GetPrivateProfileIntW does: one pair of
// matching quotes removed, an empty value means "use the default", then an
// optional sign, an optional lower-case 0x / 0o / 0b prefix and digits up to
// the first one that does not belong. Overflow wraps to 32 bits. Anything
// else that is not empty reads as 0.
std::optional<int> ParseProfileInt(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.empty()) return std::nullopt;
    std::size_t i = 0;
    while (i < value.size() && IsSpace(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'-' || value[i] == L'+')) {
        negative = value[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i + 1 < value.size() && value[i] == L'0') {
        switch (value[i + 1]) {
            case L'x': base = 16; break;
            case L'o': base = 8; break;
            case L'b': base = 2; break;
            default: break;
        }
        if (base != 10) i += 2;
    }
    std::uint32_t result = 0;
    for (; i < value.size(); ++i) {
        const int digit = DigitValue(value[i]);
        if (digit >= base) break;
        result = result * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    }
    if (negative) result = 0u - result;
    return static_cast<int>(result);
}

}  // namespace

int IniFileStore::ReadInt(const std::wstring& path, const std::wstring& section,
                          const std::wstring& key, int defaultValue) const {
    Document doc;
    if (ReadDocument(ToFsPath(path), doc) != Load::Read) return defaultValue;
    Section* found = FindSection(doc, section);
    const Entry* entry = found ? FindEntry(*found, key) : nullptr;
    if (!entry || !entry->value) return defaultValue;
    return ParseProfileInt(*entry->value).value_or(defaultValue);
}

bool IniFileStore::WriteString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& value) {
    const fs::path file = ToFsPath(path);
    Document doc(1);
    if (ReadDocument(file, doc) == Load::Failed) return false;

    // The system drops leading blanks of a written value; trailing ones stay
    // until the next read trims them.
    std::wstring_view stored = value;
    while (!stored.empty() && IsSpace(stored.front())) stored.remove_prefix(1);

    Section* target = FindSection(doc, section);
    if (!target) {
        doc.push_back(Section{section, {}});
        target = &doc.back();
    }
    if (Entry* entry = FindEntry(*target, key)) {
        // An unchanged value leaves the file exactly as it is, as the system does.
        if (entry->value && *entry->value == stored) return true;
        entry->value = std::wstring(stored);
    } else {
        target->entries.push_back(Entry{key, std::wstring(stored)});
    }
    return ReplaceFile(file, WideToCp1252(Serialize(doc)));
}

}  // namespace qv
