#pragma once
// Before a check signs in anywhere, the planner works out today's date on the
// US Pacific clock (the marketplace reports by it) and writes, for every
// account of the check, the first report page, the base of further report
// pages and the sign-out address. The report starts at the newest stored date
// of the account, or 90 days back for an account with nothing stored.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "CMyObject.h"
#include "Clock.h"
#include "NetworkConfig.h"
#include "PacificClock.h"
#include "PacificZoneSource.h"

namespace qv {

struct PlanDate {
    int year = -1;
    int month = -1;
    int day = -1;
};

// The report over [start, end] on the vendor host, asking for the first page
// ("pageNum=1") or, ending in "&pageNum=", the base for further pages.
std::wstring ReportPageAddress(const NetworkConfig& config, std::wstring_view nickname,
                               PlanDate start, PlanDate end);
std::wstring ReportPagingAddress(const NetworkConfig& config, std::wstring_view nickname,
                                 PlanDate start, PlanDate end);
std::wstring SignOutAddress(const NetworkConfig& config, std::wstring_view nickname);

// How planning one account went.
struct AccountPlan {
    enum class Outcome {
        Planned,         // both report addresses written
        DatabaseClosed,  // the database or its query did not open: no report addresses
        DatabaseError,   // the database layer raised an error: no report addresses
        BadNickname,     // the nickname cannot name a vendor host: no address at all
    };
    CMyObject* account = nullptr;
    Outcome outcome = Outcome::Planned;
    // For the log when the outcome is not Planned: the account and what the
    // database said; never a connection string or a password.
    std::wstring errorText;

    bool Failed() const { return outcome != Outcome::Planned; }
};

class CheckPlanner {
public:
    // programFolder ends with its separator, as GetProgramFolder gives it.
    CheckPlanner(const IPacificZoneSource& zone, const IClock& clock, NetworkConfig config,
                 std::wstring programFolder);

    // Sets Pacific now (and, with withCutoff, the cutoff 90 days before it).
    // False when the Pacific zone cannot be read; Pacific now is 0 then.
    bool UpdatePacificNow(bool withCutoff);
    std::int64_t PacificNow() const { return pacific_.PacificNow(); }
    std::int64_t Cutoff() const { return pacific_.Cutoff(); }

    // The calendar date of a time value of the Pacific clock; -1 parts when
    // the machine's zone cannot break it down.
    PlanDate DateOf(std::int64_t value) const;

    // For every account of the check list, in order: the three addresses and
    // the session fields cleared. A database failure on one account never
    // stops the others; it is told in that account's plan.
    std::vector<AccountPlan> BuildReportAddresses(const std::vector<CMyObject*>& checkList) const;

private:
    AccountPlan PlanAccount(CMyObject& account) const;

    const IClock& clock_;
    PacificClock pacific_;
    NetworkConfig config_;
    std::wstring programFolder_;
};

}  // namespace qv
