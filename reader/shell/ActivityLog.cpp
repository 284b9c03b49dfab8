#include "ActivityLog.h"

#include "TextConvert.h"

namespace qv {
namespace {

constexpr wchar_t kSeparatorLine[] =
    L"- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -";
constexpr wchar_t kContinuationIndent[] = L"                                          ";

// The time stamp, two blanks, and the account in brackets when one is given.
std::wstring LinePrefix(const std::wstring& stamp, const CMyObject* account) {
    std::wstring prefix = stamp + L"  ";
    if (account) prefix += L"[" + account->m_strNickname + L"] ";
    return prefix;
}

// The words of the codes whose line is the prefix and one text.
const wchar_t* PlainText(int code) {
    switch (code) {
        case kLogLoginAttempt:
            return L"Login attempt.";
        case kLogLoginSucceed:
            return L"Login succeed.";
        case kLogLogOut:
            return L"Log out.";
        case kLogLoginFailed:
            return L"Login failed.";
        case kLogTimedOut:
            return L"Connection timed out.";
        case kLogNoInternet:
            return L"Unable to connect Internet.";
        case kLogStartManual:
            return L"Start manual check of data.";
        case kLogFinishManual:
            return L"Finish manual check of data.";
        case kLogCancelManual:
            return L"Cancel manually check of data.";
        case kLogStartAuto:
            return L"Start auto check of data.";
        case kLogFinishAuto:
            return L"Finish auto check of data.";
        case kLogCancelAuto:
            return L"Cancel auto check of data.";
        default:
            return nullptr;
    }
}

}  // namespace

std::wstring LogTimeStamp(const IClock& clock) {
    // Through a time value and back, as the local time is normalised by the
    // system before it is shown.
    int year = 0, month = 0, day = 0, hour = -1, minute = -1, second = -1;
    if (const auto value = clock.MakeLocalTime(clock.LocalNow())) {
        if (const auto t = clock.BreakLocalTime(*value)) {
            year = t->year;
            month = t->month;
            day = t->day;
            hour = t->hour;
            minute = t->minute;
            second = t->second;
        }
    }
    return TwoDigits(hour) + L':' + TwoDigits(minute) + L':' + TwoDigits(second) + L"  " +
           TwoDigits(month) + L'/' + TwoDigits(day) + L'/' + std::to_wstring(year) + L' ';
}

std::vector<LogLine> BuildLogLines(int code, int count, const CMyObject* account,
                                   const std::wstring& stamp) {
    if (code == kLogSeparator) return {{0, kSeparatorLine}};

    const std::wstring prefix = LinePrefix(stamp, account);

    if (code == kLogNewItems) {
        if (count == 0) return {{0, prefix + L"No new item found."}};
        // The same shape as the prefix with an account; a count without an
        // account keeps the brackets empty rather than dropping the line.
        const std::wstring nickname = account ? account->m_strNickname : std::wstring();
        return {{0, stamp + L"  [" + nickname + L"] Find out " + std::to_wstring(count) +
                        L" new items."}};
    }
    if (code == kLogTooMuchData) {
        return {
            {0, prefix + L"It will take several minutes because "},
            {1, std::wstring(kContinuationIndent) + L"of too much data. Please wait patiently or "},
            {2, std::wstring(kContinuationIndent) + L"choose the \"Manual Import Data\"."}};
    }
    if (const wchar_t* text = PlainText(code)) return {{0, prefix + text}};
    return {};
}

ActivityLog::ActivityLog(IActivityLogView& view, const IClock& clock)
    : view_(view), clock_(clock) {}

void ActivityLog::AddLogLine(int code, int count, const CMyObject* account) {
    // The separator carries no time stamp; skip the clock for it.
    const std::wstring stamp = code == kLogSeparator ? std::wstring() : LogTimeStamp(clock_);
    for (const LogLine& line : BuildLogLines(code, count, account, stamp)) {
        view_.InsertLine(line.position, line.text);
    }
}

void ActivityLog::AddNoteLine(std::wstring_view text, const CMyObject* account) {
    view_.InsertLine(0, LinePrefix(LogTimeStamp(clock_), account) + std::wstring(text));
}

}  // namespace qv
