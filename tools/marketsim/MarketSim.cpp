#include "MarketSim.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

#include "Pages.h"

namespace qv::marketsim {

namespace {

constexpr const char kSessionCookie[] = "vsession";
constexpr const char kHtml[] = "text/html; charset=utf-8";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string RandomToken() {
    static std::mutex mutex;
    static std::random_device device;
    std::lock_guard lock(mutex);
    static const char hex[] = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) token += hex[device() % 16];
    return token;
}

// Every answer of the site is fresh: a cached report would hide new rows.
void NoCache(httplib::Response& res) {
    res.set_header("Cache-Control", "no-store, no-cache, must-revalidate");
    res.set_header("Pragma", "no-cache");
    res.set_header("Expires", "0");
}

void SendPage(httplib::Response& res, int status, const std::string& html) {
    res.status = status;
    NoCache(res);
    res.set_content(html, kHtml);
}

void SendText(httplib::Response& res, int status, const std::string& text) {
    res.status = status;
    NoCache(res);
    res.set_content(text, "text/plain; charset=utf-8");
}

void Redirect(httplib::Response& res, const std::string& to, int status = 302) {
    NoCache(res);
    res.set_redirect(to, status);
}

// The host name of a Host header, lower case, without port or IPv6 brackets.
std::string HostName(const std::string& header) {
    std::string host = Lower(header);
    if (!host.empty() && host.front() == '[') {
        const size_t close = host.find(']');
        return close == std::string::npos ? host : host.substr(1, close - 1);
    }
    const size_t colon = host.rfind(':');
    return colon == std::string::npos ? host : host.substr(0, colon);
}

std::string CookieValue(const httplib::Request& req, const std::string& name) {
    for (size_t i = 0; i < req.get_header_value_count("Cookie"); ++i) {
        std::istringstream parts(req.get_header_value("Cookie", i));
        std::string part;
        while (std::getline(parts, part, ';')) {
            const size_t b = part.find_first_not_of(' ');
            if (b == std::string::npos) continue;
            part = part.substr(b);
            if (part.compare(0, name.size() + 1, name + "=") == 0)
                return part.substr(name.size() + 1);
        }
    }
    return {};
}

bool IsLoopback(const std::string& address) {
    return address == "::1" || address.rfind("127.", 0) == 0 ||
           address.rfind("::ffff:127.", 0) == 0;
}

std::optional<int> ParseCount(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    const int n = std::stoi(text);
    if (n < low || n > high) return std::nullopt;
    return n;
}

// The optional "date" of a control request: nothing inside when absent;
// nothing at all when it is there but not YYYY-MM-DD.
std::optional<std::optional<CivilDate>> DateParameter(const httplib::Request& req) {
    if (!req.has_param("date")) return std::optional<CivilDate>{};
    const auto date = CivilDate::Parse(req.get_param_value("date"));
    if (!date) return std::nullopt;
    return date;
}

// A plain file name inside the pack folder; nothing that climbs out of it.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.front() != '.' &&
           name.find_first_of("/\\:") == std::string::npos && name.find('\0') == std::string::npos;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

// Loopback listening addresses: IPv6 first, because the *.localhost names
// resolve to ::1 here; IPv4 for clients that try 127.0.0.1.
struct Address {
    const char* text;
    int family;
};
const Address kLoopback[] = {{"::1", AF_INET6}, {"127.0.0.1", AF_INET}};

// Tries to bind `address`:`port` with a throw-away socket. Returns the bound
// port (the chosen one when `port` is 0), -1 when busy, -2 when the address
// family or address is not available on this machine.
int ProbeBind(const Address& address, int port) {
    const int fd = ::socket(address.family, SOCK_STREAM, 0);
    if (fd < 0) return -2;
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_storage storage{};
    socklen_t length = 0;
    if (address.family == AF_INET6) {
        auto* a = reinterpret_cast<sockaddr_in6*>(&storage);
        a->sin6_family = AF_INET6;
        a->sin6_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET6, address.text, &a->sin6_addr);
        length = sizeof *a;
    } else {
        auto* a = reinterpret_cast<sockaddr_in*>(&storage);
        a->sin_family = AF_INET;
        a->sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, address.text, &a->sin_addr);
        length = sizeof *a;
    }
    int result = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&storage), length) == 0) {
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&storage), &length);
        result = address.family == AF_INET6
                     ? ntohs(reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port)
                     : ntohs(reinterpret_cast<sockaddr_in*>(&storage)->sin_port);
    } else if (errno == EADDRNOTAVAIL || errno == EAFNOSUPPORT) {
        result = -2;
    }
    ::close(fd);
    return result;
}

