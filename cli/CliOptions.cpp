#include "CliOptions.h"

#include <cwchar>

namespace qv::cli {
namespace {

// A whole decimal number within [low, high].
std::optional<int> Number(const std::wstring& text, int low, int high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

std::optional<CliOptions> ParseCliArguments(const std::vector<std::wstring>& arguments,
                                            std::wstring& error) {
    CliOptions options;
    bool modeGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == L"now" || argument == L"auto") {
            if (modeGiven) {
                error = L"give one of now and auto";
                return std::nullopt;
            }
            modeGiven = true;
            options.mode = argument == L"auto" ? CheckMode::Automatic : CheckMode::Manual;
        } else if (argument == L"--interval" && hasValue) {
            options.intervalIndex = Number(arguments[++i], 0, 5);
            if (!options.intervalIndex) {
                error = L"--interval takes an index from 0 to 5";
                return std::nullopt;
            }
        } else if (argument == L"--folder" && hasValue) {
            options.folder = arguments[++i];
            if (options.folder.empty()) {
                error = L"--folder takes a folder";
                return std::nullopt;
            }
        } else if (argument == L"--timeout" && hasValue) {
            const std::optional<int> seconds = Number(arguments[++i], 1, 3600);
            if (!seconds) {
                error = L"--timeout takes seconds from 1 to 3600";
                return std::nullopt;
            }
            options.timeoutMs = *seconds * 1000;
        } else {
            error = L"unknown argument \"" + argument + L"\"";
            return std::nullopt;
        }
    }
    if (options.intervalIndex && options.mode != CheckMode::Automatic) {
        error = L"--interval belongs to auto";
        return std::nullopt;
    }
    return options;
}

}  // namespace qv::cli
