// The Jet dialect as SQLite gets it, the US date reading behind it, and the
// connection string and failure report around it: pure text, no database.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ADODatabase.h"
#include "AdoFailure.h"
#include "ErrorReport.h"
#include "JetConnectionString.h"
#include "JetDates.h"
#include "JetDialect.h"
#include "PasswordHash.h"
#include "TextConvert.h"

namespace qv::ado_detail {
namespace {

struct TranslationCase {
    const wchar_t* jet;
    const wchar_t* sqlite;
};

TEST(JetDialect, TranslatesTheStatementsTheStoreWrites) {
    const TranslationCase cases[] = {
        {L"SELECT TOP 1 * FROM alice ORDER BY Date DESC",
         L"SELECT * FROM alice ORDER BY Date DESC LIMIT 1"},
        {L"select top 25 Date from alice;", L"select Date from alice LIMIT 25;"},
        {L"SELECT DISTINCT TOP 3 Item FROM t", L"SELECT DISTINCT Item FROM t LIMIT 3"},
        {L"SELECT * FROM t WHERE Date = (SELECT TOP 1 Date FROM t ORDER BY Date DESC) AND x = 1",
         L"SELECT * FROM t WHERE Date = (SELECT Date FROM t ORDER BY Date DESC LIMIT 1) AND x = 1"},
        {L"SELECT * FROM alice WHERE Date = (#03/07/2009#) AND Time = (#10:15:30 PM#) AND "
         L"Receipt is NULL AND [Txn Type] = 'Sale' AND Item = '12' AND Email = 'a@b.c'",
         L"SELECT * FROM alice WHERE Date = ('2009-03-07 00:00:00') AND Time = ('1899-12-30 "
         L"22:15:30') AND Receipt is NULL AND [Txn Type] = 'Sale' AND Item = '12' AND Email = "
         L"'a@b.c'"},
        {L"SELECT * FROM t WHERE DateTime = #3/7/09 10:15:30#",
         L"SELECT * FROM t WHERE DateTime = '2009-03-07 10:15:30'"},
        // Quotes, '#', TOP and brackets inside strings are text, not syntax.
        {L"SELECT * FROM t WHERE Item = 'it''s #1 TOP 5' AND [Last Name] = 'O''Brien'",
         L"SELECT * FROM t WHERE Item = 'it''s #1 TOP 5' AND [Last Name] = 'O''Brien'"},
        {L"SELECT * FROM t WHERE Item = '#03/07/2009#'",
         L"SELECT * FROM t WHERE Item = '#03/07/2009#'"},
        {L"SELECT * FROM t WHERE Item = \"say \"\"hi\"\" it's\"",
         L"SELECT * FROM t WHERE Item = 'say \"hi\" it''s'"},
        {L"SELECT [TOP 1 #x#] FROM t", L"SELECT [TOP 1 #x#] FROM t"},
        {L"SELECT * FROM t WHERE Item = 'Zoë €'", L"SELECT * FROM t WHERE Item = 'Zoë €'"},
        // TOP as a name, not after SELECT, stays.
        {L"SELECT x FROM t WHERE top = 1", L"SELECT x FROM t WHERE top = 1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TranslateJetToSqlite(c.jet), c.sqlite) << "Jet: " << WideToUtf8(c.jet);
    }
}

TEST(JetDialect, RefusesWhatJetRefuses) {
    const wchar_t* cases[] = {
        L"SELECT * FROM t WHERE Date = #13/13/2009#",
        L"SELECT * FROM t WHERE Date = #not a date#",
        L"SELECT * FROM t WHERE Date = #03/07/2009",
        L"SELECT * FROM t WHERE Item = 'open",
        L"SELECT TOP x * FROM t",
        L"SELECT TOP 10 PERCENT * FROM t",
        L"SELECT * FROM t WHERE (Date = 1",
    };
    for (const wchar_t* jet : cases) {
        try {
            TranslateJetToSqlite(jet);
            ADD_FAILURE() << "accepted: " << WideToUtf8(jet);
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.code, codes::kErrorsInCommand);
            EXPECT_FALSE(failure.description.empty());
        }
    }
}

TEST(JetDialect, FindsTheTableARowIsAddedTo) {
    EXPECT_EQ(FindUpdatableTable(L"SELECT * FROM alice WHERE Item = 'x FROM y'"), L"alice");
    EXPECT_EQ(FindUpdatableTable(L"SELECT * FROM [zoë m] ORDER BY Date"), L"zoë m");
    EXPECT_EQ(FindUpdatableTable(L"SELECT * FROM t WHERE Date = (SELECT TOP 1 Date FROM u)"), L"t");
    EXPECT_EQ(FindUpdatableTable(L"SELECT * FROM a, b"), L"");
    EXPECT_EQ(FindUpdatableTable(L"SELECT * FROM a INNER JOIN b ON a.x = b.x"), L"");
    EXPECT_EQ(FindUpdatableTable(L"SELECT 1"), L"");
}

struct DateCase {
    const wchar_t* text;
    CADODate date;
};

TEST(JetDates, ReadsTextAsJetDoesOnAUsSystem) {
    const DateCase cases[] = {
        {L"03/07/2009", {2009, 3, 7, 0, 0, 0}},
        {L"3/7/2009", {2009, 3, 7, 0, 0, 0}},
        {L" 03-07-2009 ", {2009, 3, 7, 0, 0, 0}},
        {L"2009-03-07", {2009, 3, 7, 0, 0, 0}},
        {L"3/7/29", {2029, 3, 7, 0, 0, 0}},
        {L"3/7/30", {1930, 3, 7, 0, 0, 0}},
        {L"13/07/2009", {2009, 7, 13, 0, 0, 0}},  // no month 13: read as day
        {L"Mar 7, 2009", {2009, 3, 7, 0, 0, 0}},
        {L"7-March-2009", {2009, 3, 7, 0, 0, 0}},
        {L"02/29/2008", {2008, 2, 29, 0, 0, 0}},
        {L"10:15:30", {1899, 12, 30, 10, 15, 30}},
        {L"10:15", {1899, 12, 30, 10, 15, 0}},
        {L"12:05:00 AM", {1899, 12, 30, 0, 5, 0}},
        {L"12:05 PM", {1899, 12, 30, 12, 5, 0}},
        {L"1:05:09 pm", {1899, 12, 30, 13, 5, 9}},
        {L"03/07/2009 22:15:30", {2009, 3, 7, 22, 15, 30}},
        {L"03/07/2009 10:15:30 PM", {2009, 3, 7, 22, 15, 30}},
    };
    for (const auto& c : cases) {
        const auto date = ParseJetDateText(c.text);
        ASSERT_TRUE(date) << WideToUtf8(c.text);
        EXPECT_EQ(*date, c.date) << WideToUtf8(c.text);
    }
}

TEST(JetDates, RefusesTextThatIsNoDate) {
    for (const wchar_t* text :
         {L"", L"abc", L"02/29/2009", L"13/13/2009", L"03/32/2009", L"25:00", L"10:60", L"13:00 PM",
          L"0:30 AM", L"03/07/2009 10:15 10:20", L"Foo 7, 2009", L"1/2/3/4", L"3/7/2009 x", L"2009",
          L"10:15:30:40"}) {
        EXPECT_FALSE(ParseJetDateText(text)) << WideToUtf8(text);
    }
}

TEST(JetDates, CanonicalTextSortsAndRoundTrips) {
    const CADODate date{2009, 3, 7, 22, 5, 9};
    EXPECT_EQ(FormatCanonicalDate(date), L"2009-03-07 22:05:09");
    EXPECT_EQ(ParseCanonicalDate(L"2009-03-07 22:05:09"), date);
    EXPECT_LT(FormatCanonicalDate({2009, 3, 7, 0, 0, 0}),
              FormatCanonicalDate({2009, 11, 1, 0, 0, 0}));
    EXPECT_FALSE(ParseCanonicalDate(L"2009-02-30 00:00:00"));
    EXPECT_FALSE(ParseCanonicalDate(L"03/07/2009"));
}

TEST(JetConnectionString, ReadsTheStringTheStoreBuilds) {
    const JetConnection c = ParseJetConnectionString(
        L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\QV\\data\\Shop.mdb;Persist Security "
        L"Info=true;Jet OLEDB:Database Password=db pass=x");
    EXPECT_EQ(c.dataSource, L"C:\\QV\\data\\Shop.mdb");
    EXPECT_EQ(c.password, L"db pass=x");

    const JetConnection quoted = ParseJetConnectionString(
        L" data source = /tmp/a.mdb ; JET OLEDB:DATABASE PASSWORD=\"a;\"\"b\"");
    EXPECT_EQ(quoted.dataSource, L" /tmp/a.mdb ");
    EXPECT_EQ(quoted.password, L"a;\"b");
}

// The Jet rule for values: plain text stays as it is; a ';', a leading quote
// or white space at either end puts the value in double quotes, or in single
// quotes when it holds a double quote, that quote doubled inside.
TEST(JetConnectionString, ValuesAreQuotedByTheJetRule) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"", L""},
        {L"plain pass", L"plain pass"},
        {L"a=b", L"a=b"},
        {L"{x}", L"{x}"},
        {L"it's", L"it's"},
        {L"a;b", L"\"a;b\""},
        {L"'lead", L"\"'lead\""},
        {L"\"pw\"", L"'\"pw\"'"},
        {L" blank ", L"\" blank \""},
        {L"\ttab", L"\"\ttab\""},
        {L"a\"b;c'd", L"'a\"b;c''d'"},
    };
    for (const auto& [value, written] : cases) {
        EXPECT_EQ(JetConnectionValue(value), written) << WideToUtf8(value);
    }
}

