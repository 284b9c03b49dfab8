#pragma once

#include <string>
#include <vector>

#include "CivilDate.h"
#include "Transactions.h"

namespace qv::marketsim {

// Rows a report page lists at most.
constexpr int kReportPageSize = 1000;

// Escapes &, <, > and " so the text can stand in element content and in
// double-quoted attribute values.
std::string HtmlEscape(const std::string& text);

// The sign-in page: a POST form to /login.do with the elements "nick", "pass"
// and the submit control "login". `error` adds the refusal notice.
std::string RenderSignInPage(bool error);

// The sentence that carries the item count, as the report shows it:
//   0            "Your search found no items."
//   1            "Your search: one item found."
//   2..pageSize  "Your search found 1,234 items."
//   more         a page chooser of at least 9000 characters, then
//                "Showing 1 - 1000 of all 2,500 results"
// `firstRow` and `lastRow` (1-based) matter only in the long form.
std::string RenderCountSection(int total, int pageNum, int pageCount, int firstRow, int lastRow,
                               CivilDate endDate);

struct ReportView {
    std::string nickname;
    std::vector<const Transaction*> rows;  // the rows of this page, newest first
    int total = 0;                         // rows of the whole report
    int pageNum = 1;
    int pageSize = kReportPageSize;
    CivilDate startDate;
    CivilDate endDate;
    bool withCountElement = true;  // element "divbody"
    bool withTable = true;         // element "line"
};

std::string RenderReportPage(const ReportView& view);

// A plain page with a heading and one paragraph (error pages, landing pages).
std::string RenderPlainPage(const std::string& title, const std::string& text);

// "1,234"
std::string WithThousands(int n);

}  // namespace qv::marketsim
