#include "ProfileCases.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "TextConvert.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadBytes(const fs::path& file) {
    std::error_code error;
    if (!fs::exists(file, error)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void PutBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// File texts are the bytes on disk: Windows-1252, CRLF. A hex escape is split
// from a following letter that would otherwise extend it ("\xDF" "e").
std::vector<ProfileCase> BuildCases() {
    std::vector<ProfileCase> cases;

    // The program's first start writes lower-case names; later runs use
    // capitalised ones, which must reach the same keys.
    cases.push_back({"FirstWriteCreatesFileAndSection",
                     std::nullopt,
                     {Write(L"Main", L"exit", L"0"), Write(L"Main", L"tray", L"1"),
                      Read(L"Main", L"Exit", -1, 0), Read(L"MAIN", L"TRAY", -1, 1)},
                     "[Main]\r\nexit=0\r\ntray=1\r\n"});
    cases.push_back({"UpdateKeepsSpellingAndPlace",
                     std::nullopt,
                     {Write(L"Main", L"exit", L"0"), Write(L"Main", L"tray", L"1"),
                      Write(L"main", L"Exit", L"-1"), Write(L"MAIN", L"Tray", L"0"),
                      Read(L"Main", L"exit", 5, -1), Read(L"Main", L"tray", 5, 0)},
                     "[Main]\r\nexit=-1\r\ntray=0\r\n"});
    cases.push_back({"NewKeyEndsItsSectionNewSectionEndsFile",
                     "[A]\r\nk=1\r\n[B]\r\nm=2\r\n",
                     {Write(L"A", L"n", L"3"), Write(L"C", L"x", L"4"), Write(L"b", L"m", L"5"),
                      Write(L"c", L"y", L"6")},
                     "[A]\r\nk=1\r\nn=3\r\n[B]\r\nm=5\r\n[C]\r\nx=4\r\ny=6\r\n"});

    // Reads never create the file.
    cases.push_back({"MissingFileReadsDefault",
                     std::nullopt,
                     {Read(L"Main", L"Exit", -1, -1), Read(L"Main", L"Exit", 7, 7)},
                     std::nullopt});
    cases.push_back({"MissingSectionOrKeyReadsDefault",
                     "[Main]\r\nExit=1\r\n",
                     {Read(L"Other", L"Exit", 7, 7), Read(L"Main", L"Tray", 7, 7),
                      Read(L"Mai", L"Exit", 7, 7), Read(L"Main", L"Exi", 7, 7),
                      Read(L"Main", L"Exit", 7, 1)},
                     "[Main]\r\nExit=1\r\n"});
    cases.push_back({"ReadToleratesWhitespace",
                     "  [ Main ]  \r\n\tExit\t=\t1 \r\n  Tray = 0\r\n",
                     {Read(L"Main", L"Exit", -1, 1), Read(L"main", L"tray", 5, 0)},
                     "  [ Main ]  \r\n\tExit\t=\t1 \r\n  Tray = 0\r\n"});

    // A write that changes something lays the whole file out again: blank
    // lines go, blanks around names and '=' go, other lines stay in place.
    cases.push_back({"RewriteLaysOutWholeFile",
                     "; settings\r\n\r\n  [ Main ]  \r\n  Exit  =  5  \r\n\r\nno equals sign\r\n"
                     ";old=3\r\n[Other]\r\nx = 1\r\n\r\n",
                     {Write(L"main", L"EXIT", L"7"), Write(L"Main", L"tray", L"1"),
                      Read(L"Other", L"x", -1, 1)},
                     "; settings\r\n[Main]\r\nExit=7\r\nno equals sign\r\n;old=3\r\ntray=1\r\n"
                     "[Other]\r\nx=1\r\n"});
    cases.push_back({"UnchangedValueLeavesFileAlone",
                     "[Main]\r\n\r\n Exit = 1 \r\n",
                     {Write(L"MAIN", L"exit", L"1")},
                     "[Main]\r\n\r\n Exit = 1 \r\n"});
    cases.push_back({"LfAndCrLinesComeBackAsCrlf",
                     "[A]\nk=1\n[B]\rm=2",
                     {Read(L"B", L"m", -1, 2), Write(L"A", L"k", L"4")},
                     "[A]\r\nk=4\r\n[B]\r\nm=2\r\n"});
    cases.push_back({"LinesBeforeFirstSectionStayOnTop",
                     "; comment\r\ntop=1\r\n",
                     {Write(L"A", L"k", L"1")},
                     "; comment\r\ntop=1\r\n[A]\r\nk=1\r\n"});
    cases.push_back({"BlankFileGetsFirstSection",
                     "\r\n\r\n",
                     {Write(L"A", L"k", L"1")},
                     "[A]\r\nk=1\r\n"});
    cases.push_back({"NameWithoutValueTakesWrite",
                     "[A]\r\nk\r\n",
                     {Read(L"A", L"k", 5, 5), Write(L"A", L"K", L"2")},
                     "[A]\r\nk=2\r\n"});
    cases.push_back({"FirstSectionAndKeyWin",
                     "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n",
                     {Read(L"A", L"k", -1, 1), Read(L"a", L"j", -1, -1), Write(L"A", L"k", L"9"),
                      Write(L"A", L"j", L"8")},
                     "[A]\r\nk=9\r\nk=2\r\nj=8\r\n[a]\r\nk=3\r\nj=4\r\n"});
    // The last ']' closes a name; a '[' line without one is an ordinary line.
    cases.push_back({"HeaderShapes",
                     "[x]y]\r\nm=1\r\n[C] note\r\nn=2\r\n[B\r\no=3\r\n",
                     {Read(L"x]y", L"m", -1, 1), Read(L"x", L"m", -1, -1), Read(L"C", L"n", -1, 2),
                      Read(L"C", L"o", -1, 3), Read(L"B", L"o", -1, -1), Write(L"C", L"n", L"4")},
                     "[x]y]\r\nm=1\r\n[C]\r\nn=4\r\n[B\r\no=3\r\n"});

    // Values read as GetPrivateProfileIntW reads them.
    cases.push_back(
        {"DecimalValues",
         "[V]\r\nlead= 12abc\r\nplus=+5\r\nminus=-7\r\nunset=-1\r\nzeros=010\r\nword=abc\r\n"
         "sign=-\r\nspaced=- 5\r\nblank=\r\nflag\r\nquoted=\"42\"\r\nsingle='3'\r\n"
         "nothing=\"\"\r\nodd=\"5'\r\n",
         {Read(L"V", L"lead", 77, 12), Read(L"V", L"plus", 77, 5), Read(L"V", L"minus", 77, -7),
          Read(L"V", L"unset", 77, -1), Read(L"V", L"zeros", 77, 10), Read(L"V", L"word", 77, 0),
          Read(L"V", L"sign", 77, 0), Read(L"V", L"spaced", 77, 0), Read(L"V", L"blank", 77, 77),
          Read(L"V", L"flag", 77, 77), Read(L"V", L"quoted", 77, 42),
          Read(L"V", L"single", 77, 3), Read(L"V", L"nothing", 77, 77),
          Read(L"V", L"odd", 77, 0)},
         "[V]\r\nlead= 12abc\r\nplus=+5\r\nminus=-7\r\nunset=-1\r\nzeros=010\r\nword=abc\r\n"
         "sign=-\r\nspaced=- 5\r\nblank=\r\nflag\r\nquoted=\"42\"\r\nsingle='3'\r\n"
         "nothing=\"\"\r\nodd=\"5'\r\n"});
    // Hand-edited files may hold prefixed or out-of-range numbers; the
    // system takes lower-case 0x/0o/0b prefixes and wraps at 32 bits.
    cases.push_back(
        {"PrefixesAndWrap",
         "[V]\r\nhex=0x1f\r\nneg=-0x10\r\nupper=0X1f\r\nbin=0b101\r\noct=0o17\r\nstop=0x1G\r\n"
         "all=4294967295\r\nover=2147483648\r\nbig=99999999999\r\n",
         {Read(L"V", L"hex", 77, 31), Read(L"V", L"neg", 77, -16), Read(L"V", L"upper", 77, 0),
          Read(L"V", L"bin", 77, 5), Read(L"V", L"oct", 77, 15), Read(L"V", L"stop", 77, 1),
          Read(L"V", L"all", 77, -1), Read(L"V", L"over", 77, INT_MIN),
          Read(L"V", L"big", 77, 1215752191), Write(L"V", L"min", L"-2147483648"),
          Write(L"V", L"max", L"2147483647"), Read(L"V", L"min", 0, INT_MIN),
          Read(L"V", L"max", 0, INT_MAX)},
         "[V]\r\nhex=0x1f\r\nneg=-0x10\r\nupper=0X1f\r\nbin=0b101\r\noct=0o17\r\nstop=0x1G\r\n"
         "all=4294967295\r\nover=2147483648\r\nbig=99999999999\r\nmin=-2147483648\r\n"
         "max=2147483647\r\n"});

    // Names outside ASCII: stored as Windows-1252 bytes, and only ASCII
    // letters match regardless of case.
    cases.push_back({"Windows1252Names",
                     "[Caf\xE9]\r\nNa\xEFve=3\r\n",
                     {Read(L"Caf\u00e9", L"NA\u00efVE", -1, 3),
                      Write(L"Gr\u00f6\u00dfe", L"K\u00e4se", L"1"),
                      Read(L"Gr\u00f6\u00dfe", L"K\u00e4se", -1, 1)},
                     "[Caf\xE9]\r\nNa\xEFve=3\r\n[Gr\xF6\xDF" "e]\r\nK\xE4se=1\r\n"});
    cases.push_back({"CaseFoldsOnlyAscii",
                     "[Caf\xE9]\r\nNa\xEFve=3\r\n",
                     {Read(L"Caf\u00c9", L"Na\u00efve", -1, -1),
                      Read(L"Caf\u00e9", L"Na\u00cfve", -1, -1),
                      Write(L"gR\u00f6\u00dfE", L"k\u00e4SE", L"1"),
                      Write(L"Gr\u00f6\u00dfe", L"K\u00e4se", L"2"),
                      Write(L"GR\u00d6\u00dfE", L"K\u00c4SE", L"3"),
                      Read(L"gr\u00f6\u00dfe", L"K\u00e4se", -1, 2)},
                     "[Caf\xE9]\r\nNa\xEFve=3\r\n[gR\xF6\xDF" "E]\r\nk\xE4SE=2\r\n[GR\xD6\xDF"
                     "E]\r\nK\xC4SE=3\r\n"});
    cases.push_back({"CharactersOutsideCodePageBecomeQuestionMarks",
                     std::nullopt,
                     {Write(L"Z\u20ac\u4e2d", L"k", L"5"), Read(L"Z\u20ac?", L"k", -1, 5),
                      Read(L"Z\u20ac\u4e2d", L"k", -1, -1)},
                     "[Z\x80?]\r\nk=5\r\n"});
    return cases;
}

}  // namespace

