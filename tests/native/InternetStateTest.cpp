#include <gtest/gtest.h>

#include "PosixInternetState.h"

namespace qv::test {
namespace {

struct HostCase {
    const wchar_t* host;
    bool loopback;
};

class LoopbackHosts : public ::testing::TestWithParam<HostCase> {};

TEST_P(LoopbackHosts, AreToldFromOtherHosts) {
    EXPECT_EQ(IsLoopbackHost(GetParam().host), GetParam().loopback) << GetParam().host;
}

INSTANTIATE_TEST_SUITE_P(
    Table, LoopbackHosts,
    ::testing::Values(HostCase{L"localhost", true}, HostCase{L"market.localhost:8443", true},
                      HostCase{L"Market.LocalHost", true}, HostCase{L"127.0.0.1:8443", true},
                      HostCase{L"127.10.20.30", true}, HostCase{L"[::1]:8443", true},
                      HostCase{L"[::1]", true}, HostCase{L"marketplace.example:443", false},
                      HostCase{L"localhost.example", false}, HostCase{L"notlocalhost", false},
                      HostCase{L"127.0.0.1.example", false}, HostCase{L"127.0.1", false},
                      HostCase{L"[::2]:8443", false}, HostCase{L"", false}));

TEST(PosixInternetState, ALoopbackMarketplaceCountsAsConnected) {
    EXPECT_TRUE(PosixInternetState(L"market.localhost:8443").IsConnected());
}

}  // namespace
}  // namespace qv::test
