#include "CheckPlanner.h"

#include <optional>
#include <tuple>

#include "CivilDays.h"
#include "ReportParser.h"
#include "TextConvert.h"
#include "TransactionStore.h"

namespace qv {
namespace {

constexpr wchar_t kReportPath[] = L"/account/showTransactions.htm?type=VENDOR_SEARCH&form=dates";
constexpr wchar_t kReportTypes[] =
    L"&type=SALE_ARRAY&type=BONUS_ARRAY&type=RFND_ARRAY&type=CHGBACK_ARRAY&type=BOUNCED_ARRAY"
    L"&type=FEES_ARRAY&s=1";

// "%d-%02d-%02d"
std::wstring DateText(PlanDate date) {
    return std::to_wstring(date.year) + L'-' + TwoDigits(date.month) + L'-' + TwoDigits(date.day);
}

std::wstring DateQuery(PlanDate start, PlanDate end) {
    return L"&pageSize=" + std::to_wstring(kReportPageSize) + L"&startDate=" + DateText(start) +
           L"&endDate=" + DateText(end);
}

std::wstring VendorOrigin(const NetworkConfig& config, std::wstring_view nickname) {
    return L"https://" + VendorHost(config, nickname);
}

}  // namespace

std::wstring ReportPageAddress(const NetworkConfig& config, std::wstring_view nickname,
                               PlanDate start, PlanDate end) {
    return VendorOrigin(config, nickname) + kReportPath + L"&pageNum=1" + DateQuery(start, end) +
           kReportTypes;
}

std::wstring ReportPagingAddress(const NetworkConfig& config, std::wstring_view nickname,
                                 PlanDate start, PlanDate end) {
    return VendorOrigin(config, nickname) + kReportPath + DateQuery(start, end) + kReportTypes +
           L"&pageNum=";
}

std::wstring SignOutAddress(const NetworkConfig& config, std::wstring_view nickname) {
    return VendorOrigin(config, nickname) + L"/account/logout";
}

CheckPlanner::CheckPlanner(const IPacificZoneSource& zone, const IClock& clock,
                           NetworkConfig config, std::wstring programFolder)
    : clock_(clock),
      pacific_(zone, clock),
      config_(std::move(config)),
      programFolder_(std::move(programFolder)) {}

bool CheckPlanner::UpdatePacificNow(bool withCutoff) {
    return pacific_.UpdatePacificNow(withCutoff);
}

PlanDate CheckPlanner::DateOf(std::int64_t value) const {
    const auto broken = clock_.BreakLocalTime(value);
    if (!broken) return {};
    return {broken->year, broken->month, broken->day};
}

std::vector<AccountPlan> CheckPlanner::BuildReportAddresses(
    const std::vector<CMyObject*>& checkList) const {
    std::vector<AccountPlan> plans;
    plans.reserve(checkList.size());
    for (CMyObject* account : checkList) {
        if (account) plans.push_back(PlanAccount(*account));
    }
    return plans;
}

namespace {

// A stored date the report can start from: a real calendar day from 1900
// up to today.
bool IsUsableStart(const LastStoredDate& last, PlanDate today) {
    if (last.year < 1900 || last.month < 1 || last.month > 12 || last.day < 1 ||
        last.day > DaysInMonth(last.year, last.month))
        return false;
    return std::tie(last.year, last.month, last.day) <=
           std::tie(today.year, today.month, today.day);
}

}  // namespace

AccountPlan CheckPlanner::PlanAccount(CMyObject& account) const {
    AccountPlan plan;
    plan.account = &account;
    std::wstring reportUrl, pagingUrl;
    account.ResetSessionFields();

    if (!IsHostLabel(account.m_strNickname)) {
        // Put into an address, such a name would reach another host (with
        // the account's password); the account is left out of the check.
        plan.outcome = AccountPlan::Outcome::BadNickname;
        plan.errorText = L"The nickname \"" + account.m_strNickname +
                         L"\" cannot name a vendor account host (only letters, digits and "
                         L"hyphens can); the account is skipped.";
        account.m_strPagingUrl.clear();
        account.m_strReportUrl.clear();
        account.m_strLogoutUrl.clear();
        return plan;
    }

    try {
        const PlanDate end = DateOf(pacific_.PacificNow());
        std::optional<StoredDay> notAfter;
        if (end.year >= 1900) notAfter = StoredDay{end.year, end.month, end.day};
        LastStoredDate last = GetLastStoredDate(account, programFolder_, notAfter);
        // A stored date that is no day, or lies after today, cannot start
        // the report; 90 days back reads again what may be missing, and the
        // store drops what it holds already.
        if (last.kind == LastStoredDate::Kind::Found && !IsUsableStart(last, end))
            last.kind = LastStoredDate::Kind::Empty;
        switch (last.kind) {
            case LastStoredDate::Kind::NotOpened:
                plan.outcome = AccountPlan::Outcome::DatabaseClosed;
                plan.errorText = DatabaseFailureText(account, L" did not open.");
                break;
            case LastStoredDate::Kind::QueryClosed:
                plan.outcome = AccountPlan::Outcome::DatabaseClosed;
                plan.errorText = L"Table " + account.m_strNickname + L" of database " +
                                 account.m_strDbFile + L" did not open.";
                break;
            case LastStoredDate::Kind::Empty:
            case LastStoredDate::Kind::Found: {
                const PlanDate start = last.kind == LastStoredDate::Kind::Empty
                                           ? DateOf(pacific_.Cutoff())
                                           : PlanDate{last.year, last.month, last.day};
                reportUrl = ReportPageAddress(config_, account.m_strNickname, start, end);
                pagingUrl = ReportPagingAddress(config_, account.m_strNickname, start, end);
                break;
            }
        }
    } catch (const CADOException& error) {
        // The exception carries the driver's description only; the
        // connection string, which holds the password, stays in the layer.
        plan.outcome = AccountPlan::Outcome::DatabaseError;
        plan.errorText = DatabaseFailureText(account, L": " + error.GetErrorMessage());
    }

    account.m_strPagingUrl = pagingUrl;
    account.m_strReportUrl = reportUrl;
    account.m_strLogoutUrl = SignOutAddress(config_, account.m_strNickname);
    return plan;
}

}  // namespace qv
