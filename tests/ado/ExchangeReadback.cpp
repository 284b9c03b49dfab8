// Native half of the Wine-to-native check: reads the file that the Windows
// program wrote under Wine and compares every value.

#include <cstdio>

#include "ExchangeRows.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: qvado-readback EXCHANGE-FOLDER\n", stderr);
        return 2;
    }
    const std::string problem = qv::adotest::CheckExchangeRows(argv[1]);
    if (!problem.empty()) {
        std::fprintf(stderr, "qvado-readback: %s\n", problem.c_str());
        return 1;
    }
    std::puts("qvado-readback: every row written under Wine reads back natively");
    return 0;
}