// The loopback addresses to serve on and one port free on all of them.
int ChoosePort(int wanted, std::vector<const Address*>& usable, const char* what) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        usable.clear();
        int port = wanted;
        bool busy = false;
        for (const Address& address : kLoopback) {
            const int got = ProbeBind(address, port);
            if (got == -2) {
                std::cerr << "marketsim: " << address.text << " is not available; not serving "
                          << what << " there\n";
                continue;
            }
            if (got < 0) {
                busy = true;
                break;
            }
            port = got;
            usable.push_back(&address);
        }
        if (!busy && !usable.empty()) return port;
        if (!busy)
            throw std::runtime_error(std::string("no loopback address to serve ") + what + " on");
        if (wanted != 0)
            throw std::runtime_error(std::string("port ") + std::to_string(wanted) + " for " +
                                     what + " is in use");
    }
    throw std::runtime_error(std::string("found no port free on every loopback address for ") +
                             what);
}

}  // namespace

MarketSim::MarketSim(SimConfig config, SimOptions options)
    : m_config(std::move(config)), m_options(std::move(options)) {
    m_packFolder = m_options.packFolder.empty()
                       ? m_config.download.folder
                       : std::filesystem::absolute(m_options.packFolder).string();
    const CivilDate today = PacificToday(std::time(nullptr));
    for (const AccountConfig& account : m_config.accounts) {
        AccountState state;
        state.config = account;
        CivilDate first = account.spanFirst;
        CivilDate last = account.spanLast;
        if (account.spanRelative) {
            last = today;
            first = CivilDate::FromDayNumber(today.DayNumber() - account.spanDays + 1);
        }
        state.rows = GenerateTransactions(account.nickname, account.transactions, first, last);
        m_accounts.emplace(account.nickname, std::move(state));
    }
}

MarketSim::~MarketSim() {
    Stop();
}

