#pragma once
// The command line of qvreader-cli.
//
//     qvreader-cli [now] [--folder DIR] [--timeout SECONDS]
//     qvreader-cli auto [--interval INDEX] [--folder DIR] [--timeout SECONDS]
//
// "now" (the default) runs one manual check and ends; "auto" checks at the
// interval (0..5: 10, 20, 30, 60, 90 or 120 minutes; without --interval the
// one in QVSetting.ini) until interrupted. DIR is the program folder holding
// account.ini, data\ and QVSetting.ini (default: the program's own folder).
// --timeout sets the time-out of one web step in seconds (default: the one
// "Timeout" of QVSetting.ini chooses, 2 minutes without it).

#include <optional>
#include <string>
#include <vector>

namespace qv::cli {

enum class CheckMode { Manual, Automatic };

struct CliOptions {
    CheckMode mode = CheckMode::Manual;
    std::optional<int> intervalIndex;
    std::wstring folder;           // empty: the program's folder
    std::optional<int> timeoutMs;  // nothing: as QVSetting.ini says
};

inline constexpr wchar_t kUsage[] =
    L"usage: qvreader-cli [now|auto] [--interval 0..5] [--folder DIR] [--timeout SECONDS]";

// The options, or nothing with the problem in `error`.
std::optional<CliOptions> ParseCliArguments(const std::vector<std::wstring>& arguments,
                                            std::wstring& error);

}  // namespace qv::cli
