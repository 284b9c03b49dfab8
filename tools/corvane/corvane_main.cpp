// The native Corvane stand-in: the write-accounts and make-databases
// commands, so Linux tests can make account.ini and the databases without Wine.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "DatabaseMaker.h"
#include "TextConvert.h"

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
    const std::wstring command = argc >= 2 ? qv::Utf8ToWide(argv[1]) : std::wstring();
    const std::vector<fs::path> arguments(argv + std::min(argc, 2), argv + argc);
    const auto outcome = qv::RunCommand(command, arguments, ProgramFolder());
    if (!outcome) {
        std::fprintf(stderr, "usage: corvane %s\n", qv::kCommandsUsage);
        return 2;
    }
    if (!outcome->message.empty()) std::fprintf(stderr, "corvane: %s\n", outcome->message.c_str());
    return outcome->exitCode;
}
