// marketsim: the marketplace's vendor site and the download site on loopback,
// for building and testing the reader. See README.md beside this file.
#include <pthread.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "MarketSim.h"
#include "SimConfig.h"

namespace {

void Usage() {
    std::cerr
        << "usage: marketsim --config FILE --cert-dir DIR [options]\n"
           "  --port N                 HTTPS port of the site, 0 = a free one (default 0)\n"
           "  --http-port N            HTTP port of the download site, 0 = a free one (default 0)\n"
           "  --cert-dir DIR           folder with server.pem, server.key, ca.pem\n"
           "  --ready-file FILE        written once listening: HTTPS port, then HTTP port\n"
           "  --write-client-config F  writes the reader's configuration file\n"
           "  --packs DIR              folder served under /download/\n"
           "  --main-host NAME         main host name (default market.localhost)\n"
           "  --vendor-domain NAME     vendor domain (default vendors.localhost)\n"
           "  --log-requests           one line per request on standard error\n";
}

// Written beside the target and renamed over it, so a waiting reader sees
// the whole file or none.
bool WriteFileAtomically(const std::string& path, const std::string& text) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        if (!out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    return !error;
}

bool ParsePort(const char* text, int& port) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 65535) return false;
    port = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qv::marketsim::SimOptions options;
    std::string configPath, readyFile, clientConfig;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::cerr << "marketsim: " << arg << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--config") {
            configPath = value();
        } else if (arg == "--port") {
            if (!ParsePort(value(), options.httpsPort)) {
                std::cerr << "marketsim: bad --port\n";
                return 2;
            }
        } else if (arg == "--http-port") {
            if (!ParsePort(value(), options.httpPort)) {
                std::cerr << "marketsim: bad --http-port\n";
                return 2;
            }
        } else if (arg == "--cert-dir") {
            options.certDir = value();
        } else if (arg == "--ready-file") {
            readyFile = value();
        } else if (arg == "--write-client-config") {
            clientConfig = value();
        } else if (arg == "--packs") {
            options.packFolder = value();
        } else if (arg == "--main-host") {
            options.mainHost = value();
        } else if (arg == "--vendor-domain") {
            options.vendorDomain = value();
        } else if (arg == "--log-requests") {
            options.logRequests = true;
        } else if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else {
            std::cerr << "marketsim: unknown option " << arg << "\n";
            Usage();
            return 2;
        }
    }
    if (configPath.empty() || options.certDir.empty()) {
        Usage();
        return 2;
    }

    // Signals go to the waiting main thread only; the server threads inherit the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        qv::marketsim::MarketSim sim(qv::marketsim::LoadConfigFile(configPath), options);
        sim.Start();
        if (!clientConfig.empty() && !WriteFileAtomically(clientConfig, sim.ClientConfigText())) {
            std::cerr << "marketsim: cannot write " << clientConfig << "\n";
            return 1;
        }
        if (!readyFile.empty() &&
            !WriteFileAtomically(readyFile, std::to_string(sim.HttpsPort()) + "\n" +
                                                std::to_string(sim.HttpPort()) + "\n")) {
            std::cerr << "marketsim: cannot write " << readyFile << "\n";
            return 1;
        }
        std::cerr << "marketsim: serving " << sim.MainOrigin() << " and " << sim.DownloadOrigin()
                  << "\n";
        int received = 0;
        sigwait(&stopSignals, &received);
        std::cerr << "marketsim: stopping on signal " << received << "\n";
        sim.Stop();
        if (!readyFile.empty()) std::filesystem::remove(readyFile);
    } catch (const std::exception& e) {
        std::cerr << "marketsim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
