#pragma once
// Where the reader finds the marketplace and the download site, and which
// extra certificate authority it trusts: a small INI file beside the programs.
// Every value has a default that serves the bundled marketplace simulator, so
// a missing file or key is not an error.
//
//     [Marketplace]
//     MainHost=market.localhost:8443
//     VendorDomain=vendors.localhost:8443
//     [Download]
//     Site=http://market.localhost:8080
//     [Trust]
//     ExtraCA=C:\path\to\ca.pem

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "WholeFile.h"

namespace qv {

inline constexpr wchar_t kNetworkConfigFileName[] = L"QVNetwork.ini";

struct NetworkConfig {
    std::wstring mainHost = L"market.localhost:8443";
    // Vendor account hosts are "<nickname>." followed by this domain.
    std::wstring vendorDomain = L"vendors.localhost:8443";
    std::wstring downloadSite = L"http://market.localhost:8080";
    // Path of a PEM file; empty when no extra authority is trusted.
    std::wstring extraCa;
};

// Whether the nickname can stand as the first label of a host name: 1 to 63
// ASCII letters, digits and hyphens, not beginning or ending with a hyphen.
// Anything else would send the account's password to another host.
bool IsHostLabel(std::wstring_view nickname);

// The host (with its port, when the domain carries one) of a vendor account.
std::wstring VendorHost(const NetworkConfig& config, std::wstring_view nickname);

// Reads the INI text (UTF-8, an optional byte-order mark, LF or CRLF).
// Section and key names compare without regard to ASCII case; blanks around
// names and values are dropped; lines starting with ';' or '#' are comments.
// A key that is missing or empty keeps its default.
NetworkConfig ParseNetworkConfig(std::string_view text);

// Whole file as bytes; nothing when it does not exist or cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::wstring& path)>;

// programFolder ends with a path separator, as GetProgramFolder gives it.
NetworkConfig LoadNetworkConfig(const std::wstring& programFolder,
                                const FileReader& read = ReadWholeFile);

}  // namespace qv
