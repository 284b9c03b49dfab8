#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "BuiltInPacificZone.h"
#include "PacificClock.h"
#include "RegistryPacificZone.h"
#include "SystemTimeConvert.h"
#include "TextConvert.h"
#include "TimeZoneConversion.h"
#include "Win32Clock.h"
#include "WinHandles.h"

namespace qv {
namespace {

TIME_ZONE_INFORMATION ToZoneInformation(const TimeZoneRules& rules) {
    TIME_ZONE_INFORMATION tzi{};
    tzi.Bias = rules.bias;
    tzi.StandardBias = rules.standardBias;
    tzi.DaylightBias = rules.daylightBias;
    tzi.StandardDate = win::ToSystemTime(rules.standardDate);
    tzi.DaylightDate = win::ToSystemTime(rules.daylightDate);
    std::wcsncpy(tzi.StandardName, rules.standardName.c_str(), 31);
    std::wcsncpy(tzi.DaylightName, rules.daylightName.c_str(), 31);
    return tzi;
}

std::string Show(const std::optional<CivilTime>& t) {
    if (!t) return "nothing";
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d (weekday %d)", t->year,
                  t->month, t->day, t->hour, t->minute, t->second, t->milliseconds, t->dayOfWeek);
    return text;
}

// UTC times as 100-ns ticks since 1601, the system's own time line.
using Ticks = std::int64_t;
constexpr Ticks kSecond = 10000000;
constexpr Ticks kHour = 3600 * kSecond;

Ticks TicksOf(const CivilTime& utc) {
    const SYSTEMTIME st = win::ToSystemTime(utc);
    FILETIME ft{};
    EXPECT_TRUE(::SystemTimeToFileTime(&st, &ft));
    return (static_cast<Ticks>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

CivilTime CivilOf(Ticks ticks) {
    FILETIME ft{};
    ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME st{};
    EXPECT_TRUE(::FileTimeToSystemTime(&ft, &st));
    return win::FromSystemTime(st);
}

std::optional<CivilTime> SystemConversion(const TIME_ZONE_INFORMATION& tzi, const CivilTime& utc) {
    const SYSTEMTIME in = win::ToSystemTime(utc);
    SYSTEMTIME out{};
    if (!::SystemTimeToTzSpecificLocalTime(&tzi, &in, &out)) return std::nullopt;
    return win::FromSystemTime(out);
}

// Offset of the system's local time from UTC, in ticks; nothing on failure.
std::optional<Ticks> SystemOffset(const TIME_ZONE_INFORMATION& tzi, Ticks utc) {
    const auto local = SystemConversion(tzi, CivilOf(utc));
    if (!local) return std::nullopt;
    return TicksOf(*local) - utc;
}

// The UTC times to compare at: hourly through the years, and the seconds and
// hours around every point where the system's offset changes.
std::vector<Ticks> InstantsToCompare(const TIME_ZONE_INFORMATION& tzi, int firstYear,
                                     int lastYear) {
    std::vector<Ticks> instants;
    const Ticks end = TicksOf(MakeCivilTime(lastYear + 1, 1, 1));
    for (Ticks t = TicksOf(MakeCivilTime(firstYear, 1, 1)); t < end; t += kHour) {
        instants.push_back(t + 37 * kSecond);  // not on the hour, to vary the fields
        const auto here = SystemOffset(tzi, t);
        const auto next = SystemOffset(tzi, t + kHour);
        if (!here || !next || *here == *next) continue;
        Ticks before = t;
        Ticks after = t + kHour;
        while (after - before > kSecond) {
            const Ticks mid = before + (after - before) / kSecond / 2 * kSecond;
            (SystemOffset(tzi, mid) == here ? before : after) = mid;
        }
        for (const Ticks offset : {-kHour - kSecond, -kHour, -kSecond, Ticks{0}, kSecond,
                                   kHour - kSecond, kHour, kHour + kSecond}) {
            instants.push_back(after + offset);
        }
        instants.push_back(after + kSecond / 2);
    }
    return instants;
}

// Compares with the system for many instants; returns how many offset
// changes the system showed, so that callers can tell the rules took effect.
int ExpectSameAsSystem(const TimeZoneRules& rules, int firstYear, int lastYear) {
    const TIME_ZONE_INFORMATION tzi = ToZoneInformation(rules);
    int changes = 0;
    int mismatches = 0;
    std::optional<Ticks> lastOffset;
    for (const Ticks t : InstantsToCompare(tzi, firstYear, lastYear)) {
        const CivilTime utc = CivilOf(t);
        const auto expected = SystemConversion(tzi, utc);
        const auto actual = UtcToZoneLocal(rules, utc);
        if (Show(expected) != Show(actual) && ++mismatches <= 10) {
            ADD_FAILURE() << "UTC " << Show(utc) << ": system " << Show(expected) << ", ours "
                          << Show(actual);
        }
        const auto offset = SystemOffset(tzi, t);
        if (offset && lastOffset && *offset != *lastOffset) ++changes;
        lastOffset = offset;
    }
    EXPECT_EQ(0, mismatches);
    return changes;
}

// ---------------------------------------------------------------------------

TEST(RegistryPacificZone, ReadsTheSystemsPacificRecord) {
    const auto rules = RegistryPacificZone().ReadPacificZone();
    ASSERT_TRUE(rules) << "no readable Pacific Standard Time key";
    EXPECT_EQ(480, rules->bias);
    EXPECT_EQ(0, rules->standardBias);
    EXPECT_EQ(-60, rules->daylightBias);
    EXPECT_EQ("0000-03-02 02:00:00.000 (weekday 0)", Show(rules->daylightDate));
    EXPECT_EQ("0000-11-01 02:00:00.000 (weekday 0)", Show(rules->standardDate));
    EXPECT_EQ("Pacific Standard Time", WideToUtf8(rules->standardName));
    EXPECT_EQ("Pacific Daylight Time", WideToUtf8(rules->daylightName));

    // The record the rest of the world gets from the built-in rules.
    const auto builtIn = BuiltInPacificZone().ReadPacificZone();
    ASSERT_TRUE(builtIn);
    EXPECT_EQ(builtIn->bias, rules->bias);
    EXPECT_EQ(Show(builtIn->daylightDate), Show(rules->daylightDate));
    EXPECT_EQ(Show(builtIn->standardDate), Show(rules->standardDate));
}

TEST(UtcToZoneLocal, MatchesTheSystemWithThePacificRecord) {
    const auto rules = RegistryPacificZone().ReadPacificZone();
    ASSERT_TRUE(rules);
    EXPECT_EQ(2 * (2030 - 2005 + 1), ExpectSameAsSystem(*rules, 2005, 2030));
}

TimeZoneRules Zone(int bias, int standardBias, int daylightBias, CivilTime daylightDate,
                   CivilTime standardDate) {
    TimeZoneRules rules;
    rules.bias = bias;
    rules.standardBias = standardBias;
    rules.daylightBias = daylightBias;
    rules.daylightDate = daylightDate;
    rules.standardDate = standardDate;
    return rules;
}

CivilTime Rule(int month, int week, int dayOfWeek, int hour, int minute = 0) {
    CivilTime t;
    t.month = month;
    t.day = week;
    t.dayOfWeek = dayOfWeek;
    t.hour = hour;
    t.minute = minute;
    return t;
}

struct RuleCase {
    const char* name;
    TimeZoneRules rules;
    int changesPerYear;
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class ConversionMatchesSystem : public testing::TestWithParam<RuleCase> {};

TEST_P(ConversionMatchesSystem, ThroughTheYears) {
    const int changes = ExpectSameAsSystem(GetParam().rules, 2010, 2013);
    EXPECT_EQ(4 * GetParam().changesPerYear, changes);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConversionMatchesSystem,
    testing::Values(
        RuleCase{"LastSundays", Zone(-60, 0, -60, Rule(3, 5, 0, 2), Rule(10, 5, 0, 3)), 2},
        RuleCase{"Southern", Zone(-600, 0, -60, Rule(10, 1, 0, 2), Rule(4, 1, 0, 3)), 2},
        RuleCase{"HalfHourShiftAndStandardBias",
                 Zone(210, 15, -30, Rule(4, 3, 5, 23, 30), Rule(9, 4, 6, 0, 15)), 2},
        RuleCase{"AbsoluteDates",
                 Zone(300, 0, -60, MakeCivilTime(2011, 4, 1, 2), MakeCivilTime(2011, 10, 1, 2)), 2},
        // A record with a daylight date but no standard date is left out:
        // Windows documents it as a zone without daylight time, which the
        // conversion follows, while Wine 8 rejects it.
        RuleCase{"NoDaylightDate", Zone(-540, 30, -60, CivilTime{}, Rule(11, 1, 0, 2)), 0},
        RuleCase{"WeekOutOfRange", Zone(480, 0, -60, Rule(3, 6, 0, 2), Rule(11, 1, 0, 2)), 0}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Records the test writes itself, next to the system's zones.

class RegistryRecordTest : public testing::Test {
protected:
    static constexpr wchar_t kZoneName[] = L"QVReader Test Zone";

    void SetUp() override {
        const std::wstring path = std::wstring(kTimeZonesKey) + L"\\" + kZoneName;
        HKEY raw = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr,
                                    REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &raw, nullptr));
        key_.reset(raw);
    }

    void TearDown() override {
        key_.reset();
        const std::wstring path = std::wstring(kTimeZonesKey) + L"\\" + kZoneName;
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
    }

    void SetBinary(const wchar_t* name, std::vector<unsigned char> data) {
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key_.get(), name, 0, REG_BINARY, data.data(),
                                                  static_cast<DWORD>(data.size())));
    }

    void SetText(const wchar_t* name, const std::wstring& text) {
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key_.get(), name, 0, REG_SZ,
                                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                                  static_cast<DWORD>((text.size() + 1) * 2)));
    }