void MarketSim::Start() {
    if (!m_servers.empty()) throw std::runtime_error("the simulator is running already");
    const std::string cert = m_options.certDir + "/server.pem";
    const std::string key = m_options.certDir + "/server.key";
    if (!std::filesystem::is_regular_file(cert) || !std::filesystem::is_regular_file(key))
        throw std::runtime_error("no server certificate in " + m_options.certDir +
                                 " (make it with make-test-ca.sh)");

    auto serve = [this](std::unique_ptr<httplib::Server> server, const Address& address, int port,
                        bool tls) {
        auto handler = [this, tls](const httplib::Request& req, httplib::Response& res) {
            if (tls)
                HandleHttps(req, res);
            else
                HandleDownload(req, res);
        };
        // A stopping server waits for idle kept-alive connections to time out;
        // a short time-out keeps the stop quick, and clients simply reconnect.
        server->set_keep_alive_timeout(1);
        server->Get(".*", handler);
        server->Post(".*", handler);
        server->set_exception_handler(
            [](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
                std::string what = "unknown error";
                try {
                    std::rethrow_exception(error);
                } catch (const std::exception& e) {
                    what = e.what();
                } catch (...) {
                }
                std::cerr << "marketsim: request failed: " << what << "\n";
                SendText(res, 500, "internal error: " + what + "\n");
            });
        if (m_options.logRequests) {
            server->set_logger([](const httplib::Request& req, const httplib::Response& res) {
                std::cerr << "marketsim: " << req.get_header_value("Host") << " " << req.method
                          << " " << req.target << " -> " << res.status << "\n";
            });
        }
        if (!server->bind_to_port(address.text, port))
            throw std::runtime_error(std::string("cannot listen on ") + address.text + " port " +
                                     std::to_string(port));
        httplib::Server* raw = server.get();
        m_servers.push_back(std::move(server));
        m_threads.emplace_back([raw] { raw->listen_after_bind(); });
    };

    try {
        std::vector<const Address*> addresses;
        m_httpsPort = ChoosePort(m_options.httpsPort, addresses, "HTTPS");
        for (const Address* address : addresses) {
            auto server = std::make_unique<httplib::SSLServer>(cert.c_str(), key.c_str());
            if (!server->is_valid())
                throw std::runtime_error("the certificate or key in " + m_options.certDir +
                                         " cannot be loaded");
            serve(std::move(server), *address, m_httpsPort, true);
        }
        m_httpPort = ChoosePort(m_options.httpPort, addresses, "HTTP");
        for (const Address* address : addresses)
            serve(std::make_unique<httplib::Server>(), *address, m_httpPort, false);

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (const auto& server : m_servers) {
            while (!server->is_running()) {
                if (std::chrono::steady_clock::now() > deadline)
                    throw std::runtime_error("the servers did not start listening");
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
    } catch (...) {
        Stop();
        throw;
    }
}

void MarketSim::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopSignal.notify_all();
    for (auto& server : m_servers) server->stop();
    for (auto& thread : m_threads) {
        if (thread.joinable()) thread.join();
    }
    m_threads.clear();
    m_servers.clear();
    std::lock_guard lock(m_mutex);
    m_stopping = false;
}

std::string MarketSim::MainOrigin() const {
    return "https://" + m_options.mainHost + ":" + std::to_string(m_httpsPort);
}

std::string MarketSim::VendorOrigin(const std::string& nick) const {
    return "https://" + nick + "." + m_options.vendorDomain + ":" + std::to_string(m_httpsPort);
}

std::string MarketSim::DownloadOrigin() const {
    return "http://" + m_options.mainHost + ":" + std::to_string(m_httpPort);
}

std::string MarketSim::ClientConfigText() const {
    const std::string ca =
        std::filesystem::absolute(m_options.certDir + "/ca.pem").lexically_normal().string();
    return "[Marketplace]\nMainHost=" + m_options.mainHost + ":" + std::to_string(m_httpsPort) +
           "\nVendorDomain=" + m_options.vendorDomain + ":" + std::to_string(m_httpsPort) +
           "\n[Download]\nSite=" + DownloadOrigin() + "\n[Trust]\nExtraCA=" + ca + "\n";
}

std::optional<int> MarketSim::AddTransactions(const std::string& nick, int count,
                                              std::optional<CivilDate> date) {
    std::lock_guard lock(m_mutex);
    auto found = m_accounts.find(Lower(nick));
    if (found == m_accounts.end()) return std::nullopt;
    return AddTransactionsLocked(found->second, count, date);
}

int MarketSim::AddTransactionsLocked(AccountState& account, int count,
                                     std::optional<CivilDate> date) {
    auto added = GenerateAddedTransactions(account.config.nickname, count,
                                           date.value_or(PacificToday(std::time(nullptr))),
                                           account.addedBatches++);
    std::set<std::string> keys;
    for (const Transaction& t : account.rows) keys.insert(DuplicateKey(t));
    for (Transaction& t : added) {
        // A row equal to a stored one in the reader's eyes would never count
        // as new; move it by a second until it differs.
        for (int tries = 0; tries < 86400 && !keys.insert(DuplicateKey(t)).second; ++tries)
            t.secondOfDay = (t.secondOfDay + 1) % 86400;
        account.rows.push_back(std::move(t));
    }
    SortNewestFirst(account.rows);
    return static_cast<int>(account.rows.size());
}

void MarketSim::RunPendingAdds(AccountState& account) {
    auto& pending = account.pendingAdds;
    for (auto it = pending.begin(); it != pending.end();) {
        if (--it->requestsLeft > 0) {
            ++it;
            continue;
        }
        AddTransactionsLocked(account, it->count, it->date);
        it = pending.erase(it);
    }
}

int MarketSim::TransactionCount(const std::string& nick) const {
    std::lock_guard lock(m_mutex);
    auto found = m_accounts.find(Lower(nick));
    return found == m_accounts.end() ? 0 : static_cast<int>(found->second.rows.size());
}

void MarketSim::Pause(int ms) {
    std::unique_lock lock(m_mutex);
    m_stopSignal.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_stopping; });
}

