// window_stall_bench: how long the reader's window stays deaf while a check
// imports a 2500-item report (three pages) in it. QVReader.exe runs under
// Wine against the simulator; the window driver sends the main window a
// message every 20 ms during the check and measures each answer's wait.
// Prints "ui-stall-max: N ms" and "ui-stall-p99: N ms". Run from the
// Windows tree: ninja -C build/win64 window-stall-bench

#include <cstdio>
#include <cstdlib>
#include <string>

#include "EndToEnd.h"

int main() {
    using namespace qv::test;
    Simulator simulator("[account bulk]\npassword = b\ntransactions = 2500\ndays = 60\n");
    if (!simulator.Running()) {
        std::fprintf(stderr, "window_stall_bench: the simulator did not start\n");
        return 1;
    }
    ProgramFolder folder("group Bulk.mdb bulk\naccount bulk b\n", simulator);
    if (!folder.Made()) {
        std::fprintf(stderr, "window_stall_bench: the program folder was not made\n");
        return 1;
    }
    const char* artifacts = std::getenv("QV_ARTIFACTS");
    const CliRun run = folder.RunWindowDriver(artifacts ? artifacts : ".", "--stall");
    bool measured = false;
    for (const std::string& line : run.lines) {
        if (line.rfind("stall\t", 0) == 0) {
            std::string figures = line.substr(6);
            for (char& c : figures) c = c == '\t' ? '\n' : c;
            std::printf("%s\n", figures.c_str());
            measured = true;
        } else if (line.rfind("error\t", 0) == 0) {
            std::fprintf(stderr, "window_stall_bench: %s\n", line.c_str() + 6);
        }
    }
    const int rows = folder.StoredRows(L"Bulk.mdb", L"bulk", L"bulk");
    std::printf("rows stored: %d\n", rows);
    return measured && rows == 2500 ? 0 : 1;
}
