#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "NetworkConfig.h"

namespace qv {
namespace {

TEST(NetworkConfig, DefaultsServeTheSimulator) {
    const NetworkConfig config = ParseNetworkConfig("");
    EXPECT_EQ(config.mainHost, L"market.localhost:8443");
    EXPECT_EQ(config.vendorDomain, L"vendors.localhost:8443");
    EXPECT_EQ(config.downloadSite, L"http://market.localhost:8080");
    EXPECT_TRUE(config.extraCa.empty());
    EXPECT_EQ(VendorHost(config, L"alice"), L"alice.vendors.localhost:8443");
}

TEST(NetworkConfig, ReadsEveryKeyWhateverTheCaseAndLineEnds) {
    const NetworkConfig config = ParseNetworkConfig(
        "\xEF\xBB\xBF; made by the set-up\r\n"
        "[marketplace]\r\n"
        "  MAINHOST = market.test:1443 \r\n"
        "VendorDomain=vendors.test:1443\r\n"
        "[Download]\n"
        "Site=http://market.test:1080\n"
        "[Trust]\n"
        "ExtraCA=C:\\certs\\caf\xC3\xA9.pem\n");
    EXPECT_EQ(config.mainHost, L"market.test:1443");
    EXPECT_EQ(config.vendorDomain, L"vendors.test:1443");
    EXPECT_EQ(config.downloadSite, L"http://market.test:1080");
    EXPECT_EQ(config.extraCa, L"C:\\certs\\caf\u00e9.pem");
}

TEST(NetworkConfig, KeysOutsideTheirSectionOrEmptyKeepDefaults) {
    const NetworkConfig config = ParseNetworkConfig(
        "Site=http://wrong:1\n"
        "[Marketplace]\n"
        "Site=http://wrong:2\n"
        "MainHost=\n"
        "# VendorDomain=commented.out\n"
        "[Download]\n"
        "VendorDomain=wrong.section\n");
    EXPECT_EQ(config.mainHost, NetworkConfig{}.mainHost);
    EXPECT_EQ(config.vendorDomain, NetworkConfig{}.vendorDomain);
    EXPECT_EQ(config.downloadSite, NetworkConfig{}.downloadSite);
}

TEST(NetworkConfig, LoadsTheFileBesideThePrograms) {
    // Each process its own folder: another run of this test may be going on.
    const auto folder =
        std::filesystem::temp_directory_path() / ("qvnetcfg-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::wstring programFolder = folder.wstring() + L"/";

    std::filesystem::remove(folder / "QVNetwork.ini");
    EXPECT_EQ(LoadNetworkConfig(programFolder).vendorDomain, L"vendors.localhost:8443");

    std::ofstream(folder / "QVNetwork.ini") << "[Marketplace]\nVendorDomain=v.test:99\n";
    EXPECT_EQ(LoadNetworkConfig(programFolder).vendorDomain, L"v.test:99");

    std::wstring asked;
    LoadNetworkConfig(L"C:\\Apps\\", [&](const std::wstring& path) -> std::optional<std::string> {
        asked = path;
        return std::nullopt;
    });
    EXPECT_EQ(asked, L"C:\\Apps\\QVNetwork.ini");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qv
