#include "SimConfig.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace qv::marketsim {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

[[noreturn]] void Fail(int line, const std::string& why) {
    throw ConfigError("line " + std::to_string(line) + ": " + why);
}

bool IsHostLabel(const std::string& s) {
    if (s.empty() || s.size() > 63 || s.front() == '-' || s.back() == '-') return false;
    return std::all_of(s.begin(), s.end(), [](unsigned char c) {
        return std::islower(c) || std::isdigit(c) || c == '-';
    });
}

int ParseInt(int line, const std::string& key, const std::string& value, int low, int high) {
    size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(value, &used);
    } catch (const std::exception&) {
        Fail(line, key + " must be a number: \"" + value + "\"");
    }
    if (used != value.size() || n < low || n > high)
        Fail(line, key + " must be a number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ": \"" + value + "\"");
    return n;
}

const std::map<std::string, FailureMode>& FailureNames() {
    static const std::map<std::string, FailureMode> names = {
        {"none", FailureMode::None},
        {"refuse-password", FailureMode::RefusePassword},
        {"slow", FailureMode::SlowReport},
        {"no-divbody", FailureMode::NoCountElement},
        {"no-line", FailureMode::NoTable},
        {"redirect-after-login", FailureMode::RedirectAfterLogin},
        {"redirect-after-logout", FailureMode::RedirectAfterLogout},
        {"drop-connection", FailureMode::DropConnection},
        {"http-error", FailureMode::HttpError},
    };
    return names;
}

void SetSpan(int line, AccountConfig& account, const std::string& value) {
    const size_t dots = value.find("..");
    if (dots == std::string::npos)
        Fail(line, "span must be FIRST..LAST, for example 2009-01-01..2009-03-07");
    const auto first = CivilDate::Parse(Trim(value.substr(0, dots)));
    const auto last = CivilDate::Parse(Trim(value.substr(dots + 2)));
    if (!first || !last) Fail(line, "span dates must be YYYY-MM-DD: \"" + value + "\"");
    if (last->DayNumber() < first->DayNumber())
        Fail(line, "span ends before it starts: \"" + value + "\"");
    account.spanRelative = false;
    account.spanFirst = *first;
    account.spanLast = *last;
}

void CheckAccount(int line, const AccountConfig& account) {
    if (account.password.empty()) Fail(line, "account " + account.nickname + " has no password");
    switch (account.failure) {
        case FailureMode::SlowReport:
            ParseInt(line, "failure-param (milliseconds)", account.failureParam, 1, 3600000);
            break;
        case FailureMode::HttpError:
            ParseInt(line, "failure-param (HTTP status)", account.failureParam, 400, 599);
            break;
        case FailureMode::RedirectAfterLogin:
        case FailureMode::RedirectAfterLogout:
            if (!account.failureParam.empty() && account.failureParam.front() != '/')
                Fail(line, "failure-param of a redirect must be a path starting with /");
            break;
        default:
            break;
    }
}

}  // namespace

const char* FailureModeName(FailureMode mode) {
    for (const auto& [name, value] : FailureNames()) {
        if (value == mode) return name.c_str();
    }
    return "none";
}

const AccountConfig* SimConfig::FindAccount(const std::string& nickname) const {
    const std::string key = Lower(nickname);
    for (const auto& account : accounts) {
        if (account.nickname == key) return &account;
    }
    return nullptr;
}

SimConfig ParseConfig(const std::string& text, const std::string& baseDir) {
    SimConfig config;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;
    enum class Section { None, Account, Download } section = Section::None;
    int sectionLine = 0;
    auto closeSection = [&] {
        if (section == Section::Account) CheckAccount(sectionLine, config.accounts.back());
    };

    while (std::getline(in, raw)) {
        ++lineNo;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') Fail(lineNo, "section header without ]");
            closeSection();
            std::istringstream words(line.substr(1, line.size() - 2));
            std::string kind, name, extra;
            words >> kind >> name >> extra;
            kind = Lower(kind);
            if (kind == "account") {
                name = Lower(name);
                if (!IsHostLabel(name) || !extra.empty())
                    Fail(lineNo, "[account NICK] needs a nickname of letters, digits and -");
                if (config.FindAccount(name)) Fail(lineNo, "account " + name + " is named twice");
                config.accounts.push_back(AccountConfig{});
                config.accounts.back().nickname = name;
                section = Section::Account;
            } else if (kind == "download" && name.empty()) {
                section = Section::Download;
            } else {
                Fail(lineNo, "unknown section \"" + line + "\"");
            }
            sectionLine = lineNo;
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) Fail(lineNo, "expected KEY = VALUE");
        const std::string key = Lower(Trim(line.substr(0, eq)));
        const std::string value = Trim(line.substr(eq + 1));

        if (section == Section::Account) {
            AccountConfig& account = config.accounts.back();
            if (key == "password") {
                account.password = value;
            } else if (key == "transactions") {
                account.transactions = ParseInt(lineNo, key, value, 0, 1000000);
            } else if (key == "days") {
                account.spanRelative = true;
                account.spanDays = ParseInt(lineNo, key, value, 1, 36600);
            } else if (key == "span") {
                SetSpan(lineNo, account, value);
            } else if (key == "failure") {
                const auto found = FailureNames().find(Lower(value));
                if (found == FailureNames().end())
                    Fail(lineNo, "unknown failure mode \"" + value + "\"");
                account.failure = found->second;
            } else if (key == "failure-param") {
                account.failureParam = value;
            } else {
                Fail(lineNo, "unknown account key \"" + key + "\"");
            }
        } else if (section == Section::Download) {
            DownloadConfig& download = config.download;
            if (key == "folder") {
                download.folder = value;
            } else if (key == "version") {
                download.version = value;
            } else if (key == "appname") {
                download.appName = value;
            } else if (key == "website") {
                download.website = value;
            } else if (key == "packs") {
                download.packs.clear();
                std::istringstream names(value);
                std::string name;
                while (std::getline(names, name, ',')) {
                    name = Trim(name);
                    if (name.empty() || name.find_first_of("/\\") != std::string::npos ||
                        name == "." || name == "..")
                        Fail(lineNo, "packs must be plain file names, separated by commas");
                    download.packs.push_back(name);
                }
            } else {
                Fail(lineNo, "unknown download key \"" + key + "\"");
            }
        } else {
            Fail(lineNo, "KEY = VALUE outside a section");
        }
    }
    closeSection();

    if (!config.download.folder.empty()) {
        std::filesystem::path folder(config.download.folder);
        if (folder.is_relative()) folder = std::filesystem::path(baseDir) / folder;
        config.download.folder = std::filesystem::absolute(folder).lexically_normal().string();
    }
    return config;
}

SimConfig LoadConfigFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ConfigError("cannot read the configuration file " + path);
    std::ostringstream text;
    text << in.rdbuf();
    const auto dir = std::filesystem::absolute(path).parent_path().string();
    try {
        return ParseConfig(text.str(), dir);
    } catch (const ConfigError& e) {
        throw ConfigError(path + ": " + e.what());
    }
}

}  // namespace qv::marketsim
