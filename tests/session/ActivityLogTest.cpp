#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ActivityLog.h"
#include "PortFakes.h"
#include "SessionFakes.h"
#include "TextConvert.h"

namespace qv::test {
namespace {

constexpr wchar_t kStamp[] = L"14:05:09  03/27/2009 ";
constexpr wchar_t kIndent[] = L"                                          ";  // 42 blanks

class ActivityLogTest : public ::testing::Test {
protected:
    ActivityLogTest() : log_(view_, clock_) {
        clock_.localNow = MakeCivilTime(2009, 3, 27, 14, 5, 9);
        account_.m_nKind = kAccountNode;
        account_.m_strNickname = L"abc";
        account_.m_strPassword = L"hunter2";
    }

    FakeClock clock_;
    RecordingLogView view_;
    ActivityLog log_;
    CMyObject account_;
};

TEST_F(ActivityLogTest, TimeStampHasTwoBlanksBetweenTimeAndDateAndEndsWithOne) {
    EXPECT_EQ(LogTimeStamp(clock_), kStamp);
    clock_.localNow = MakeCivilTime(2010, 11, 5, 0, 0, 0);
    EXPECT_EQ(LogTimeStamp(clock_), L"00:00:00  11/05/2010 ");
    // A local time the clock cannot convert: date parts 0, time parts -1.
    clock_.localNow = MakeCivilTime(1800, 1, 1, 1, 1, 1);
    EXPECT_EQ(LogTimeStamp(clock_), L"-1:-1:-1  00/00/0 ");
}

// Every code, with and without an account, as the top line of the log.
TEST_F(ActivityLogTest, EveryCodeHasItsTextAndPosition) {
    const std::wstring p = std::wstring(kStamp) + L"  ";
    const std::wstring pa = p + L"[abc] ";
    struct Case {
        int code;
        int count;
        bool withAccount;
        std::vector<std::wstring> linesTopDown;
    };
    const std::wstring separator =
        L"- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - "
        L"- -";
    const std::vector<Case> cases = {
        {0, 0, false, {separator}},
        {0, 0, true, {separator}},
        {1, 0, true, {pa + L"Login attempt."}},
        {2, 0, true, {pa + L"Login succeed."}},
        {3, 0, true, {pa + L"Log out."}},
        {4, 0, true, {pa + L"Login failed."}},
        {4, 0, false, {p + L"Login failed."}},
        {5, 3, true, {L"14:05:09  03/27/2009   [abc] Find out 3 new items."}},
        {5, 0, true, {L"14:05:09  03/27/2009   [abc] No new item found."}},
        {6, 0, true, {pa + L"Connection timed out."}},
        {7, 0, false, {p + L"Unable to connect Internet."}},
        {8, 0, false, {p + L"Start manual check of data."}},
        {9, 0, false, {p + L"Finish manual check of data."}},
        {10, 0, false, {p + L"Cancel manually check of data."}},
        {11, 0, false, {p + L"Start auto check of data."}},
        {12, 0, false, {p + L"Finish auto check of data."}},
        {13, 0, false, {p + L"Cancel auto check of data."}},
        {14,
         0,
         true,
         {pa + L"It will take several minutes because ",
          std::wstring(kIndent) + L"of too much data. Please wait patiently or ",
          std::wstring(kIndent) + L"choose the \"Manual Import Data\"."}},
        // The count belongs to code 5 alone.
        {1, 7, true, {pa + L"Login attempt."}},
    };
    for (const Case& c : cases) {
        RecordingLogView view;
        ActivityLog log(view, clock_);
        view.lines.push_back(L"older line");
        log.AddLogLine(c.code, c.count, c.withAccount ? &account_ : nullptr);
        std::vector<std::wstring> expected = c.linesTopDown;
        expected.push_back(L"older line");
        EXPECT_EQ(view.lines, expected) << "code " << c.code;
    }
    EXPECT_EQ(separator.size(), 91u);
    EXPECT_EQ(std::count(separator.begin(), separator.end(), L'-'), 46);
}

TEST_F(ActivityLogTest, UnknownCodesWriteNothing) {
    for (const int code : {-1, 15, 100}) log_.AddLogLine(code, 1, &account_);
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(ActivityLogTest, LaterLinesGoAboveTheThreeLineNotice) {
    log_.AddLogLine(kLogTooMuchData, 0, &account_);
    log_.AddLogLine(kLogNewItems, 2, &account_);
    ASSERT_EQ(view_.lines.size(), 4u);
    EXPECT_NE(view_.lines[0].find(L"Find out 2 new items."), std::wstring::npos);
    EXPECT_NE(view_.lines[1].find(L"It will take several minutes because "), std::wstring::npos);
    EXPECT_EQ(view_.lines[3].substr(0, 42), kIndent);
}

TEST_F(ActivityLogTest, NoteLinesNameTheAccountAndNeverItsPassword) {
    log_.AddNoteLine(L"The report holds no item count; the check ends.", &account_);
    log_.AddNoteLine(L"Database Shop.mdb of account abc: no such table");
    ASSERT_EQ(view_.lines.size(), 2u);
    EXPECT_EQ(view_.lines[0],
              std::wstring(kStamp) + L"  Database Shop.mdb of account abc: no such table");
    EXPECT_EQ(view_.lines[1],
              std::wstring(kStamp) + L"  [abc] The report holds no item count; the check ends.");
    for (int code = 0; code < kLogEventCount; ++code) log_.AddLogLine(code, 5, &account_);
    for (const auto& line : view_.lines) {
        EXPECT_EQ(line.find(L"hunter2"), std::wstring::npos) << WideToUtf8(line);
    }
}

}  // namespace
}  // namespace qv::test
