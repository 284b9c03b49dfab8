#include "NetworkConfig.h"

#include "AsciiText.h"
#include "TextConvert.h"

namespace qv {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\f' || c == L'\v';
}

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

struct Setting {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring NetworkConfig::*field;
};

constexpr Setting kSettings[] = {
    {L"Marketplace", L"MainHost", &NetworkConfig::mainHost},
    {L"Marketplace", L"VendorDomain", &NetworkConfig::vendorDomain},
    {L"Download", L"Site", &NetworkConfig::downloadSite},
    {L"Trust", L"ExtraCA", &NetworkConfig::extraCa},
};

}  // namespace

bool IsHostLabel(std::wstring_view nickname) {
    if (nickname.empty() || nickname.size() > 63) return false;
    if (nickname.front() == L'-' || nickname.back() == L'-') return false;
    for (const wchar_t c : nickname) {
        const bool letterOrDigit =
            (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
        if (!letterOrDigit && c != L'-') return false;
    }
    return true;
}

std::wstring VendorHost(const NetworkConfig& config, std::wstring_view nickname) {
    std::wstring host(nickname);
    host += L'.';
    host += config.vendorDomain;
    return host;
}

NetworkConfig ParseNetworkConfig(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const std::wstring wide = Utf8ToWide(text);

    NetworkConfig config;
    std::wstring section;
    std::size_t begin = 0;
    while (begin <= wide.size()) {
        std::size_t end = wide.find(L'\n', begin);
        if (end == std::wstring::npos) end = wide.size();
        const std::wstring_view line = Trim(std::wstring_view(wide).substr(begin, end - begin));
        begin = end + 1;

        if (line.empty() || line.front() == L';' || line.front() == L'#') continue;
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            section = close == std::wstring_view::npos
                          ? std::wstring()
                          : std::wstring(Trim(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos) continue;
        const std::wstring_view key = Trim(line.substr(0, equals));
        const std::wstring_view value = Trim(line.substr(equals + 1));
        if (value.empty()) continue;
        for (const Setting& s : kSettings) {
            if (EqualsIgnoringAsciiCase(section, s.section) &&
                EqualsIgnoringAsciiCase(key, s.key)) {
                config.*s.field = std::wstring(value);
            }
        }
    }
    return config;
}

NetworkConfig LoadNetworkConfig(const std::wstring& programFolder, const FileReader& read) {
    const auto text = read(programFolder + kNetworkConfigFileName);
    return text ? ParseNetworkConfig(*text) : NetworkConfig{};
}

}  // namespace qv