    // A TZI record cut or padded to the size: bias -330, daylight bias -60,
    // standard from the last Sunday of October 03:00, daylight from the
    // second Friday of March 02:00.
    static std::vector<unsigned char> Tzi(std::size_t size) {
        static constexpr unsigned char kRecord[44] = {
            0xB6, 0xFE, 0xFF, 0xFF, 0, 0, 0, 0, 0xC4, 0xFF, 0xFF, 0xFF,               // biases
            0,    0,    10,   0,    0, 0, 5, 0, 3,    0,    0,    0,    0, 0, 0, 0,   // standard
            0,    0,    3,    0,    5, 0, 2, 0, 2,    0,    0,    0,    0, 0, 0, 0};  // daylight
        std::vector<unsigned char> bytes(size, 0);
        std::copy_n(kRecord, std::min(size, sizeof kRecord), bytes.begin());
        return bytes;
    }

    std::optional<TimeZoneRules> Read() const {
        return RegistryPacificZone(kZoneName).ReadPacificZone();
    }

    win::UniqueHkey key_;
};

TEST_F(RegistryRecordTest, MatchesNamesIgnoringCaseAndCutsLongNames) {
    SetText(L"Display", std::wstring(400, L'x'));  // longer than any buffer; skipped
    SetBinary(L"tzi", Tzi(44));
    SetText(L"STD", L"A standard-time name with \u00e9 and forty characters");
    SetText(L"dLT", L"Short");
    SetText(L"Std2", L"not a name");

    const auto rules = Read();
    ASSERT_TRUE(rules);
    EXPECT_EQ(-330, rules->bias);
    EXPECT_EQ(-60, rules->daylightBias);
    EXPECT_EQ("0000-10-05 03:00:00.000 (weekday 0)", Show(rules->standardDate));
    EXPECT_EQ("0000-03-02 02:00:00.000 (weekday 5)", Show(rules->daylightDate));
    EXPECT_EQ("A standard-time name with \xC3\xA9 and", WideToUtf8(rules->standardName));
    EXPECT_EQ(31u, rules->standardName.size());
    EXPECT_EQ("Short", WideToUtf8(rules->daylightName));
}

