#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "CliOptions.h"

namespace qv::cli {
namespace {

struct OptionsCase {
    const char* name;
    std::vector<std::wstring> arguments;
    bool valid;
    CheckMode mode = CheckMode::Manual;
    int interval = -1;  // -1: none given
    std::wstring folder;
    int timeoutMs = -1;  // -1: none given
};

// The case's name stands for it in the test's report.
void PrintTo(const OptionsCase& c, std::ostream* out) {
    *out << c.name;
}

class CliArguments : public ::testing::TestWithParam<OptionsCase> {};

TEST_P(CliArguments, ParseOrAreRefused) {
    const OptionsCase& c = GetParam();
    std::wstring error;
    const auto options = ParseCliArguments(c.arguments, error);
    ASSERT_EQ(options.has_value(), c.valid) << c.name;
    if (!c.valid) {
        EXPECT_FALSE(error.empty());
        return;
    }
    EXPECT_EQ(options->mode, c.mode);
    EXPECT_EQ(options->intervalIndex.value_or(-1), c.interval);
    EXPECT_EQ(options->folder, c.folder);
    EXPECT_EQ(options->timeoutMs.value_or(-1), c.timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliArguments,
    ::testing::Values(
        OptionsCase{"nothing is one manual check", {}, true}, OptionsCase{"now", {L"now"}, true},
        OptionsCase{"auto with the stored interval", {L"auto"}, true, CheckMode::Automatic},
        OptionsCase{
            "auto with an interval", {L"auto", L"--interval", L"5"}, true, CheckMode::Automatic, 5},
        OptionsCase{"options before the mode",
                    {L"--interval", L"0", L"auto"},
                    true,
                    CheckMode::Automatic,
                    0},
        OptionsCase{"folder and time-out",
                    {L"--folder", L"/tmp/app dir", L"--timeout", L"3"},
                    true,
                    CheckMode::Manual,
                    -1,
                    L"/tmp/app dir",
                    3000},
        OptionsCase{"interval out of range", {L"auto", L"--interval", L"6"}, false},
        OptionsCase{"interval not a number", {L"auto", L"--interval", L"1x"}, false},
        OptionsCase{"interval without auto", {L"--interval", L"1"}, false},
        OptionsCase{"time-out of zero", {L"--timeout", L"0"}, false},
        OptionsCase{"negative time-out", {L"--timeout", L"-5"}, false},
        OptionsCase{"option without its value", {L"--folder"}, false},
        OptionsCase{"two modes", {L"now", L"auto"}, false},
        OptionsCase{"unknown word", {L"later"}, false}),
    [](const auto& info) {
        std::string name;
        for (const char* p = info.param.name; *p; ++p) name += std::isalnum(*p) ? *p : '_';
        return name;
    });

}  // namespace
}  // namespace qv::cli