void MarketSim::HandleHttps(const httplib::Request& req, httplib::Response& res) {
    const std::string host = HostName(req.get_header_value("Host"));
    if (host == m_options.mainHost || host == "localhost" || host == "127.0.0.1" || host == "::1") {
        HandleMain(req, res);
        return;
    }
    const std::string suffix = "." + m_options.vendorDomain;
    if (host.size() > suffix.size() &&
        host.compare(host.size() - suffix.size(), suffix.size(), suffix) == 0) {
        const std::string nick = host.substr(0, host.size() - suffix.size());
        if (nick.find('.') == std::string::npos) {
            HandleVendor(nick, req, res);
            return;
        }
    }
    SendPage(res, 404, RenderPlainPage("Unknown host", "This server does not serve " + host + "."));
}

void MarketSim::HandleMain(const httplib::Request& req, httplib::Response& res) {
    if (req.path.rfind("/_sim/", 0) == 0) {
        HandleControl(req, res);
    } else if (req.path == "/login.htm" && req.method == "GET") {
        SendPage(res, 200, RenderSignInPage(req.get_param_value("error") == "true"));
    } else if (req.path == "/login.do" && req.method == "POST") {
        HandleSignIn(req, res);
    } else if (req.path == "/" || req.path == "/index.htm") {
        Redirect(res, MainOrigin() + "/login.htm");
    } else if (req.path == "/goodbye.htm") {
        SendPage(res, 200, RenderPlainPage("Signed out", "You have left your vendor account."));
    } else {
        SendPage(res, 404, RenderPlainPage("Not found", "There is no page " + req.path + "."));
    }
}

void MarketSim::HandleSignIn(const httplib::Request& req, httplib::Response& res) {
    // Form fields arrive URL-encoded in the body; cpp-httplib decodes them
    // (including '+' as a blank) into the parameters.
    const std::string nick = Lower(req.get_param_value("nick"));
    const std::string pass = req.get_param_value("pass");
    std::unique_lock lock(m_mutex);
    auto found = m_accounts.find(nick);
    const bool good = found != m_accounts.end() &&
                      found->second.config.failure != FailureMode::RefusePassword &&
                      pass == found->second.config.password;
    if (!good) {
        lock.unlock();
        Redirect(res, MainOrigin() + "/login.htm?error=true", 303);
        return;
    }
    // The session lives on the vendor host, whose cookies this host cannot
    // set: a one-time token carries the sign-in across.
    const std::string token = RandomToken();
    m_signInTokens[token] = nick;
    lock.unlock();
    Redirect(res, VendorOrigin(nick) + "/account/session?token=" + token, 303);
}

bool MarketSim::SessionNick(const httplib::Request& req, const std::string& nick) const {
    const std::string session = CookieValue(req, kSessionCookie);
    if (session.empty()) return false;
    auto found = m_sessions.find(session);
    return found != m_sessions.end() && found->second == nick;
}

std::string MarketSim::DefaultReportAddress(const std::string& nick) const {
    const CivilDate today = PacificToday(std::time(nullptr));
    const CivilDate first = CivilDate::FromDayNumber(today.DayNumber() - 90);
    return VendorOrigin(nick) +
           "/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates&pageNum=1&pageSize=1000"
           "&startDate=" +
           first.ToString() + "&endDate=" + today.ToString() +
           "&type=SALE_ARRAY&type=BONUS_ARRAY&type=RFND_ARRAY&type=CHGBACK_ARRAY"
           "&type=BOUNCED_ARRAY&type=FEES_ARRAY&s=1";
}