TEST_F(RegistryRecordTest, NamesAreOptional) {
    SetBinary(L"TZI", Tzi(44));
    const auto rules = Read();
    ASSERT_TRUE(rules);
    EXPECT_EQ(-330, rules->bias);
    EXPECT_TRUE(rules->standardName.empty());
}

TEST_F(RegistryRecordTest, ATziOfAnotherSizeGivesNothing) {
    for (const std::size_t size : {0u, 43u, 45u, 48u}) {
        SetBinary(L"TZI", Tzi(size));
        SetText(L"Std", L"Name");
        EXPECT_FALSE(Read()) << size;
    }
    SetBinary(L"TZI", Tzi(44));
    EXPECT_TRUE(Read());
}

TEST_F(RegistryRecordTest, AMissingTziGivesNothing) {
    SetText(L"Std", L"Name");
    SetText(L"Dlt", L"Name");
    EXPECT_FALSE(Read());
}

TEST(RegistryPacificZone, AMissingKeyGivesNothing) {
    EXPECT_FALSE(RegistryPacificZone(L"No Such Zone Standard Time").ReadPacificZone());
}

// ---------------------------------------------------------------------------
// The machine's clock and the whole chain on the system

// Sets the runtime's TZ for one scope; the runtime falls back to the
// system's zone once it is cleared again.
class ScopedRuntimeTz {
public:
    explicit ScopedRuntimeTz(const std::string& zone) { Set(zone); }
    ScopedRuntimeTz(const ScopedRuntimeTz&) = delete;
    ScopedRuntimeTz& operator=(const ScopedRuntimeTz&) = delete;
    ~ScopedRuntimeTz() { Set(""); }

private:
    static void Set(const std::string& zone) {
        ::_putenv(("TZ=" + zone).c_str());
        ::_tzset();
    }
};

