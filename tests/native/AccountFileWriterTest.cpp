#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "AccountDescription.h"
#include "AccountFileWriter.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// --- Base64 -----------------------------------------------------------------

struct Base64Case {
    std::string bytes;
    std::string encoded;
};

class Base64Cases : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64Cases, EncodesAsRfc4648) {
    EXPECT_EQ(EncodeBase64(GetParam().bytes), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    KnownVectors, Base64Cases,
    testing::Values(Base64Case{"", ""}, Base64Case{"f", "Zg=="}, Base64Case{"fo", "Zm8="},
                    Base64Case{"foo", "Zm9v"}, Base64Case{"foob", "Zm9vYg=="},
                    Base64Case{"fooba", "Zm9vYmE="}, Base64Case{"foobar", "Zm9vYmFy"},
                    // High bytes catch a char that sign-extends into the next sextet.
                    Base64Case{"\xFF\xFE\xFD", "//79"}, Base64Case{"\x80", "gA=="},
                    Base64Case{"\xEB\xFF", "6/8="}, Base64Case{std::string("\0\xFF", 2), "AP8="},
                    Base64Case{"\x01\x80\x7F", "AYB/"}));

// --- Description errors ------------------------------------------------------

struct ErrorCase {
    const char* name;
    std::string text;
    int line;
    std::string messagePart;
};

class DescriptionErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(DescriptionErrors, NameTheLineAndTheProblem) {
    const ParsedDescription parsed = ParseAccountDescription(GetParam().text);
    ASSERT_TRUE(parsed.error.has_value());
    EXPECT_EQ(parsed.error->line, GetParam().line);
    EXPECT_NE(parsed.error->message.find(GetParam().messagePart), std::string::npos)
        << parsed.error->message;
    EXPECT_TRUE(parsed.groups.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, DescriptionErrors,
    testing::Values(
        ErrorCase{"AccountBeforeGroup", "# accounts\n\naccount alice pw\n", 3, "follow a group"},
        ErrorCase{"GroupWithoutPassword", "group Shop.mdb\n", 1, "missing"},
        ErrorCase{"AccountWithoutPassword", "group Shop.mdb p\naccount alice\n", 2, "missing"},
        ErrorCase{"UnquotedBlank", "group Shop.mdb p\naccount alice my pw\n", 2, "too many"},
        ErrorCase{"SemicolonInPassword", "group Shop.mdb p\naccount alice a;b\n", 2, "';'"},
        ErrorCase{"SemicolonInQuotes", "group \"S;hop.mdb\" p\n", 1, "';'"},
        ErrorCase{"NoCp1252Byte", "group Shop.mdb p\naccount \xCE\xA9mega pw\n", 2, "U+03A9"},
        // U+0081 maps from byte 0x81 but back to nothing: it must not pass.
        ErrorCase{"UnassignedC1", "group Shop.mdb \xC2\x81\n", 1, "U+0081"},
        ErrorCase{"OutsideBmp", "group Shop.mdb \xF0\x9F\x98\x80\n", 1, "U+1F600"},
        ErrorCase{"TabInQuotes", "group Shop.mdb \"a\tb\"\n", 1, "control character"},
        ErrorCase{"InvalidUtf8", "group Shop.mdb p\naccount al\xE9 pw\n", 2, "UTF-8"},
        ErrorCase{"UnknownStatement", "group Shop.mdb p\nuser alice pw\n", 2, "'user'"},
        ErrorCase{"UnclosedQuote", "group Shop.mdb \"p w\n", 1, "closing quote"},
        ErrorCase{"BadEscape", "group Shop.mdb \"a\\nb\"\n", 1, "backslash"},
        ErrorCase{"TextAfterQuote", "group Shop.mdb \"a\"b\n", 1, "closing quote"},
        ErrorCase{"QuoteInsideWord", "group Shop.mdb a\"b\"\n", 1, "quote"},
        ErrorCase{"NotMdb", "group Shop.accdb p\n", 1, ".mdb"},
        ErrorCase{"OnlyExtension", "group .mdb p\n", 1, ".mdb"},
        ErrorCase{"PathAsFileName", "group data\\Shop.mdb p\n", 1, "bare name"},
        ErrorCase{"EmptyNickname", "group Shop.mdb p\naccount \"\" pw\n", 2, "empty"},
        ErrorCase{"LineCountWithCrLf", "group A.mdb p\r\naccount a b\r\n\r\naccount c\r\n", 4,
                  "missing"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// --- Description reading -----------------------------------------------------

TEST(AccountDescription, ReadsQuotesEscapesCommentsAndLineEnds) {
    const std::string text =
        "\xEF\xBB\xBF# two groups\r\n"
        "group  Shop.MDB \"db pass\"   # trailing comment\r\n"
        "\taccount alice s3?cret\n"  // a real '?' is not a failed conversion
        "account \"the \\\"boss\\\"\" \"back\\\\slash #1\"\n"
        "   \n"
        "group Empty.mdb \"\"\n"
        "account p#q x";  // '#' inside a word is text; no newline at the end
    const ParsedDescription parsed = ParseAccountDescription(text);
    ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
    ASSERT_EQ(parsed.groups.size(), 2u);

    const DatabaseGroup& shop = parsed.groups[0];
    EXPECT_EQ(shop.databaseFile, L"Shop.MDB");
    EXPECT_EQ(shop.databasePassword, L"db pass");
    ASSERT_EQ(shop.accounts.size(), 2u);
    EXPECT_EQ(shop.accounts[0].nickname, L"alice");
    EXPECT_EQ(shop.accounts[0].password, L"s3?cret");
    EXPECT_EQ(shop.accounts[1].nickname, L"the \"boss\"");
    EXPECT_EQ(shop.accounts[1].password, L"back\\slash #1");

    const DatabaseGroup& empty = parsed.groups[1];
    EXPECT_EQ(empty.databaseFile, L"Empty.mdb");
    EXPECT_EQ(empty.databasePassword, L"");
    ASSERT_EQ(empty.accounts.size(), 1u);
    EXPECT_EQ(empty.accounts[0].nickname, L"p#q");
}

// --- File bytes --------------------------------------------------------------

TEST(AccountFileBytes, TwoGroupsGiveOneBase64LinePerGroupWithCrLf) {
    const ParsedDescription parsed = ParseAccountDescription(
        "group Shop.mdb \"db pass\"\n"
        "account alice s3cret\n"
        "account bob \"p#1\"\n"
        "group Empty.mdb x\n");
    ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
    EXPECT_EQ(GroupRecord(parsed.groups[0]), "Shop.mdb;db pass;;alice;s3cret;;bob;p#1;;");
    EXPECT_EQ(AccountFileBytes(parsed.groups),
              "U2hvcC5tZGI7ZGIgcGFzczs7YWxpY2U7czNjcmV0Oztib2I7cCMxOzs=\r\n"
              "RW1wdHkubWRiO3g7Ow==\r\n");
}

TEST(AccountFileBytes, NonAsciiLettersBecomeTheirCp1252Bytes) {
    // Zoë, Müller and the euro sign: one of them lies outside Latin-1.
    const ParsedDescription parsed = ParseAccountDescription(
        "group Zo\xC3\xAB.mdb \"\"\n"
        "account M\xC3\xBCller \"\xE2\x82\xACuro\\\"x\"\n");
    ASSERT_FALSE(parsed.error.has_value()) << parsed.error->message;
    EXPECT_EQ(GroupRecord(parsed.groups[0]), "Zo\xEB.mdb;;;M\xFCller;\x80uro\"x;;");
    EXPECT_EQ(AccountFileBytes(parsed.groups), "Wm/rLm1kYjs7O038bGxlcjuAdXJvIng7Ow==\r\n");
}

TEST(AccountFileBytes, NoGroupsGiveAnEmptyFile) {
    const ParsedDescription parsed = ParseAccountDescription("# nothing yet\n");
    ASSERT_FALSE(parsed.error.has_value());
    EXPECT_EQ(AccountFileBytes(parsed.groups), "");
}

// --- The write-accounts command ---------------------------------------------

class WriteAccountsCommand : public testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        folder_ = fs::temp_directory_path() / ("qv-corvane-" + std::to_string(random()));
        fs::create_directories(folder_ / "program");
        fs::create_directories(folder_ / "out");
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(folder_, error);
    }

    fs::path Description(const std::string& text) const {
        const fs::path path = folder_ / "accounts.txt";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Slurp(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    fs::path folder_;
};

TEST_F(WriteAccountsCommand, WritesIntoTheGivenFolderOrElseTheProgramFolder) {
    const fs::path description = Description("group A.mdb p\naccount n q\n");
    const std::string expected = "QS5tZGI7cDs7bjtxOzs=\r\n";

    CommandOutcome outcome = RunWriteAccounts({description, folder_ / "out"}, folder_ / "program");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.message;
    EXPECT_EQ(Slurp(folder_ / "out" / "account.ini"), expected);
    EXPECT_FALSE(fs::exists(folder_ / "program" / "account.ini"));

    outcome = RunWriteAccounts({description}, folder_ / "program");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.message;
    EXPECT_EQ(Slurp(folder_ / "program" / "account.ini"), expected);
}

TEST_F(WriteAccountsCommand, ReplacesAnOlderLongerFile) {
    std::ofstream(folder_ / "out" / "account.ini", std::ios::binary) << std::string(200, 'x');
    const CommandOutcome outcome =
        RunWriteAccounts({Description("group A.mdb p\n"), folder_ / "out"}, folder_);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.message;
    EXPECT_EQ(Slurp(folder_ / "out" / "account.ini"), "QS5tZGI7cDs7\r\n");
}

TEST_F(WriteAccountsCommand, BadDescriptionFailsWithFileAndLineAndWritesNothing) {
    const fs::path description = Description("group A.mdb p\naccount n a;b\n");
    const CommandOutcome outcome = RunWriteAccounts({description, folder_ / "out"}, folder_);
    EXPECT_NE(outcome.exitCode, 0);
    EXPECT_NE(outcome.message.find(description.string() + ":2: "), std::string::npos)
        << outcome.message;
    EXPECT_FALSE(fs::exists(folder_ / "out" / "account.ini"));
}

TEST_F(WriteAccountsCommand, MissingInputsAndWrongArgumentsFail) {
    const fs::path description = Description("group A.mdb p\n");
    EXPECT_NE(RunWriteAccounts({folder_ / "none.txt", folder_ / "out"}, folder_).exitCode, 0);
    EXPECT_NE(RunWriteAccounts({description, folder_ / "no-such-folder"}, folder_).exitCode, 0);
    EXPECT_FALSE(fs::exists(folder_ / "no-such-folder"));
    EXPECT_EQ(RunWriteAccounts({}, folder_).exitCode, 2);
    EXPECT_EQ(RunWriteAccounts({description, folder_, folder_}, folder_).exitCode, 2);
}

}  // namespace
}  // namespace qv
