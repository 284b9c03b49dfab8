#include <cstdlib>
#include <stdexcept>
#include <string>

#include "CurlTransport.h"
#include "TestSite.h"
#include "TextConvert.h"
#include "TransportEnv.h"

namespace qv::test {
namespace {

// ctest makes them first (transport.certs), and then this run only checks
// them; run by hand, the program makes them here.
const std::string& CertDir() {
    static const std::string dir = [] {
        const std::string command =
            std::string("sh '") + QV_TRANSPORT_MAKE_CERTS + "' '" + QV_TRANSPORT_CERT_DIR + "'";
        if (std::system(command.c_str()) != 0) {
            throw std::runtime_error("making the test certificates failed: " + command);
        }
        return std::string(QV_TRANSPORT_CERT_DIR);
    }();
    return dir;
}

}  // namespace

const SiteAddresses& Site() {
    static TestSite trusted(CertDir() + "/server.pem", CertDir() + "/server.key");
    static TestSite rogue(CertDir() + "/rogue.pem", CertDir() + "/rogue.key");
    static const SiteAddresses addresses{trusted.Port(), rogue.Port()};
    return addresses;
}

std::unique_ptr<http::IHttpTransport> MakeTransport(http::HttpTransportOptions options) {
    Site();
    if (options.extraCaFile.empty()) options.extraCaFile = Utf8ToWide(CertDir() + "/ca.pem");
    return std::make_unique<http::CurlTransport>(options);
}

}  // namespace qv::test
