// The native Corvane stand-in: only the write-accounts command, so Linux
// tests can make account.ini files without Wine.

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "AccountFileWriter.h"

namespace {

namespace fs = std::filesystem;

// Matches the Windows program, which writes next to itself by default.
fs::path ProgramFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[1]) != "write-accounts") {
        std::fputs("usage: corvane write-accounts DESCRIPTION-FILE [OUTPUT-FOLDER]\n", stderr);
        return 2;
    }
    const std::vector<fs::path> arguments(argv + 2, argv + argc);
    const qv::CommandOutcome outcome = qv::RunWriteAccounts(arguments, ProgramFolder());
    if (!outcome.message.empty()) std::fprintf(stderr, "corvane: %s\n", outcome.message.c_str());
    return outcome.exitCode;
}
