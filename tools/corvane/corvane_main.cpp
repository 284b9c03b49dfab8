// The native Corvane stand-in: the write-accounts and make-databases
// commands, so Linux tests can make account.ini and the databases without Wine.

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "AccountFileWriter.h"
#include "DatabaseMaker.h"

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
    const std::string_view command = argc >= 2 ? argv[1] : "";
    if (command != "write-accounts" && command != "make-databases") {
        std::fputs("usage: corvane write-accounts|make-databases DESCRIPTION-FILE [OUTPUT-FOLDER]\n",
                   stderr);
        return 2;
    }
    const std::vector<fs::path> arguments(argv + 2, argv + argc);
    const qv::CommandOutcome outcome = command == "write-accounts"
                                           ? qv::RunWriteAccounts(arguments, ProgramFolder())
                                           : qv::RunMakeDatabases(arguments, ProgramFolder());
    if (!outcome.message.empty()) std::fprintf(stderr, "corvane: %s\n", outcome.message.c_str());
    return outcome.exitCode;
}
