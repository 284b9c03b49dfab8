#pragma once

#include <condition_variable>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "SimConfig.h"
#include "Transactions.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace qv::marketsim {

struct SimOptions {
    int httpsPort = 0;    // 0: a free port
    int httpPort = 0;     // 0: a free port
    std::string certDir;  // holds server.pem, server.key and ca.pem
    std::string mainHost = "market.localhost";
    std::string vendorDomain = "vendors.localhost";
    std::string packFolder;  // overrides the configuration's download folder
    bool logRequests = false;
};

// The marketplace's vendor site over HTTPS and the download site over HTTP,
// both on the IPv6 and the IPv4 loopback address with one port each.
class MarketSim {
public:
    MarketSim(SimConfig config, SimOptions options);
    ~MarketSim();
    MarketSim(const MarketSim&) = delete;
    MarketSim& operator=(const MarketSim&) = delete;

    // Binds and serves on background threads; throws std::runtime_error
    // naming what could not be done.
    void Start();
    void Stop();

    int HttpsPort() const { return m_httpsPort; }
    int HttpPort() const { return m_httpPort; }
    std::string MainOrigin() const;                           // https://market.localhost:PORT
    std::string VendorOrigin(const std::string& nick) const;  // https://NICK.vendors.localhost:PORT
    std::string DownloadOrigin() const;                       // http://market.localhost:PORT

    // The file the reader reads to find this simulator.
    std::string ClientConfigText() const;

    // Adds `count` rows dated `date` (today's Pacific date when absent);
    // returns the account's new row count, or nothing for an unknown account.
    std::optional<int> AddTransactions(const std::string& nick, int count,
                                       std::optional<CivilDate> date);
    int TransactionCount(const std::string& nick) const;

private:
    // Rows to add just before a later report request of the account is
    // answered, as transactions arrive while a check reads the pages.
    struct PendingAdd {
        int requestsLeft = 1;  // 1: the next report request
        int count = 0;
        std::optional<CivilDate> date;
    };
    struct AccountState {
        AccountConfig config;
        std::vector<Transaction> rows;  // newest first
        int addedBatches = 0;
        std::vector<PendingAdd> pendingAdds;
        int signOuts = 0;  // sign-out requests seen
    };

    // With m_mutex held.
    int AddTransactionsLocked(AccountState& account, int count, std::optional<CivilDate> date);
    void RunPendingAdds(AccountState& account);

    void HandleHttps(const httplib::Request& req, httplib::Response& res);
    void HandleMain(const httplib::Request& req, httplib::Response& res);
    void HandleVendor(const std::string& nick, const httplib::Request& req, httplib::Response& res);
    void HandleSignIn(const httplib::Request& req, httplib::Response& res);
    void HandleControl(const httplib::Request& req, httplib::Response& res);
    void HandleReport(const AccountState& account, const httplib::Request& req,
                      httplib::Response& res);
    void HandleDownload(const httplib::Request& req, httplib::Response& res);
    std::string UpdateDescription() const;
    bool SessionNick(const httplib::Request& req, const std::string& nick) const;
    std::string DefaultReportAddress(const std::string& nick) const;
    // Waits up to `ms`, returning early when the simulator stops.
    void Pause(int ms);

    SimConfig m_config;
    SimOptions m_options;
    std::string m_packFolder;
    int m_httpsPort = 0;
    int m_httpPort = 0;

    mutable std::mutex m_mutex;  // guards everything below
    std::map<std::string, AccountState> m_accounts;
    std::map<std::string, std::string> m_returnAddress;  // nick -> report asked for first
    std::map<std::string, std::string> m_signInTokens;   // one-time token -> nick
    std::map<std::string, std::string> m_sessions;       // session cookie -> nick
    bool m_stopping = false;
    std::condition_variable m_stopSignal;

    std::vector<std::unique_ptr<httplib::Server>> m_servers;
    std::vector<std::thread> m_threads;
};

}  // namespace qv::marketsim