TEST(Win32Clock, MakesAndBreaksLocalTimeInTheRuntimesZone) {
    const Win32Clock clock;
    struct Case {
        const char* zone;
        CivilTime local;
        std::int64_t value;
        int dayOfWeek;
    };
    const Case cases[] = {
        {"UTC0", MakeCivilTime(2009, 3, 7, 12), 1236427200, 6},
        {"EST5", MakeCivilTime(2021, 1, 15, 12), 1610730000, 5},
        {"JST-9", MakeCivilTime(2030, 12, 31, 23, 59, 59), 1924959599, 2},
    };
    for (const Case& c : cases) {
        ScopedRuntimeTz tz(c.zone);
        EXPECT_EQ(c.value, clock.MakeLocalTime(c.local)) << c.zone;
        CivilTime expected = c.local;
        expected.dayOfWeek = c.dayOfWeek;
        EXPECT_EQ(Show(expected), Show(clock.BreakLocalTime(c.value))) << c.zone;
    }
    ScopedRuntimeTz tz("UTC0");
    // The runtime has no time values before 1970.
    EXPECT_FALSE(clock.MakeLocalTime(MakeCivilTime(1969, 12, 31, 23, 59, 59)));
    EXPECT_FALSE(clock.BreakLocalTime(-1));
}

TEST(Win32Clock, NowAgreesWithTheSystemClock) {
    const Win32Clock clock;
    const std::int64_t before = ::_time64(nullptr);
    const CivilTime utc = clock.UtcNow();
    const CivilTime local = clock.LocalNow();
    const std::int64_t after = ::_time64(nullptr);

    constexpr Ticks k1970 = 116444736000000000;
    const std::int64_t utcValue = (TicksOf(utc) - k1970) / kSecond;
    EXPECT_GE(utcValue, before);
    EXPECT_LE(utcValue, after);
    const auto localValue = clock.MakeLocalTime(local);
    ASSERT_TRUE(localValue);
    EXPECT_GE(*localValue, before);
    EXPECT_LE(*localValue, after);
}

TEST(PacificClock, GivesThePacificWallClockOnTheSystem) {
    const RegistryPacificZone zone;
    const Win32Clock clock;
    const auto rules = zone.ReadPacificZone();
    ASSERT_TRUE(rules);
    const TIME_ZONE_INFORMATION tzi = ToZoneInformation(*rules);

    for (const char* machineZone : {"", "JST-9", "EST5EDT"}) {
        ScopedRuntimeTz tz(machineZone);
        PacificClock pacific(zone, clock);
        SYSTEMTIME now{};
        ::GetSystemTime(&now);
        ASSERT_TRUE(pacific.UpdatePacificNow(true)) << machineZone;
        const auto expected = SystemConversion(tzi, win::FromSystemTime(now));
        const auto actual = clock.BreakLocalTime(pacific.PacificNow());
        ASSERT_TRUE(expected);
        ASSERT_TRUE(actual) << machineZone;
        const Ticks apart = TicksOf(*actual) - TicksOf(*expected) / kSecond * kSecond;
        EXPECT_GE(apart, 0) << machineZone << ": " << Show(actual) << " for " << Show(expected);
        EXPECT_LE(apart, 2 * kSecond)
            << machineZone << ": " << Show(actual) << " for " << Show(expected);
        EXPECT_EQ(pacific.PacificNow() - kCutoffSeconds, pacific.Cutoff());
    }
}

}  // namespace
}  // namespace qv
