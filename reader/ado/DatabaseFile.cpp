#include "DatabaseFile.h"

#include <array>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "AsciiText.h"
#include "TextConvert.h"

namespace qv::ado_detail {
namespace {

// ODBC connection-string value: braces make ';' and '=' safe, '}' doubled.
std::wstring Braced(const std::wstring& value) {
    std::wstring out = L"{";
    for (const wchar_t ch : value) {
        if (ch == L'}') out.push_back(L'}');
        out.push_back(ch);
    }
    out.push_back(L'}');
    return out;
}

// The SQLite driver reads a value up to the next ';', knows neither braces nor
// quotes, and opens a name that starts with "file:" as an SQLite URI.
bool FitsSqliteDriver(const std::wstring& path) {
    return !path.empty() && path.find(L';') == std::wstring::npos && path.front() != L'{' &&
           !std::iswspace(path.front()) && !std::iswspace(path.back()) &&
           !StartsWithIgnoringAsciiCase(path, L"file:");
}

// The same file as an SQLite URI, every byte but letters, digits and "-._~/:"
// percent-encoded: the value then holds no ';' and the driver, which opens
// URIs, gets the exact path back. A Windows drive path takes the URI's form
// "file:///C:/...", its drive's ':' kept as it is.
std::wstring SqliteUri(const std::wstring& path) {
    std::string bytes = WideToUtf8(path);
    std::string uri = "file:";
#if defined(_WIN32)
    if (!RunningUnderWine()) {
        for (char& c : bytes) {
            if (c == '\\') c = '/';
        }
        if (bytes.size() >= 2 && bytes[1] == ':') uri += "///";
    }
#endif
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                           byte == '_' || byte == '~' || byte == '/' || byte == ':';
        if (plain) {
            uri.push_back(c);
        } else {
            uri.push_back('%');
            uri.push_back(kDigits[byte >> 4]);
            uri.push_back(kDigits[byte & 15]);
        }
    }
    return Utf8ToWide(uri);
}

}  // namespace

DatabaseKind SniffDatabaseFile(const std::wstring& path) {
    std::error_code error;
    const std::filesystem::path file = ToFsPath(path);
    if (!std::filesystem::is_regular_file(file, error)) return DatabaseKind::Missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) return DatabaseKind::Missing;
    std::array<char, 20> head{};
    in.read(head.data(), head.size());
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    if (got >= 16 && std::memcmp(head.data(), "SQLite format 3\0", 16) == 0) {
        return DatabaseKind::Sqlite;
    }
    if (got >= 19 && (std::memcmp(head.data() + 4, "Standard Jet DB", 15) == 0 ||
                      std::memcmp(head.data() + 4, "Standard ACE DB", 15) == 0)) {
        return DatabaseKind::Jet;
    }
    return DatabaseKind::Unknown;
}

std::vector<DriverChoice> DriverChoicesFor(DatabaseKind kind, const std::wstring& path,
                                           const std::wstring& jetPassword, long timeoutSeconds,
                                           bool allowCreate) {
    std::vector<DriverChoice> choices;
    const std::wstring driverPath = DriverPath(path);
    if (driverPath.empty()) return choices;
    if (kind == DatabaseKind::Jet) {
        for (const wchar_t* driver :
             {L"Microsoft Access Driver (*.mdb)", L"Microsoft Access Driver (*.mdb, *.accdb)"}) {
            std::wstring text = L"Driver=" + Braced(driver) + L";Dbq=" + Braced(driverPath) + L";";
            if (!jetPassword.empty()) text += L"Pwd=" + Braced(jetPassword) + L";";
            choices.push_back({driver, text});
        }
    } else if (kind == DatabaseKind::Sqlite) {
        std::wstring options = L"Database=" +
                               (FitsSqliteDriver(driverPath) ? driverPath : SqliteUri(driverPath)) +
                               L";";
        if (!allowCreate) options += L"NoCreat=1;";
        // Milliseconds of waiting for a lock held by another program.
        options +=
            L"Timeout=" + std::to_wstring(timeoutSeconds > 0 ? timeoutSeconds * 1000 : 5000) + L";";
        std::vector<std::wstring> drivers;
#if defined(_WIN32)
        // Under Wine the host's unixODBC answers, with its own driver names.
        if (!RunningUnderWine()) drivers.push_back(L"SQLite3 ODBC Driver");
#endif
        drivers.push_back(L"SQLite3");
        for (const std::wstring& driver : drivers) {
            choices.push_back({driver, L"Driver=" + Braced(driver) + L";" + options});
        }
    }
    return choices;
}

}  // namespace qv::ado_detail