// Whatever a database path or password holds, the string built from it reads
// back as exactly that path and that password.
TEST(JetConnectionString, EveryValueReadsBackExactly) {
    const std::wstring values[] = {
        L"plain",
        L"'lead",
        L"\"pw\"",
        L"a;b",
        L"{x}",
        L" blank ",
        L"a=b",
        L"=",
        L";",
        L"\"",
        L"'",
        L"''",
        L"\"\"",
        L";;",
        L"a\"b;c'd",
        L"\"open",
        L"x\" ;y",
        L"end ",
        L"\ttab\t",
        L"Zo\u00eb;\u20ac",
        L"Password=x",
        L"C:\\Apps; old {1}\\data\\Shop.mdb",
        L"/opt/qv 'a;b'/data/Shop.mdb",
    };
    for (const std::wstring& source : values) {
        for (const std::wstring& password : values) {
            const std::wstring text = L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                                      JetConnectionValue(source) +
                                      L";Persist Security Info=true;Jet OLEDB:Database Password=" +
                                      JetConnectionValue(password);
            SCOPED_TRACE(WideToUtf8(text));
            const JetConnection read = ParseJetConnectionString(text);
            EXPECT_EQ(read.dataSource, source);
            EXPECT_EQ(read.password, password);
            EXPECT_EQ(read.provider, L"Microsoft.Jet.OLEDB.4.0");
        }
    }
    EXPECT_EQ(ParseJetConnectionString(L"Data Source=x;Jet OLEDB:Database Password=" +
                                       JetConnectionValue(L""))
                  .password,
              L"");
}

