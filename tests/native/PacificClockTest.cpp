#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "BuiltInPacificZone.h"
#include "PacificClock.h"
#include "PosixClock.h"
#include "TimeZoneConversion.h"

namespace qv {
namespace {

// Sets TZ for one scope and puts the previous setting back.
class ScopedTz {
public:
    explicit ScopedTz(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ScopedTz(const ScopedTz&) = delete;
    ScopedTz& operator=(const ScopedTz&) = delete;
    ~ScopedTz() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> old_;
};

std::string Show(const CivilTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d (weekday %d)", t.year,
                  t.month, t.day, t.hour, t.minute, t.second, t.milliseconds, t.dayOfWeek);
    return text;
}

std::string Show(const std::optional<CivilTime>& t) { return t ? Show(*t) : "nothing"; }

CivilTime FromTm(const std::tm& tm) {
    CivilTime t =
        MakeCivilTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    t.dayOfWeek = tm.tm_wday;
    return t;
}

CivilTime UtcOf(std::time_t t) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    return FromTm(tm);
}

// A Windows transition rule: the week-th (5 = last) weekday of the month.
CivilTime Rule(int month, int week, int dayOfWeek, int hour) {
    CivilTime t;
    t.month = month;
    t.day = week;
    t.dayOfWeek = dayOfWeek;
    t.hour = hour;
    return t;
}

TimeZoneRules Zone(int bias, int daylightBias, CivilTime daylightDate, CivilTime standardDate) {
    TimeZoneRules rules;
    rules.bias = bias;
    rules.daylightBias = daylightBias;
    rules.daylightDate = daylightDate;
    rules.standardDate = standardDate;
    return rules;
}

TimeZoneRules BuiltInPacific() {
    const auto rules = BuiltInPacificZone().ReadPacificZone();
    EXPECT_TRUE(rules.has_value());
    return rules.value_or(TimeZoneRules{});
}

// ---------------------------------------------------------------------------
// The conversion against the tz database

struct DatabaseCase {
    const char* tzName;
    TimeZoneRules rules;
    int firstYear;
    int lastYear;
};

void PrintTo(const DatabaseCase& c, std::ostream* os) { *os << c.tzName; }

class ConversionMatchesTzDatabase : public testing::TestWithParam<DatabaseCase> {
protected:
    void SetUp() override { ASSERT_EQ(0, access(("/usr/share/zoneinfo/" + name_).c_str(), R_OK)); }

    static long Offset(std::time_t t) {
        std::tm tm{};
        localtime_r(&t, &tm);
        return tm.tm_gmtoff;
    }

    // Every instant of the year at which the zone's UTC offset changes.
    static std::vector<std::time_t> ChangesIn(int year) {
        std::tm start{};
        start.tm_year = year - 1900;
        start.tm_mday = 1;
        std::tm end = start;
        end.tm_year += 1;
        std::vector<std::time_t> changes;
        for (std::time_t t = timegm(&start); t < timegm(&end); t += 3600) {
            if (Offset(t) == Offset(t + 3600)) continue;
            std::time_t before = t;        // old offset
            std::time_t after = t + 3600;  // new offset
            while (after - before > 1) {
                const std::time_t mid = before + (after - before) / 2;
                (Offset(mid) == Offset(before) ? before : after) = mid;
            }
            changes.push_back(after);
        }
        return changes;
    }

    void ExpectSameAsDatabase(std::time_t t) {
        std::tm tm{};
        localtime_r(&t, &tm);
        const CivilTime expected = FromTm(tm);
        const auto actual = UtcToZoneLocal(GetParam().rules, UtcOf(t));
        EXPECT_EQ(Show(expected), Show(actual)) << "UTC " << Show(UtcOf(t));
    }