void MarketSim::HandleVendor(const std::string& nick, const httplib::Request& req,
                             httplib::Response& res) {
    std::unique_lock lock(m_mutex);
    auto found = m_accounts.find(nick);
    if (found == m_accounts.end()) {
        // Any vendor host asks for a sign-in, which then refuses the nickname.
        const bool accountPage =
            req.path == "/account/showTransactions.htm" || req.path == "/account/home.htm";
        lock.unlock();
        if (accountPage)
            Redirect(res, MainOrigin() + "/login.htm");
        else
            SendPage(res, 404,
                     RenderPlainPage("Unknown vendor", "There is no vendor account " + nick + "."));
        return;
    }
    const AccountConfig config = found->second.config;
    const bool signedIn = SessionNick(req, nick);

    if (req.path == "/account/session") {
        auto token = m_signInTokens.find(req.get_param_value("token"));
        if (token == m_signInTokens.end() || token->second != nick) {
            lock.unlock();
            Redirect(res, MainOrigin() + "/login.htm");
            return;
        }
        m_signInTokens.erase(token);
        const std::string session = RandomToken();
        m_sessions[session] = nick;
        std::string back = DefaultReportAddress(nick);
        if (auto remembered = m_returnAddress.find(nick); remembered != m_returnAddress.end()) {
            back = remembered->second;
            m_returnAddress.erase(remembered);
        }
        lock.unlock();
        if (config.failure == FailureMode::RedirectAfterLogin)
            back = VendorOrigin(nick) +
                   (config.failureParam.empty() ? "/account/home.htm" : config.failureParam);
        // Host-only: a cookie for the whole domain is not sent back by every client.
        res.set_header("Set-Cookie",
                       std::string(kSessionCookie) + "=" + session + "; Path=/; Secure; HttpOnly");
        Redirect(res, back);
        return;
    }
    if (req.path == "/account/logout") {
        ++found->second.signOuts;
        const std::string session = CookieValue(req, kSessionCookie);
        if (!session.empty()) m_sessions.erase(session);
        lock.unlock();
        res.set_header("Set-Cookie",
                       std::string(kSessionCookie) + "=; Path=/; Max-Age=0; Secure; HttpOnly");
        if (config.failure == FailureMode::RedirectAfterLogout)
            Redirect(res, MainOrigin() +
                              (config.failureParam.empty() ? "/goodbye.htm" : config.failureParam));
        else
            Redirect(res, MainOrigin() + "/login.htm");
        return;
    }
    if (req.path == "/account/showTransactions.htm" || req.path == "/account/home.htm") {
        if (!signedIn) {
            // Remembered per account: after the sign-in the browser must end on
            // exactly the address it asked for, and the sign-in page itself
            // must stay at its bare address.
            m_returnAddress[nick] = "https://" + req.get_header_value("Host") + req.target;
            lock.unlock();
            Redirect(res, MainOrigin() + "/login.htm");
            return;
        }
        if (req.path == "/account/home.htm") {
            lock.unlock();
            SendPage(res, 200,
                     RenderPlainPage("Vendor account " + nick, "Welcome to your vendor account."));
            return;
        }
        AccountState& account = found->second;
        if (req.path == "/account/showTransactions.htm") RunPendingAdds(account);
        lock.unlock();
        HandleReport(account, req, res);
        return;
    }
    lock.unlock();
    SendPage(res, 404, RenderPlainPage("Not found", "There is no page " + req.path + "."));
}

