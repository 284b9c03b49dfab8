#include "EndToEnd.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "ADODatabase.h"
#include "CurlTransport.h"
#include "TextConvert.h"
#include "TransactionStore.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Under Wine (QV_E2E_WINE_CLI names the Windows program) the checks run
// qvreader-cli.exe through the Wine runner, with WinINet, Windows ODBC and
// Win32 timers; everything else stays native.
struct WineCli {
    std::string runner;   // tools/wine/winerun
    std::string state;    // the runner's state folder (prefix and display)
    std::string program;  // qvreader-cli.exe
    std::string trustca;  // trustca.exe, which adds a CA to the prefix's root store
};

std::optional<WineCli> WineMode() {
    const char* program = std::getenv("QV_E2E_WINE_CLI");
    if (!program || !*program) return std::nullopt;
    auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    return WineCli{variable("QV_E2E_WINERUN"), variable("QV_E2E_WINE_STATE"), program,
                   variable("QV_E2E_WINE_TRUSTCA")};
}

// The same file as Wine's drive Z: shows it.
std::string WinePath(const std::string& path) {
    std::string windows = "Z:" + fs::absolute(path).string();
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh scratch name under the build tree, one per process and use.
std::string ScratchPath(const std::string& what) {
    static std::atomic<int> serial{0};
    return std::string(QV_E2E_SCRATCH) + "/" + what + "-" + std::to_string(getpid()) + "-" +
           std::to_string(serial++);
}

}  // namespace

Simulator::Simulator(const std::string& config) : state_(ScratchPath("sim")) {
    fs::create_directories(state_);
    std::ofstream(state_ + "/sim.conf") << config;
    const std::string command = "sh " + Quoted(QV_E2E_SIMCTL) + " start " +
                                Quoted(state_ + "/sim.conf") + " " + Quoted(state_ + "/run") +
                                " > " + Quoted(state_ + "/port");
    if (Run(command) != 0) return;
    // WinINet trusts the system's root store alone.
    if (const auto wine = WineMode();
        wine &&
        Run(Quoted(wine->runner) + " " + Quoted(wine->state) + " exec " + Quoted(wine->trustca) +
            " " + Quoted(WinePath(state_ + "/run/ca/ca.der"))) != 0) {
        ADD_FAILURE() << "the Wine prefix does not trust the simulator's CA";
        return;
    }
    std::ifstream(state_ + "/port") >> port_;
}

Simulator::~Simulator() {
    Run("sh " + Quoted(QV_E2E_SIMCTL) + " stop " + Quoted(state_ + "/run"));
    std::error_code ignored;
    fs::remove_all(state_, ignored);
}

std::string Simulator::ClientConfig() const {
    return ReadText(state_ + "/run/client.ini");
}

std::string Simulator::Control(const std::string& path, const std::string& body) const {
    http::HttpTransportOptions options;
    options.extraCaFile = Utf8ToWide(state_ + "/run/ca/ca.pem");
    http::CurlTransport transport(options);
    http::HttpRequest request;
    request.method = body.empty() ? L"GET" : L"POST";
    request.url = L"https://market.localhost:" + std::to_wstring(port_) + Utf8ToWide(path);
    request.body = body;
    if (!body.empty()) request.contentType = "application/x-www-form-urlencoded";
    const std::atomic<bool> cancelled{false};
    const http::HttpResponse response = transport.Fetch(request, cancelled);
    return response.ok && response.status == 200 ? response.body : std::string();
}

std::map<std::string, int> Simulator::RowsPerAccount() const {
    std::map<std::string, int> rows;
    std::istringstream lines(Control("/_sim/status", ""));
    std::string nick, mode;
    int count = 0;
    while (lines >> nick >> count >> mode) rows[nick] = count;
    return rows;
}

bool Simulator::AddTransactions(const std::string& nick, int count) const {
    return !Control("/_sim/add", "nick=" + nick + "&count=" + std::to_string(count)).empty();
}

bool Simulator::AddDuringCheck(const std::string& nick, int count, int request) const {
    return !Control("/_sim/add-during", "nick=" + nick + "&count=" + std::to_string(count) +
                                            "&request=" + std::to_string(request))
                .empty();
}

std::map<std::string, int> Simulator::SignOuts() const {
    std::map<std::string, int> counts;
    std::istringstream lines(Control("/_sim/signouts", ""));
    std::string nick;
    int count = 0;
    while (lines >> nick >> count) counts[nick] = count;
    return counts;
}

void ProgramFolder::WriteNetworkConfig(const std::string& text) const {
    std::ofstream(path_ + "/QVNetwork.ini") << text;
}

bool ProgramFolder::RunSql(const std::wstring& file, const std::string& sql) const {
    const std::string path = path_ + "/data/" + WideToUtf8(file);
    std::ofstream(path_ + "/statement.sql") << sql << "\n";
    return Run("sqlite3 -bail " + Quoted(path) + " < " + Quoted(path_ + "/statement.sql")) == 0;
}