    std::string name_ = GetParam().tzName;
    ScopedTz tz_{GetParam().tzName};
};

TEST_P(ConversionMatchesTzDatabase, AroundEveryChange) {
    static constexpr int kOffsets[] = {-86400, -3601, -3600, -1, 0, 1, 3599, 3600, 3601, 7200};
    for (int year = GetParam().firstYear; year <= GetParam().lastYear; ++year) {
        const auto changes = ChangesIn(year);
        // Two changes a year is what the rules under test describe; anything
        // else means the scan, not the conversion, went wrong.
        ASSERT_EQ(2u, changes.size()) << year;
        for (const std::time_t change : changes) {
            for (const int offset : kOffsets) ExpectSameAsDatabase(change + offset);
        }
    }
}

TEST_P(ConversionMatchesTzDatabase, ThroughoutTheSeasons) {
    for (int year = GetParam().firstYear; year <= GetParam().lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (const int day : {1, 15, 28}) {
                for (const int hour : {0, 7, 13, 23}) {
                    std::tm tm{};
                    tm.tm_year = year - 1900;
                    tm.tm_mon = month - 1;
                    tm.tm_mday = day;
                    tm.tm_hour = hour;
                    tm.tm_min = 29;
                    tm.tm_sec = 31;
                    ExpectSameAsDatabase(timegm(&tm));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Zones, ConversionMatchesTzDatabase,
    testing::Values(DatabaseCase{"America/Los_Angeles", BuiltInPacific(), 2007, 2030},
                    // Last-Sunday rules, transitions at 01:00 UTC.
                    DatabaseCase{"Europe/Berlin",
                                 Zone(-60, -60, Rule(3, 5, 0, 2), Rule(10, 5, 0, 3)), 2007, 2030},
                    // Southern hemisphere: daylight time spans the new year.
                    DatabaseCase{"Australia/Sydney",
                                 Zone(-600, -60, Rule(10, 1, 0, 2), Rule(4, 1, 0, 3)), 2008, 2030}),
    [](const testing::TestParamInfo<DatabaseCase>& info) {
        std::string name = info.param.tzName;
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        return name;
    });

// ---------------------------------------------------------------------------
// The conversion on its own

TEST(UtcToZoneLocal, KeepsMillisecondsAndFillsTheWeekday) {
    const auto local = UtcToZoneLocal(BuiltInPacific(), MakeCivilTime(2009, 3, 8, 10, 0, 0, 999));
    EXPECT_EQ("2009-03-08 03:00:00.999 (weekday 0)", Show(local));
    const auto before = UtcToZoneLocal(BuiltInPacific(), MakeCivilTime(2009, 3, 8, 9, 59, 59, 999));
    EXPECT_EQ("2009-03-08 01:59:59.999 (weekday 0)", Show(before));
}

TEST(UtcToZoneLocal, WithoutATransitionMonthThereIsNoDaylightTime) {
    // Only the bias applies then, not even the standard bias.
    TimeZoneRules noStandard = Zone(-540, -60, Rule(3, 2, 0, 2), CivilTime{});
    noStandard.standardBias = 30;
    TimeZoneRules noDaylight = Zone(-540, -60, CivilTime{}, Rule(11, 1, 0, 2));
    noDaylight.standardBias = 30;
    for (const TimeZoneRules& rules : {noStandard, noDaylight}) {
        for (const int month : {1, 4, 7, 10, 12}) {
            const auto local = UtcToZoneLocal(rules, MakeCivilTime(2020, month, 10, 20, 15));
            ASSERT_TRUE(local) << month;
            EXPECT_EQ(5, local->hour) << month;
            EXPECT_EQ(15, local->minute) << month;
            EXPECT_EQ(11, local->day) << month;
        }
    }
}

TEST(UtcToZoneLocal, AbsoluteDatesApplyInTheirDayAndTime) {
    CivilTime daylightStart = MakeCivilTime(2010, 4, 1, 2);
    CivilTime standardStart = MakeCivilTime(2010, 10, 1, 2);
    const TimeZoneRules rules = Zone(300, -60, daylightStart, standardStart);
    struct Case {
        CivilTime utc;
        const char* local;
    };
    const Case cases[] = {
        {MakeCivilTime(2010, 4, 1, 6, 59, 59), "2010-04-01 01:59:59.000 (weekday 4)"},
        {MakeCivilTime(2010, 4, 1, 7, 0, 0), "2010-04-01 03:00:00.000 (weekday 4)"},
        {MakeCivilTime(2010, 10, 1, 5, 59, 59), "2010-10-01 01:59:59.000 (weekday 5)"},
        {MakeCivilTime(2010, 10, 1, 6, 0, 0), "2010-10-01 01:00:00.000 (weekday 5)"},
        {MakeCivilTime(2010, 7, 1, 12), "2010-07-01 08:00:00.000 (weekday 4)"},
        {MakeCivilTime(2010, 12, 1, 12), "2010-12-01 07:00:00.000 (weekday 3)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.local, Show(UtcToZoneLocal(rules, c.utc))) << Show(c.utc);
}

TEST(UtcToZoneLocal, RejectsImpossibleTimesAndRules) {
    const CivilTime invalidTimes[] = {
        MakeCivilTime(2009, 2, 29),       MakeCivilTime(2009, 13, 1),          MakeCivilTime(2009, 0, 1),
        MakeCivilTime(2009, 4, 31),       MakeCivilTime(2009, 1, 0),           MakeCivilTime(2009, 1, 1, 24),
        MakeCivilTime(2009, 1, 1, 0, 60), MakeCivilTime(2009, 1, 1, 0, 0, 60), MakeCivilTime(2009, 1, 1, 0, 0, 0, 1000),
        MakeCivilTime(1600, 12, 31, 23),
    };
    for (const CivilTime& t : invalidTimes) {
        EXPECT_FALSE(UtcToZoneLocal(BuiltInPacific(), t)) << Show(t);
    }
    EXPECT_TRUE(UtcToZoneLocal(BuiltInPacific(), MakeCivilTime(2008, 2, 29)));

    TimeZoneRules badWeek = BuiltInPacific();
    badWeek.daylightDate.day = 6;
    EXPECT_FALSE(UtcToZoneLocal(badWeek, MakeCivilTime(2009, 6, 1)));
    TimeZoneRules badMonth = BuiltInPacific();
    badMonth.standardDate.month = 13;
    EXPECT_FALSE(UtcToZoneLocal(badMonth, MakeCivilTime(2009, 6, 1)));
}

// ---------------------------------------------------------------------------
// The registry record

std::vector<unsigned char> FromHex(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

TEST(ParseRegistryTzi, ReadsTheLittleEndianLayout) {
    // Pacific as Windows stores it.
    const auto bytes = FromHex(
        "E001000000000000C4FFFFFF"
        "00000B00000001000200000000000000"
        "00000300000002000200000000000000");
    const auto rules = ParseRegistryTzi(bytes.data(), bytes.size());
    ASSERT_TRUE(rules);
    EXPECT_EQ(480, rules->bias);
    EXPECT_EQ(0, rules->standardBias);
    EXPECT_EQ(-60, rules->daylightBias);
    EXPECT_EQ("0000-11-01 02:00:00.000 (weekday 0)", Show(rules->standardDate));
    EXPECT_EQ("0000-03-02 02:00:00.000 (weekday 0)", Show(rules->daylightDate));

    // Every field distinct, so that a swapped or shifted field shows.
    const auto mixed = FromHex(
        "A8FDFFFF0100000088FFFFFF"
        "DA070A00060005000300040005000600"
        "E5070400010002000A000B000C00E703");
    const auto other = ParseRegistryTzi(mixed.data(), mixed.size());
    ASSERT_TRUE(other);
    EXPECT_EQ(-600, other->bias);
    EXPECT_EQ(1, other->standardBias);
    EXPECT_EQ(-120, other->daylightBias);
    EXPECT_EQ("2010-10-05 03:04:05.006 (weekday 6)", Show(other->standardDate));
    EXPECT_EQ("2021-04-02 10:11:12.999 (weekday 1)", Show(other->daylightDate));
}

TEST(ParseRegistryTzi, RejectsAnyOtherSize) {
    const std::vector<unsigned char> bytes(48, 0);
    for (const std::size_t size : {0u, 1u, 43u, 45u, 48u}) {
        EXPECT_FALSE(ParseRegistryTzi(bytes.data(), size)) << size;
    }
    EXPECT_TRUE(ParseRegistryTzi(bytes.data(), 44));
}

// ---------------------------------------------------------------------------
// The machine's clock

TEST(PosixClock, MakesAndBreaksLocalTimeWithTheSystemsDaylightRules) {
    ScopedTz tz("America/New_York");
    const PosixClock clock;
    struct Case {
        CivilTime local;
        std::int64_t value;
        int dayOfWeek;
    };
    const Case cases[] = {
        {MakeCivilTime(2021, 7, 1, 12), 1625155200, 4},    // EDT
        {MakeCivilTime(2021, 1, 15, 12), 1610730000, 5},   // EST
        {MakeCivilTime(1969, 12, 31, 18, 59, 59), -1, 3},  // a valid -1
        {MakeCivilTime(1900, 1, 1, 0), -2208970800, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value, clock.MakeLocalTime(c.local)) << Show(c.local);
        CivilTime expected = c.local;
        expected.dayOfWeek = c.dayOfWeek;
        EXPECT_EQ(Show(expected), Show(clock.BreakLocalTime(c.value)));
    }
    // Beyond what the system's time line holds.
    EXPECT_FALSE(clock.MakeLocalTime(
        MakeCivilTime(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 1)));
    EXPECT_FALSE(clock.BreakLocalTime(std::numeric_limits<std::int64_t>::max()));
}

TEST(PosixClock, NowAgreesWithTheSystemClock) {
    ScopedTz tz("Asia/Kolkata");
    const PosixClock clock;
    const std::time_t before = std::time(nullptr);
    const CivilTime utc = clock.UtcNow();
    const CivilTime local = clock.LocalNow();
    const std::time_t after = std::time(nullptr);

    std::tm tm{};
    tm.tm_year = utc.year - 1900;
    tm.tm_mon = utc.month - 1;
    tm.tm_mday = utc.day;
    tm.tm_hour = utc.hour;
    tm.tm_min = utc.minute;
    tm.tm_sec = utc.second;
    const std::time_t utcValue = timegm(&tm);
    EXPECT_GE(utcValue, before);
    EXPECT_LE(utcValue, after);
    EXPECT_EQ(UtcOf(utcValue).dayOfWeek, utc.dayOfWeek);

    const auto localValue = clock.MakeLocalTime(local);
    ASSERT_TRUE(localValue);
    EXPECT_GE(*localValue, before);
    EXPECT_LE(*localValue, after);
}

// ---------------------------------------------------------------------------
// The Pacific clock

class FakeZone : public IPacificZoneSource {
public:
    std::optional<TimeZoneRules> ReadPacificZone() const override { return rules; }
    std::optional<TimeZoneRules> rules = BuiltInPacific();
};

// A fixed "now"; the machine's zone is the real one, set through TZ.
class FakeClock : public IClock {
public:
    CivilTime UtcNow() const override { return utc; }
    CivilTime LocalNow() const override { return system.LocalNow(); }
    std::optional<std::int64_t> MakeLocalTime(const CivilTime& local) const override {
        if (failMakeLocal) return std::nullopt;
        return system.MakeLocalTime(local);
    }
    std::optional<CivilTime> BreakLocalTime(std::int64_t value) const override {
        return system.BreakLocalTime(value);
    }

    CivilTime utc;
    bool failMakeLocal = false;
    PosixClock system;
};

class PacificClockTest : public testing::Test {
protected:
    std::string ReadBack(std::int64_t value) const {
        auto t = clock_.BreakLocalTime(value);
        if (t) t->dayOfWeek = 0;
        return Show(t);
    }

    ScopedTz tz_{"UTC"};
    FakeZone zone_;
    FakeClock clock_;
    PacificClock pacific_{zone_, clock_};
};

TEST_F(PacificClockTest, ReadsThePacificWallClockThroughTheMachinesZone) {
    struct Case {
        CivilTime utc;
        const char* pacific;
    };
    const Case cases[] = {
        {MakeCivilTime(2009, 3, 7, 20), "2009-03-07 12:00:00.000 (weekday 0)"},
        // Just after midnight UTC it is still the previous evening in California.
        {MakeCivilTime(2021, 7, 2, 0, 30), "2021-07-01 17:30:00.000 (weekday 0)"},
        {MakeCivilTime(2021, 1, 1, 3, 0, 5), "2020-12-31 19:00:05.000 (weekday 0)"},
        {MakeCivilTime(2009, 3, 8, 10), "2009-03-08 03:00:00.000 (weekday 0)"},
        {MakeCivilTime(2009, 11, 1, 9), "2009-11-01 01:00:00.000 (weekday 0)"},
    };
    for (const char* machineZone :
         {"UTC", "Europe/Berlin", "Asia/Tokyo", "America/New_York", "America/Los_Angeles"}) {
        ScopedTz tz(machineZone);
        for (const Case& c : cases) {
            clock_.utc = c.utc;
            ASSERT_TRUE(pacific_.UpdatePacificNow(false));
            EXPECT_EQ(c.pacific, ReadBack(pacific_.PacificNow()))
                << machineZone << ", UTC " << Show(c.utc);
        }
    }
}

TEST_F(PacificClockTest, CutoffIsNinetyDaysBack) {
    clock_.utc = MakeCivilTime(2009, 3, 7, 20);  // noon in California
    ASSERT_TRUE(pacific_.UpdatePacificNow(true));
    EXPECT_EQ(1236427200, pacific_.PacificNow());
    EXPECT_EQ(1228651200, pacific_.Cutoff());
    EXPECT_EQ("2008-12-07 12:00:00.000 (weekday 0)", ReadBack(pacific_.Cutoff()));

    // Without the flag the cutoff keeps the value of the last update with it.
    clock_.utc = MakeCivilTime(2010, 6, 1, 20);
    ASSERT_TRUE(pacific_.UpdatePacificNow(false));
    EXPECT_EQ("2010-06-01 13:00:00.000 (weekday 0)", ReadBack(pacific_.PacificNow()));
    EXPECT_EQ(1228651200, pacific_.Cutoff());
}

TEST_F(PacificClockTest, CutoffDateHoldsInAnyMachineZone) {
    clock_.utc = MakeCivilTime(2009, 3, 7, 20);
    for (const char* machineZone : {"Europe/Berlin", "Australia/Sydney", "America/Los_Angeles"}) {
        ScopedTz tz(machineZone);
        ASSERT_TRUE(pacific_.UpdatePacificNow(true));
        const auto cutoff = clock_.BreakLocalTime(pacific_.Cutoff());
        ASSERT_TRUE(cutoff) << machineZone;
        EXPECT_EQ(2008, cutoff->year) << machineZone;
        EXPECT_EQ(12, cutoff->month) << machineZone;
        EXPECT_EQ(7, cutoff->day) << machineZone;
    }
}

TEST_F(PacificClockTest, PacificDatesBefore1900GiveZero) {
    // 05:00 UTC on the first day of 1900 is still 1899 in California.
    clock_.utc = MakeCivilTime(1900, 1, 1, 5);
    ASSERT_TRUE(pacific_.UpdatePacificNow(true));
    EXPECT_EQ(0, pacific_.PacificNow());
    EXPECT_EQ(-kCutoffSeconds, pacific_.Cutoff());

    clock_.utc = MakeCivilTime(1900, 1, 1, 8);
    ASSERT_TRUE(pacific_.UpdatePacificNow(false));
    EXPECT_EQ(-2208988800, pacific_.PacificNow());
}

TEST_F(PacificClockTest, AnUnreadableZoneGivesFalseAndZero) {
    clock_.utc = MakeCivilTime(2009, 3, 7, 20);
    ASSERT_TRUE(pacific_.UpdatePacificNow(true));
    ASSERT_NE(0, pacific_.PacificNow());

    zone_.rules.reset();
    EXPECT_FALSE(pacific_.UpdatePacificNow(true));
    EXPECT_EQ(0, pacific_.PacificNow());
    EXPECT_EQ(0, pacific_.Cutoff());
}

TEST_F(PacificClockTest, AnUnconvertibleTimeGivesZero) {
    clock_.utc = MakeCivilTime(2009, 3, 7, 20);
    zone_.rules->daylightDate.day = 9;  // no such week
    EXPECT_FALSE(pacific_.UpdatePacificNow(false));
    EXPECT_EQ(0, pacific_.PacificNow());

    zone_.rules = BuiltInPacific();
    clock_.failMakeLocal = true;
    EXPECT_TRUE(pacific_.UpdatePacificNow(false));
    EXPECT_EQ(0, pacific_.PacificNow());
}

}  // namespace
}  // namespace qv