TEST(JetConnectionString, RefusesWithoutRepeatingTheString) {
    for (const wchar_t* text :
         {L"Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=secret",
          L"Provider=SQLOLEDB;Data Source=x;Jet OLEDB:Database Password=secret",
          L"Data Source=x;Jet OLEDB:Database Password=\"secret"}) {
        try {
            ParseJetConnectionString(text);
            ADD_FAILURE() << WideToUtf8(text);
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.description.find(L"secret"), std::wstring::npos);
        }
    }
}

TEST(ErrorReport, NamesCodesAsTheSystemDoes) {
    EXPECT_EQ(CodeMeaning(codes::kUnspecified), L"Unspecified error");
    EXPECT_EQ(CodeMeaning(codes::kAuthFailed), L"IDispatch error #3149");
    EXPECT_EQ(CodeMeaning(codes::Code(0x80040201u)), L"IDispatch error #1");
    EXPECT_EQ(CodeMeaning(codes::Code(0x80040200u)), L"Unknown error 0x80040200");
    EXPECT_EQ(CodeMeaning(codes::kItemNotFound), L"Unknown error 0x800A0CC1");
    EXPECT_LE(CodeMeaning(codes::Code(0xFFFFFFFFu)).size(), 31u);

    EXPECT_EQ(
        FailureReport(L"CADORecordset Error", codes::kNoTable, L"SQLite3", L"no such table: x"),
        L"CADORecordset Error\n\tCode = 80040e37\n\tCode meaning = IDispatch error #3127\n"
        L"\tSource = SQLite3\n\tDescription = no such table: x\n");
}

TEST(PasswordHash, Sha256MatchesTheStandardVectors) {
    auto hex = [](const std::array<std::uint8_t, 32>& digest) {
        std::string out;
        char byte[3];
        for (auto b : digest) {
            std::snprintf(byte, sizeof byte, "%02x", b);
            out += byte;
        }
        return out;
    };
    EXPECT_EQ(hex(Sha256("")), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex(Sha256("abc")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex(Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_NE(HashDatabasePassword(L"00", L"pw"), HashDatabasePassword(L"01", L"pw"));
    EXPECT_NE(HashDatabasePassword(L"00", L"pw"), HashDatabasePassword(L"00", L"pW"));
}

}  // namespace
}  // namespace qv::ado_detail
