// The sibling stand-in and the reader agree on hostile account values: a
// program folder made by the stand-in's own commands, in a folder whose path
// holds ';' and blanks, with database passwords that the connection string's
// syntax would otherwise cut or unquote, is read by LoadAccounts and opened by
// the store with exactly those values.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AccountDescription.h"
#include "AccountFileWriter.h"
#include "DatabaseMaker.h"
#include "LoadAccounts.h"
#include "StoreFixture.h"
#include "TextConvert.h"
#include "TransactionStore.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

// A value as the description file writes it: always in quotes, with the
// description's own escapes.
std::string DescriptionValue(const std::wstring& value) {
    std::string quoted = "\"";
    for (const char c : WideToUtf8(value)) {
        if (c == '"' || c == '\\') quoted.push_back('\\');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

struct HostilePassword {
    std::wstring password;
    std::wstring nearMiss;  // what a reader that unquotes or trims would try
};

const HostilePassword kPasswords[] = {
    {L"'lead", L"lead"},    {L"\"pw\"", L"pw"}, {L"{x}", L"x"},
    {L" blank ", L"blank"}, {L"a=b", L"a"},     {L"\u20acuro 'q' \"b>b\"", L"\u20acuro 'q'"},
};

class AccountValuesTest : public StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        program_ = folder_ / ToFsPath(L"Corvane; app {1} Zo\u00eb");
        fs::create_directories(program_);
        programFolder_ = FromFsPath(program_) + L"/";
    }

    // Runs one of the stand-in's commands on a description, as its program does.
    CommandOutcome Run(const char* command, const std::string& description) {
        const fs::path file = folder_ / "accounts.txt";
        std::ofstream(file, std::ios::binary) << description;
        return *RunCommand(Utf8ToWide(command), {file, program_}, program_);
    }

    fs::path program_;
};

TEST_F(AccountValuesTest, TheStandInsPasswordsOpenTheirDatabasesThroughTheStore) {
    std::string description;
    const std::vector<HostilePassword> accepted(std::begin(kPasswords), std::end(kPasswords));
    for (std::size_t n = 0; n < accepted.size(); ++n) {
        description +=
            "group G" + std::to_string(n) + ".mdb " + DescriptionValue(accepted[n].password) + "\n";
        description += "account nick" + std::to_string(n) + " \"web pw\"\n";
    }
    for (const char* command : {"write-accounts", "make-databases"}) {
        const CommandOutcome outcome = Run(command, description);
        ASSERT_EQ(outcome.exitCode, 0) << command << ": " << outcome.message;
    }

    AccountList list;
    LoadAccounts(programFolder_, list);
    ASSERT_EQ(list.Size(), 2 * accepted.size());
    std::size_t i = 0;
    for (const CMyObject* node = list.Head(); node; node = node->m_pNext) {
        if (node->m_nKind != kAccountNode) continue;
        const HostilePassword& p = accepted[i++];
        SCOPED_TRACE(WideToUtf8(p.password));
        EXPECT_EQ(node->m_strDbPassword, p.password);
        EXPECT_EQ(GetLastStoredDate(*node, programFolder_).kind, LastStoredDate::Kind::Empty);

        AccountDatabase wrong = DatabaseOf(*node, programFolder_);
        for (const std::wstring& guess : {p.nearMiss, p.password + L"x"}) {
            wrong.dbPassword = guess;
            try {
                GetLastStoredDate(wrong, node->m_strNickname);
                ADD_FAILURE() << "opened with " << WideToUtf8(guess);
            } catch (const CADOException& error) {
                EXPECT_EQ(error.GetErrorMessage(), L"Not a valid password.");
            }
        }
    }
    EXPECT_EQ(i, accepted.size());
}

// account.ini cannot carry a ';' (it ends a field), so the stand-in refuses it
// rather than write another password; its database maker, given one, and the
// store still agree on it.
TEST_F(AccountValuesTest, APasswordWithASemicolonIsRefusedByTheFileButNotByTheStore) {
    const std::wstring password = L"a;b";
    const CommandOutcome refused =
        Run("write-accounts", "group Shop.mdb " + DescriptionValue(password) + "\n");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.message.find("';'"), std::string::npos) << refused.message;
    EXPECT_FALSE(fs::exists(program_ / "account.ini"));

    fs::create_directories(program_ / "data");
    MakeGroupDatabase(program_ / "data" / "Shop.mdb",
                      {L"Shop.mdb", password, {{L"alice", L"web pw"}}});
    const AccountDatabase where{programFolder_, L"Shop.mdb", password};
    EXPECT_EQ(GetLastStoredDate(where, L"alice").kind, LastStoredDate::Kind::Empty);
    for (const wchar_t* guess : {L"a", L"b", L"\"a;b\""}) {
        EXPECT_THROW(GetLastStoredDate({programFolder_, L"Shop.mdb", guess}, L"alice"),
                     CADOException)
            << WideToUtf8(guess);
    }

    // Rows go in and come back through the same quoted path and password.
    CMyObject account;
    account.m_strNickname = L"alice";
    account.m_strDbFile = L"Shop.mdb";
    account.m_strDbPassword = password;
    PageImport import(DatabaseOf(account, programFolder_), account.m_strNickname);
    ASSERT_TRUE(import.IsOpen());
    EXPECT_EQ(ImportReportPage(ReportTableHtml({SampleRecord(1), SampleRecord(2)}), import), 2);
    import.Commit(account.m_arrRecent);
    EXPECT_EQ(GetLastStoredDate(where, L"alice").kind, LastStoredDate::Kind::Found);
}

}  // namespace
}  // namespace qv::test
