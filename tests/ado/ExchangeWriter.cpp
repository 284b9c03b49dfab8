// Wine half of the Wine-to-native check: writes the exchange rows through
// Wine's ODBC, reads them back itself, and leaves the file for the native side.

#include <cstdio>
#include <string>

#include "ExchangeRows.h"
#include "TextConvert.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: qvado-exchange-writer EXCHANGE-FOLDER\n", stderr);
        return 2;
    }
    std::wstring folder = argv[1];
    // A host path given by ctest: Wine's drive Z: is the host's root.
    if (!folder.empty() && folder[0] == L'/') {
        for (wchar_t& ch : folder) {
            if (ch == L'/') ch = L'\\';
        }
        folder = L"Z:" + folder;
    }
    std::string problem = qv::adotest::WriteExchangeRows(folder);
    if (problem.empty()) problem = qv::adotest::CheckExchangeRows(folder);
    if (!problem.empty()) {
        std::fprintf(stderr, "qvado-exchange-writer: %s\n", problem.c_str());
        return 1;
    }
    std::printf("qvado-exchange-writer: wrote %s\n", qv::WideToUtf8(folder).c_str());
    return 0;
}
