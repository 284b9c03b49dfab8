#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "CivilDate.h"

namespace qv::marketsim {

// How an account's site misbehaves on purpose.
enum class FailureMode {
    None,
    RefusePassword,       // every sign-in goes to the failure address
    SlowReport,           // report pages wait `failureParam` milliseconds
    NoCountElement,       // report pages lack the "divbody" element
    NoTable,              // report pages lack the "line" element
    RedirectAfterLogin,   // a good sign-in ends on another page
    RedirectAfterLogout,  // the sign-out ends on another page
    DropConnection,       // report pages break off in the middle of the body
    HttpError,            // report pages answer with status `failureParam`
};

const char* FailureModeName(FailureMode mode);

struct AccountConfig {
    std::string nickname;  // lower case, a host-name label
    std::string password;
    int transactions = 0;
    // The span is either absolute (spanFirst..spanLast) or the last
    // `spanDays` days up to today's Pacific date, fixed when the simulator starts.
    bool spanRelative = true;
    int spanDays = 90;
    CivilDate spanFirst;
    CivilDate spanLast;
    FailureMode failure = FailureMode::None;
    std::string failureParam;
};

struct DownloadConfig {
    std::string folder;               // packs; absolute after loading
    std::string version = "1.0.0.0";  // of the generated update description
    std::string appName = "QVReader";
    std::string website;
    std::vector<std::string> packs;  // in order; empty = every file of the folder by name
};

struct SimConfig {
    std::vector<AccountConfig> accounts;
    DownloadConfig download;

    const AccountConfig* FindAccount(const std::string& nickname) const;
};

struct ConfigError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses the account file; `baseDir` resolves a relative pack folder.
// Throws ConfigError with the line number and the reason.
SimConfig ParseConfig(const std::string& text, const std::string& baseDir);
SimConfig LoadConfigFile(const std::string& path);

}  // namespace qv::marketsim