ProgramFolder::ProgramFolder(const std::string& description, const Simulator& simulator,
                             const std::string& leaf)
    : root_(ScratchPath("app")), path_(leaf.empty() ? root_ : root_ + "/" + leaf) {
    fs::create_directories(path_);
    const std::string descriptionFile = path_ + "/accounts.txt";
    std::ofstream(descriptionFile) << description;
    std::ofstream(path_ + "/QVNetwork.ini") << simulator.ClientConfig();
    made_ = simulator.Running() &&
            Run(Quoted(QV_E2E_CORVANE) + " write-accounts " + Quoted(descriptionFile) + " " +
                Quoted(path_)) == 0 &&
            Run(Quoted(QV_E2E_CORVANE) + " make-databases " + Quoted(descriptionFile) + " " +
                Quoted(path_)) == 0;
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

CliRun ProgramFolder::RunCheck(const std::string& arguments) const {
    CliRun run;
    const std::string out = path_ + "/cli.out", err = path_ + "/cli.err";
    const auto wine = WineMode();
    const std::string program =
        wine ? Quoted(wine->runner) + " " + Quoted(wine->state) + " exec " + Quoted(wine->program)
             : Quoted(QV_E2E_CLI);
    const std::string folder = wine ? WinePath(path_) : path_;
    run.exitCode = Run(program + " --folder " + Quoted(folder) + " " + arguments + " > " +
                       Quoted(out) + " 2> " + Quoted(err));
    std::istringstream lines(ReadText(out));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // a Windows console's line end
        run.lines.push_back(line);
    }
    run.errors = ReadText(err);
    return run;
}

CliRun ProgramFolder::RunWindowDriver(const std::string& artifactFolder,
                                      const std::string& arguments) const {
    CliRun run;
    const auto wine = WineMode();
    const char* driver = std::getenv("QV_E2E_WINE_DRIVER");
    const char* bin = std::getenv("QV_E2E_WINE_BIN");
    if (!wine || !driver || !bin) {
        ADD_FAILURE() << "QV_E2E_WINE_CLI, QV_E2E_WINE_DRIVER and QV_E2E_WINE_BIN must name "
                         "the Windows programs";
        return run;
    }
    for (const char* file : {"QVReader.exe", "Corvane.exe"}) {
        std::error_code error;
        fs::copy_file(std::string(bin) + "/" + file, path_ + "/" + file,
                      fs::copy_options::overwrite_existing, error);
        if (error) {
            ADD_FAILURE() << "cannot copy " << file << ": " << error.message();
            return run;
        }
    }
    const std::string out = path_ + "/driver.out", err = path_ + "/driver.err";
    run.exitCode =
        Run(Quoted(wine->runner) + " " + Quoted(wine->state) + " exec " + Quoted(driver) + " " +
            Quoted(WinePath(path_ + "/QVReader.exe")) + " " + Quoted(WinePath(artifactFolder)) +
            " " + arguments + " > " + Quoted(out) + " 2> " + Quoted(err));
    std::istringstream lines(ReadText(out));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        run.lines.push_back(line);
    }
    run.errors = ReadText(err);
    return run;
}

CliRun ProgramFolder::RunUntilThenInterrupt(const std::string& arguments,
                                            const std::string& awaited, int seconds) const {
    CliRun run;
    const std::string out = path_ + "/cli.out", err = path_ + "/cli.err";
    std::error_code ignored;
    fs::remove(out, ignored);
    const pid_t child = fork();
    if (child == 0) {
        const std::string command = "exec " + Quoted(QV_E2E_CLI) + " --folder " + Quoted(path_) +
                                    " " + arguments + " > " + Quoted(out) + " 2> " + Quoted(err);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0) return run;

    auto arrived = [&] {
        std::istringstream lines(ReadText(out));
        for (std::string line; std::getline(lines, line);) {
            if (line.size() >= awaited.size() &&
                line.compare(line.size() - awaited.size(), awaited.size(), awaited) == 0) {
                return true;
            }
        }
        return false;
    };
    bool seen = false;
    for (int waited = 0; waited < seconds * 10 && !(seen = arrived()); ++waited) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            ADD_FAILURE() << "the program ended before \"" << awaited << "\"";
            return run;
        }
        usleep(100 * 1000);
    }
    kill(child, seen ? SIGINT : SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    run.exitCode = seen && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(ReadText(out));
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    run.errors = ReadText(err);
    return run;
}

int ProgramFolder::StoredRows(const std::wstring& file, const std::wstring& password,
                              const std::wstring& nick) const {
    try {
        CADODatabase database;
        if (!OpenAccountDatabase(database,
                                 AccountDatabase{Utf8ToWide(path_) + L"/", file, password})) {
            return -1;
        }
        CADORecordset count(database);
        if (!count.Open(database, L"SELECT COUNT(*) FROM " + TableName(nick)) || count.IsEOF()) {
            return -1;
        }
        const CADOValue value = count.GetFieldValue(0);
        return value.IsNumber() ? static_cast<int>(value.GetNumber()) : -1;
    } catch (const CADOException&) {
        return -1;
    }
}

std::map<std::string, std::string> ProgramFolder::SettingsSection(
    const std::string& section) const {
    std::map<std::string, std::string> keys;
    std::istringstream lines(ReadText(path_ + "/QVSetting.ini"));
    bool inside = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inside = line == "[" + section + "]";
        } else if (inside) {
            if (const auto equals = line.find('='); equals != std::string::npos) {
                keys[line.substr(0, equals)] = line.substr(equals + 1);
            }
        }
    }
    return keys;
}

std::string WithoutStamp(const std::string& line) {
    static const std::regex stamp(R"(^\d\d:\d\d:\d\d  \d\d/\d\d/\d{4}   )");
    return std::regex_replace(line, stamp, "", std::regex_constants::format_first_only);
}

std::vector<std::string> WithoutStamps(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    for (const std::string& line : lines) texts.push_back(WithoutStamp(line));
    return texts;
}

std::vector<std::string> LinesOf(const std::vector<std::string>& lines, const std::string& nick) {
    std::vector<std::string> of;
    for (const std::string& line : lines) {
        if (line.rfind("[" + nick + "] ", 0) == 0) of.push_back(line);
    }
    return of;
}

}  // namespace qv::test
