// Hostile values of account.ini in a whole check: a database file name that
// leads out of the data folder, database passwords that look quoted, and a
// program folder whose path holds ';' and blanks.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "AccountFileWriter.h"
#include "DatabaseMaker.h"
#include "EndToEnd.h"
#include "TextConvert.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Every file under `root` but those inside `skipped`, with its size and a
// digest of its bytes (short enough to read in a failure message).
std::map<std::string, std::string> FilesOutside(const fs::path& root, const fs::path& skipped) {
    std::map<std::string, std::string> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        if (it->path() == skipped) {
            it.disable_recursion_pending();
            continue;
        }
        files[fs::relative(it->path(), root).string()] =
            it->is_regular_file()
                ? std::to_string(fs::file_size(it->path())) + " bytes, digest " +
                      std::to_string(std::hash<std::string>{}(ReadBytes(it->path())))
                : "<folder>";
    }
    return files;
}

Lines Imported(const std::string& nick, int found) {
    const std::string tag = "[" + nick + "] ";
    return {tag + "Login attempt.", tag + "Login succeed.",
            tag + "Find out " + std::to_string(found) + " new items.", tag + "Log out."};
}

TEST(AccountValuesEndToEnd, ATraversalNameWritesNothingOutsideAndQuotedValuesWork) {
    Simulator simulator(
        "[account alice]\npassword = a1\ntransactions = 5\ndays = 10\n\n"
        "[account carol]\npassword = c3\ntransactions = 4\ndays = 10\n\n"
        "[account bob]\npassword = b2\ntransactions = 3\ndays = 10\n");
    ASSERT_TRUE(simulator.Running());
    // Database passwords that a connection string would unquote, in a folder
    // whose name a connection string would cut at its ';'.
    ProgramFolder folder(
        "group Quoted.mdb \"\\\"pw\\\"\"\naccount alice a1\n"
        "group Lead.mdb 'lead\naccount bob b2\n",
        simulator, "Corvane; shop app");
    ASSERT_TRUE(folder.Made());

    // The stand-in refuses to write a path as a database file name; the
    // account file written by another hand can hold one. Where it points
    // lies a database that would take the rows.
    const fs::path root = folder.Root();
    const fs::path outside = root / "outside.mdb";
    MakeGroupDatabase(outside, {L"outside.mdb", L"db", {{L"carol", L"c3"}}});
    const fs::path accountFile = fs::path(folder.Path()) / "account.ini";
    std::string accounts = ReadBytes(accountFile);
    const std::size_t firstLineEnd = accounts.find("\r\n") + 2;
    accounts.insert(
        firstLineEnd,
        EncodeBase64(GroupRecord({L"../../outside.mdb", L"db", {{L"carol", L"c3"}}})) + "\r\n");
    std::ofstream(accountFile, std::ios::binary | std::ios::trunc) << accounts;
    const auto before = FilesOutside(root, folder.Path());

    const CliRun run = folder.RunCheck();
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    const Lines texts = WithoutStamps(run.lines);

    EXPECT_EQ(std::count(texts.begin(), texts.end(),
                         "Database ../../outside.mdb of account carol: The database file name "
                         "\"../../outside.mdb\" does not name a file in the data folder."),
              1)
        << ::testing::PrintToString(texts);
    EXPECT_TRUE(LinesOf(texts, "carol").empty()) << ::testing::PrintToString(texts);
    EXPECT_EQ(FilesOutside(root, folder.Path()), before);
    std::vector<std::string> data;
    for (const auto& entry : fs::directory_iterator(fs::path(folder.Path()) / "data")) {
        data.push_back(entry.path().filename().string());
    }
    std::sort(data.begin(), data.end());
    EXPECT_EQ(data, (std::vector<std::string>{"Lead.mdb", "Quoted.mdb"}));

    EXPECT_EQ(LinesOf(texts, "alice"), Imported("alice", 5));
    EXPECT_EQ(LinesOf(texts, "bob"), Imported("bob", 3));
    EXPECT_EQ(folder.StoredRows(L"Quoted.mdb", L"\"pw\"", L"alice"), 5);
    EXPECT_EQ(folder.StoredRows(L"Lead.mdb", L"'lead", L"bob"), 3);
    // The quotes are the password's own: without them the databases stay shut.
    EXPECT_EQ(folder.StoredRows(L"Quoted.mdb", L"pw", L"alice"), -1);
    EXPECT_EQ(folder.StoredRows(L"Lead.mdb", L"lead", L"bob"), -1);
}

}  // namespace
}  // namespace qv::test
