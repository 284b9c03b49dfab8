#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "TextConvert.h"
#include "TransportEnv.h"
#include "WinInetTransport.h"

namespace qv::test {

// ctest starts the site and names, in QV_TRANSPORT_SITE, the host file with
// its two ports; the prefix trusts the test CA already (trustca).
const SiteAddresses& Site() {
    static const SiteAddresses addresses = [] {
        const char* file = std::getenv("QV_TRANSPORT_SITE");
        if (!file) throw std::runtime_error("QV_TRANSPORT_SITE is not set");
        // Z: is the host's root in a Wine prefix.
        std::ifstream in(std::filesystem::path(std::wstring(L"Z:") + Utf8ToWide(file)));
        SiteAddresses site;
        if (!(in >> site.port >> site.roguePort)) {
            throw std::runtime_error(std::string("cannot read the site ports from ") + file);
        }
        return site;
    }();
    return addresses;
}

std::unique_ptr<http::IHttpTransport> MakeTransport(http::HttpTransportOptions options) {
    Site();
    return std::make_unique<http::WinInetTransport>(options);
}

}  // namespace qv::test