void MarketSim::HandleReport(const AccountState& account, const httplib::Request& req,
                             httplib::Response& res) {
    const AccountConfig& config = account.config;
    const auto start = CivilDate::Parse(req.get_param_value("startDate"));
    const auto end = CivilDate::Parse(req.get_param_value("endDate"));
    if (!start || !end) {
        SendPage(res, 400,
                 RenderPlainPage("Bad request", "startDate and endDate must be YYYY-MM-DD."));
        return;
    }
    std::optional<int> pageNum = 1;
    if (req.has_param("pageNum"))
        pageNum = ParseCount(req.get_param_value("pageNum"), 1, 100000000);
    std::optional<int> pageSize = kReportPageSize;
    if (req.has_param("pageSize"))
        pageSize = ParseCount(req.get_param_value("pageSize"), 1, kReportPageSize);
    if (!pageNum || !pageSize) {
        SendPage(res, 400,
                 RenderPlainPage("Bad request", "pageNum must be 1 or more and pageSize 1 to " +
                                                    std::to_string(kReportPageSize) + "."));
        return;
    }
    std::set<TxnKind> kinds;
    for (size_t i = 0; i < req.get_param_value_count("type"); ++i) {
        const std::string type = req.get_param_value("type", i);
        for (TxnKind kind : {TxnKind::Sale, TxnKind::Bonus, TxnKind::Refund, TxnKind::Chargeback,
                             TxnKind::Bounced, TxnKind::Fee}) {
            if (type == KindQueryName(kind)) kinds.insert(kind);
        }
    }

    switch (config.failure) {
        case FailureMode::SlowReport:
            Pause(std::stoi(config.failureParam));
            break;
        case FailureMode::HttpError: {
            const int status = std::stoi(config.failureParam);
            SendPage(res, status,
                     RenderPlainPage("Error " + std::to_string(status),
                                     "The report cannot be shown at the moment."));
            return;
        }
        default:
            break;
    }

    ReportView view;
    view.nickname = config.nickname;
    view.pageNum = *pageNum;
    view.pageSize = *pageSize;
    view.startDate = *start;
    view.endDate = *end;
    view.withCountElement = config.failure != FailureMode::NoCountElement;
    view.withTable = config.failure != FailureMode::NoTable;
    std::string html;
    {
        std::lock_guard lock(m_mutex);
        const int64_t first = start->DayNumber();
        const int64_t last = end->DayNumber();
        std::vector<const Transaction*> listed;
        for (const Transaction& t : account.rows) {
            const int64_t day = t.date.DayNumber();
            if (day >= first && day <= last && (kinds.empty() || kinds.count(t.kind)))
                listed.push_back(&t);
        }
        view.total = static_cast<int>(listed.size());
        const size_t from = static_cast<size_t>(view.pageNum - 1) * view.pageSize;
        for (size_t i = from; i < listed.size() && i < from + view.pageSize; ++i)
            view.rows.push_back(listed[i]);
        html = RenderReportPage(view);
    }

    if (config.failure == FailureMode::DropConnection) {
        // The status line, the headers and half the body go out, then the
        // connection closes: the page never arrives whole.
        auto body = std::make_shared<std::string>(std::move(html));
        res.status = 200;
        NoCache(res);
        res.set_content_provider(body->size(), kHtml,
                                 [body](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset != 0) return false;
                                     sink.write(body->data(), body->size() / 2);
                                     return true;
                                 });
        return;
    }
    SendPage(res, 200, html);
}

void MarketSim::HandleControl(const httplib::Request& req, httplib::Response& res) {
    if (!IsLoopback(req.remote_addr)) {
        SendText(res, 403, "control requests are taken from loopback only\n");
        return;
    }
    if (req.path == "/_sim/add" && req.method == "POST") {
        const auto count = ParseCount(req.get_param_value("count"), 1, 100000);
        const std::optional<std::optional<CivilDate>> date = DateParameter(req);
        if (!date) {
            SendText(res, 400, "date must be YYYY-MM-DD\n");
            return;
        }
        if (!count) {
            SendText(res, 400, "count must be a number from 1 to 100000\n");
            return;
        }
        const std::string nick = Lower(req.get_param_value("nick"));
        const auto total = AddTransactions(nick, *count, *date);
        if (!total) {
            SendText(res, 404, "no account " + nick + "\n");
            return;
        }
        SendText(res, 200, nick + " " + std::to_string(*total) + "\n");
    } else if (req.path == "/_sim/add-during" && req.method == "POST") {
        // Rows that arrive while a check runs: added just before the
        // account's `request`-th report request from now is answered.
        const auto count = ParseCount(req.get_param_value("count"), 1, 100000);
        const auto request = ParseCount(req.get_param_value("request"), 1, 1000);
        const std::optional<std::optional<CivilDate>> date = DateParameter(req);
        if (!date) {
            SendText(res, 400, "date must be YYYY-MM-DD\n");
            return;
        }
        if (!count || !request) {
            SendText(res, 400, "count must be 1 to 100000 and request 1 to 1000\n");
            return;
        }
        const std::string nick = Lower(req.get_param_value("nick"));
        std::lock_guard lock(m_mutex);
        auto found = m_accounts.find(nick);
        if (found == m_accounts.end()) {
            SendText(res, 404, "no account " + nick + "\n");
            return;
        }
        found->second.pendingAdds.push_back({*request, *count, *date});
        SendText(res, 200, nick + " " + std::to_string(found->second.pendingAdds.size()) + "\n");
    } else if (req.path == "/_sim/signouts" && req.method == "GET") {
        std::ostringstream out;
        std::lock_guard lock(m_mutex);
        for (const auto& [nick, account] : m_accounts)
            out << nick << " " << account.signOuts << "\n";
        SendText(res, 200, out.str());
    } else if (req.path == "/_sim/status" && req.method == "GET") {
        std::ostringstream out;
        std::lock_guard lock(m_mutex);
        for (const auto& [nick, account] : m_accounts)
            out << nick << " " << account.rows.size() << " "
                << FailureModeName(account.config.failure) << "\n";
        SendText(res, 200, out.str());
    } else {
        SendText(res, 404,
                 "control requests: POST /_sim/add?nick=N&count=C[&date=D], "
                 "POST /_sim/add-during?nick=N&count=C&request=R[&date=D], "
                 "GET /_sim/status, GET /_sim/signouts\n");
    }
}