ProfileOp Write(std::wstring section, std::wstring key, std::wstring value) {
    ProfileOp op;
    op.kind = ProfileOp::Kind::Write;
    op.section = std::move(section);
    op.key = std::move(key);
    op.value = std::move(value);
    return op;
}

ProfileOp Read(std::wstring section, std::wstring key, int defaultValue, int expected) {
    ProfileOp op;
    op.kind = ProfileOp::Kind::Read;
    op.section = std::move(section);
    op.key = std::move(key);
    op.defaultValue = defaultValue;
    op.expected = expected;
    return op;
}

const std::vector<ProfileCase>& ProfileCases() {
    static const std::vector<ProfileCase> cases = BuildCases();
    return cases;
}

std::vector<int> ExpectedReads(const ProfileCase& profileCase) {
    std::vector<int> reads;
    for (const ProfileOp& op : profileCase.ops) {
        if (op.kind == ProfileOp::Kind::Read) reads.push_back(op.expected);
    }
    return reads;
}

ProfileRun RunProfileCase(const ProfileCase& profileCase, IProfileStore& store,
                          const std::wstring& path) {
    const fs::path file = ToFsPath(path);
    std::error_code error;
    fs::remove(file, error);
    if (profileCase.startFile) PutBytes(file, *profileCase.startFile);

    ProfileRun run;
    for (const ProfileOp& op : profileCase.ops) {
        if (op.kind == ProfileOp::Kind::Write) {
            run.writes.push_back(store.WriteString(path, op.section, op.key, op.value));
        } else {
            run.reads.push_back(store.ReadInt(path, op.section, op.key, op.defaultValue));
        }
    }
    run.endFile = ReadBytes(file);
    return run;
}

}  // namespace qv::test
