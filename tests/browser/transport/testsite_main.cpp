// transport-site CERT-DIR PORTS-FILE
// The transport tests' site as a program of its own, for the tests that run
// under Wine: serves until SIGTERM or SIGINT, after writing the trusted and
// the rogue port (one a line) to PORTS-FILE.

#include <csignal>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include <pthread.h>
#include <signal.h>
#include <string>

#include "TestSite.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: transport-site CERT-DIR PORTS-FILE\n");
        return 2;
    }
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    // Blocked before the server threads start, so only sigwait sees them.
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    try {
        const std::string dir = argv[1];
        qv::test::TestSite trusted(dir + "/server.pem", dir + "/server.key");
        qv::test::TestSite rogue(dir + "/rogue.pem", dir + "/rogue.key");
        const std::string ports = argv[2];
        {
            std::ofstream out(ports + ".tmp");
            out << trusted.Port() << "\n" << rogue.Port() << "\n";
            if (!out.flush()) throw std::runtime_error("cannot write " + ports);
        }
        std::rename((ports + ".tmp").c_str(), ports.c_str());
        int signal = 0;
        sigwait(&stop, &signal);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "transport-site: %s\n", error.what());
        return 1;
    }
    return 0;
}
