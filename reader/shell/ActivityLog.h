#pragma once
// The activity log: every text the reader writes about a check, and where
// each line goes in the list (position 0 is the newest line). Other parts
// pass an event code, a count and the account; the words live here only.
// A line names an account by its nickname alone, never by its password or
// its database's connection string.

#include <string>
#include <string_view>
#include <vector>

#include "CMyObject.h"
#include "Clock.h"

namespace qv {

enum LogEvent : int {
    kLogSeparator = 0,
    kLogLoginAttempt = 1,
    kLogLoginSucceed = 2,
    kLogLogOut = 3,
    kLogLoginFailed = 4,
    kLogNewItems = 5,
    kLogTimedOut = 6,
    kLogNoInternet = 7,
    kLogStartManual = 8,
    kLogFinishManual = 9,
    kLogCancelManual = 10,
    kLogStartAuto = 11,
    kLogFinishAuto = 12,
    kLogCancelAuto = 13,
    kLogTooMuchData = 14,
};
inline constexpr int kLogEventCount = 15;

// The list the lines go into: the log page's list box, or the console.
class IActivityLogView {
public:
    virtual ~IActivityLogView() = default;
    // Inserts before the line now at `position`; a position equal to the
    // number of lines appends.
    virtual void InsertLine(int position, const std::wstring& text) = 0;
};

struct LogLine {
    int position = 0;
    std::wstring text;
    bool operator==(const LogLine&) const = default;
};

// "hh:mm:ss  MM/DD/YYYY " of the local time; 0 for the date parts and -1
// for the time parts when the clock cannot convert it.
std::wstring LogTimeStamp(const IClock& clock);

// The lines of one event with the given time stamp, in the order they are
// inserted. An unknown code gives none.
std::vector<LogLine> BuildLogLines(int code, int count, const CMyObject* account,
                                   const std::wstring& stamp);

class ActivityLog {
public:
    ActivityLog(IActivityLogView& view, const IClock& clock);

    // Code 0..14 with its count (used by code 5 only) and account (used by
    // every code but 0). An unknown code writes nothing.
    void AddLogLine(int code, int count = 0, const CMyObject* account = nullptr);

    // A line that has no event code, for failures such as a database error
    // that ends an account: the time stamp, the account in brackets when one
    // is given, then the text. Without an account the text must name it.
    void AddNoteLine(std::wstring_view text, const CMyObject* account = nullptr);

private:
    IActivityLogView& view_;
    const IClock& clock_;
};

}  // namespace qv