std::string MarketSim::UpdateDescription() const {
    const std::string site = DownloadOrigin();
    std::string own;
    if (!m_packFolder.empty() && ReadWholeFile(m_packFolder + "/update.ini", own)) {
        // A description of the folder's own is served with ${SITE} filled in.
        const std::string marker = "${SITE}";
        for (size_t at = own.find(marker); at != std::string::npos;
             at = own.find(marker, at + site.size()))
            own.replace(at, marker.size(), site);
        return own;
    }
    std::vector<std::string> packs = m_config.download.packs;
    if (packs.empty() && !m_packFolder.empty() && std::filesystem::is_directory(m_packFolder)) {
        for (const auto& entry : std::filesystem::directory_iterator(m_packFolder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && IsPlainFileName(name) && Lower(name) != "update.ini")
                packs.push_back(name);
        }
        std::sort(packs.begin(), packs.end());
    }
    const DownloadConfig& d = m_config.download;
    std::string out = "[Program]\r\nVersion=" + d.version + "\r\nAppName=" + d.appName +
                      "\r\nWebsite=" + (d.website.empty() ? site + "/" : d.website) +
                      "\r\n[Update]\r\nPackNumber=" + std::to_string(packs.size()) + "\r\n";
    for (size_t i = 0; i < packs.size(); ++i)
        out += "Pack" + std::to_string(i + 1) + "=" + site + "/download/" + packs[i] + "\r\n";
    return out;
}

void MarketSim::HandleDownload(const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET") {
        SendText(res, 405, "only GET is served here\n");
        return;
    }
    if (req.path == "/" || req.path == "/index.htm") {
        SendPage(res, 200,
                 RenderPlainPage(m_config.download.appName,
                                 "Downloads and updates of " + m_config.download.appName + "."));
        return;
    }
    const std::string prefix = "/download/";
    if (req.path.rfind(prefix, 0) != 0) {
        SendText(res, 404, "not found: " + req.path + "\n");
        return;
    }
    const std::string name = req.path.substr(prefix.size());
    if (Lower(name) == "update.ini") {
        SendText(res, 200, UpdateDescription());
        return;
    }
    std::string data;
    const std::string path = m_packFolder + "/" + name;
    if (m_packFolder.empty() || !IsPlainFileName(name) || !std::filesystem::is_regular_file(path) ||
        !ReadWholeFile(path, data)) {
        SendText(res, 404, "no such pack: " + name + "\n");
        return;
    }
    const bool zip = name.size() > 4 && Lower(name.substr(name.size() - 4)) == ".zip";
    res.status = 200;
    NoCache(res);
    res.set_content(std::move(data), zip ? "application/zip" : "application/octet-stream");
}

}  // namespace qv::marketsim
