// The line reader in every encoding it knows, and the Base64 decoding of the
// lines, with the edges the account file depends on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Base64.h"
#include "CTextFileReader.h"
#include "TestFiles.h"

namespace qv {
namespace {

std::string Utf16Bytes(std::u16string_view units, bool bigEndian) {
    std::string bytes;
    for (const char16_t u : units) {
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>(u >> 8);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
    }
    return bytes;
}

const std::string kLe = "\xFF\xFE";
const std::string kBe = "\xFE\xFF";
const std::string kUtf8Mark = "\xEF\xBB\xBF";

struct ReaderCase {
    const char* name;
    std::string bytes;
    TextFileEncoding encoding;
    std::vector<std::wstring> lines;  // the lines ReadLine returns true for
};

void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.name;
}

class ReaderCases : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderCases, ReadsTheLinesEndedByALineFeed) {
    test::TempFolder folder;
    folder.WriteFile(L"lines.txt", GetParam().bytes);

    CTextFileReader reader;
    ASSERT_TRUE(reader.Open(folder.FolderText() + L"lines.txt"));
    EXPECT_EQ(reader.Encoding(), GetParam().encoding);

    std::vector<std::wstring> lines;
    std::wstring line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
        ASSERT_LE(lines.size(), 100u) << "the reader does not stop";
    }
    EXPECT_EQ(lines, GetParam().lines);
    // The end stays the end.
    EXPECT_FALSE(reader.ReadLine(line));
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ReaderCases,
    testing::Values(
        ReaderCase{"AnsiKeepsTheCarriageReturnAndDropsTheUnendedLastLine",
                   "Zm9v\r\nYmFy\nlast",
                   TextFileEncoding::Ansi,
                   {L"Zm9v\r", L"YmFy"}},
        // The OEM page, not Windows-1252: 0x81 and 0x82 are u-umlaut and e-acute there,
        // 0xC4 a box line.
        ReaderCase{"AnsiHighBytesUseTheOemPage",
                   "\x81\x82\xC4\n",
                   TextFileEncoding::Ansi,
                   {L"\u00FC\u00E9\u2500"}},
        ReaderCase{"AnsiEmptyLines", "\n\n", TextFileEncoding::Ansi, {L"", L""}},
        ReaderCase{"EmptyFile", "", TextFileEncoding::Ansi, {}},
        ReaderCase{"OneByteIsAnsi", "\n", TextFileEncoding::Ansi, {L""}},
        ReaderCase{"Utf8MarkIsSkipped",
                   kUtf8Mark + "Zo\xC3\xAB\r\n\xE2\x82\xAC\n",
                   TextFileEncoding::Utf8,
                   {L"Zo\u00EB\r", L"\u20AC"}},
        ReaderCase{"Utf8MarkAlone", kUtf8Mark, TextFileEncoding::Utf8, {}},
        // U+010A has the byte 0A in it; only the unit 000A ends a line.
        ReaderCase{"Utf16LittleEndian",
                   kLe + Utf16Bytes(u"ab\r\n\u010A\u20AC\nrest", false),
                   TextFileEncoding::Utf16Le,
                   {L"ab\r", L"\u010A\u20AC"}},
        ReaderCase{"Utf16BigEndian",
                   kBe + Utf16Bytes(u"ab\r\n\u010A\u0A00\nrest", true),
                   TextFileEncoding::Utf16Be,
                   {L"ab\r", L"\u010A\u0A00"}},
        ReaderCase{"Utf16SurrogatePair",
                   kLe + Utf16Bytes(u"x\U0001F600y\n", false),
                   TextFileEncoding::Utf16Le,
                   {L"x\U0001F600y"}},
        ReaderCase{"Utf16OddByteAtTheEnd",
                   kLe + Utf16Bytes(u"ab\n", false) + "c",
                   TextFileEncoding::Utf16Le,
                   {L"ab"}},
        ReaderCase{"Utf16MarkAlone", kLe, TextFileEncoding::Utf16Le, {}},
        ReaderCase{"Utf32LittleEndianReadsNothing",
                   std::string("\xFF\xFE\x00\x00", 4) + std::string("a\0\0\0\n\0\0\0", 8),
                   TextFileEncoding::Utf32Le,
                   {}},
        ReaderCase{"Utf32BigEndianReadsNothing",
                   std::string("\x00\x00\xFE\xFF", 4) + std::string("\0\0\0a\0\0\0\n", 8),
                   TextFileEncoding::Utf32Be,
                   {}}),
    [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(TextFileReader, MissingFileDoesNotOpen) {
    test::TempFolder folder;
    CTextFileReader reader;
    EXPECT_FALSE(reader.Open(folder.FolderText() + L"absent.ini"));
    std::wstring line = L"x";
    EXPECT_FALSE(reader.ReadLine(line));
}

TEST(TextFileReader, OpensAPathOutsideAscii) {
    test::TempFolder folder(L"Zo\u00EB \u20AC \u00DF");
    folder.WriteFile(L"d\u00E9j\u00E0.txt", "Zm9v\n");
    CTextFileReader reader;
    ASSERT_TRUE(reader.Open(folder.FolderText() + L"d\u00E9j\u00E0.txt"));
    std::wstring line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, L"Zm9v");
}

// --- Base64 ------------------------------------------------------------------

struct Base64Case {
    const char* name;
    std::wstring text;
    std::string bytes;
};

void PrintTo(const Base64Case& c, std::ostream* os) {
    *os << c.name;
}

class Base64Cases : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64Cases, Decodes) {
    EXPECT_EQ(DecodeBase64(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Base64Cases,
    testing::Values(Base64Case{"Empty", L"", ""}, Base64Case{"FullGroups", L"Zm9vYmFy", "foobar"},
                    Base64Case{"TwoPadded", L"Zm9vYg==", "foob"},
                    Base64Case{"OnePadded", L"Zm9vYmE=", "fooba"},
                    Base64Case{"TwoCharactersUnpadded", L"Zg", "f"},
                    Base64Case{"ThreeCharactersUnpadded", L"Zm8", "fo"},
                    Base64Case{"SingleTrailingCharacterGivesNothing", L"Zm9vY", "foo"},
                    Base64Case{"SingleCharacter", L"Z", ""},
                    Base64Case{"CarriageReturnEnds", L"Zm9v\r", "foo"},
                    Base64Case{"EqualsSignEndsEverything", L"Zm=9vYmFy", "f"},
                    Base64Case{"OtherCharacterEndsEverything", L"Zm9v YmFy", "foo"},
                    Base64Case{"LeadingGarbageGivesNothing", L"-Zm9v", ""},
                    Base64Case{"HighBitsAndPlusSlash", L"//79+A==", "\xFF\xFE\xFD\xF8"},
                    Base64Case{"ZeroBytesKept", L"AAA=", std::string(2, '\0')},
                    // The low byte decides: U+0139 counts as '9', U+00C0 ends the input.
                    Base64Case{"LowByteOfTheUnitDecides", L"Zm\u0139v", "foo"},
                    Base64Case{"LatinLetterEnds", L"Zm9v\u00C0mFy", "foo"},
                    // U+20400 is D841 DC00 in UTF-16: 'A' by its first unit, then the end.
                    Base64Case{"BeyondTheBmpCountsByUnits", L"Zm9\U00020400Yg", "fo@"}),
    [](const testing::TestParamInfo<Base64Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv
