#include "Pages.h"

#include <cstdio>

namespace qv::marketsim {

namespace {

const char kHead[] = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";

// Escapes &, < and >, and the double quote too when the text goes into an
// attribute value.
std::string Escape(const std::string& text, bool quote) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += quote ? "&quot;" : "\"";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// Element content as a browser writes it back: quotes stay, markup
// characters become references.
std::string EscapeText(const std::string& text) {
    return Escape(text, false);
}

// Cell text: the non-breaking-space reference stays as the site writes it.
std::string CellText(const std::string& text) {
    return text == "&nbsp;" ? text : EscapeText(text);
}

void AppendCell(std::string& out, const std::string& text) {
    out += "<td>";
    out += CellText(text);
    out += "</td>";
}

const char* const kMonthNames[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

void AppendRow(std::string& out, const Transaction& t, bool odd) {
    out += odd ? "<tr class=\"odd\">\n" : "<tr class=\"even\">\n";
    out += "<td class=\"buyer\"><center><a href=\"mailto:";
    out += HtmlEscape(t.email);
    out += "\">";
    out += EscapeText(t.email);
    out += "</a></center></td>\n";
    AppendCell(out, t.date.ToString());
    AppendCell(out, t.TimeText());
    if (t.receipt.empty()) {
        out += "<td></td>";
    } else {
        out += "<td><a href=\"/account/receipt.htm?receipt=";
        out += HtmlEscape(t.receipt);
        out += "\">";
        out += EscapeText(t.receipt);
        out += "</a></td>";
    }
    AppendCell(out, t.tid);
    out += "\n";
    for (const auto& id : t.familyIds) {
        out += "<td class=\"family\"><a href=\"/account/showTransactions.htm?transactionFamilyId=";
        out += HtmlEscape(id);
        out += "&amp;s=1\">family</a></td>\n";
    }
    AppendCell(out, t.payment);
    AppendCell(out, t.currency);
    AppendCell(out, KindLabel(t.kind));
    AppendCell(out, t.item);
    AppendCell(out, t.amount);
    AppendCell(out, t.vendor);
    AppendCell(out, t.affiliate);
    AppendCell(out, t.country);
    AppendCell(out, t.state);
    AppendCell(out, t.lastName);
    AppendCell(out, t.firstName);
    out += "\n</tr>\n";
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
    return Escape(text, true);
}

std::string WithThousands(int n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    const size_t lead = digits.size() % 3;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (i - lead) % 3 == 0) out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

std::string RenderSignInPage(bool error) {
    std::string out = kHead;
    out +=
        "<title>Vendor sign-in</title>\n</head>\n<body>\n"
        "<h1>Vendor accounts</h1>\n";
    if (error)
        out += "<p class=\"error\">The nickname or password you entered is not correct.</p>\n";
    out +=
        "<form id=\"loginForm\" method=\"post\" action=\"/login.do\" "
        "accept-charset=\"utf-8\">\n"
        "<p><label for=\"nick\">Nickname</label>\n"
        "<input id=\"nick\" class=\"loginInput\" type=\"text\" name=\"nick\" tabindex=\"1\" "
        "maxlength=\"10\"></p>\n"
        "<p><label for=\"pass\">Password</label>\n"
        "<input id=\"pass\" class=\"loginInput\" type=\"password\" name=\"pass\" "
        "tabindex=\"2\"></p>\n"
        "<p><input id=\"login\" type=\"submit\" value=\"Sign in\" tabindex=\"3\"></p>\n"
        "</form>\n</body>\n</html>\n";
    return out;
}

std::string RenderCountSection(int total, int pageNum, int pageCount, int firstRow, int lastRow,
                               CivilDate endDate) {
    if (total <= 0) return "<p class=\"count\">Your search found no items.</p>\n";
    if (total == 1) return "<p class=\"count\">Your search: one item found.</p>\n";
    if (total <= kReportPageSize)
        return "<p class=\"count\">Your search found " + WithThousands(total) + " items.</p>\n";

    // A report of several pages opens with its page chooser and a list of
    // month ranges, which puts the count sentence far down the element. The
    // chooser holds none of the words the count is read by.
    std::string out =
        "<form class=\"chooser\" method=\"get\" action=\"\">\n"
        "<label>Page <select name=\"pageNum\">\n";
    for (int p = 1; p <= pageCount; ++p) {
        out += "<option value=\"" + std::to_string(p) + "\"";
        if (p == pageNum) out += " selected";
        out += ">Page " + std::to_string(p) + " of " + std::to_string(pageCount) + "</option>\n";
    }
    out += "</select></label>\n<label>Months <select name=\"month\">\n";
    int year = endDate.year;
    int month = endDate.month;
    // Room to spare over 9000 characters: a browser may write the markup a
    // little shorter than it arrives.
    while (out.size() < 9800) {
        char value[16];
        std::snprintf(value, sizeof value, "%d-%02d", year, month);
        out += "<option value=\"";
        out += value;
        out += "\">";
        out += kMonthNames[month - 1];
        out += " " + std::to_string(year) + "</option>\n";
        if (--month == 0) {
            month = 12;
            --year;
        }
    }
    out += "</select></label>\n</form>\n";
    out += "<p class=\"count\">Showing " + WithThousands(firstRow) + " - " +
           WithThousands(lastRow) + " of all " + WithThousands(total) + " results</p>\n";
    return out;
}

std::string RenderReportPage(const ReportView& view) {
    const int pageCount = (view.total + view.pageSize - 1) / view.pageSize;
    const int firstRow = view.rows.empty() ? 0 : (view.pageNum - 1) * view.pageSize + 1;
    const int lastRow = view.rows.empty() ? 0 : firstRow + static_cast<int>(view.rows.size()) - 1;

    std::string out = kHead;
    out += "<title>Transactions of " + HtmlEscape(view.nickname) + "</title>\n</head>\n<body>\n";
    out += "<div id=\"header\">Vendor account " + HtmlEscape(view.nickname) +
           " | <a href=\"/account/logout\">Sign out</a></div>\n";
    out += "<h2>Transactions from " + view.startDate.ToString() + " to " + view.endDate.ToString() +
           "</h2>\n";
    if (view.withCountElement) {
        out +=
            "<div id=\"divbody\">\n<style type=\"text/css\">\n"
            ".count { font-weight: bold; }\n"
            ".chooser { display: none; }\n"
            "/* the report found items */\n"
            "</style>\n";
        out += RenderCountSection(view.total, view.pageNum, pageCount, firstRow, lastRow,
                                  view.endDate);
        out += "</div>\n";
    }
    if (view.withTable) {
        out +=
            "<table id=\"line\" class=\"report\">\n<thead>\n<tr>"
            "<th>E-mail</th><th>Date</th><th>Time</th><th>Receipt</th><th>TID</th>"
            "<th>Pmt</th><th>Currency</th><th>Txn Type</th><th>Item</th><th>Amount</th>"
            "<th>Vendor</th><th>Affiliate</th><th>CC</th><th>St</th><th>Last Name</th>"
            "<th>First Name</th></tr>\n</thead>\n<tbody>\n";
        bool odd = false;
        for (const Transaction* t : view.rows) {
            AppendRow(out, *t, odd);
            odd = !odd;
        }
        out += "</tbody>\n</table>\n";
    }
    out += "<p class=\"footer\">Page " + std::to_string(view.pageNum) + "</p>\n</body>\n</html>\n";
    return out;
}

std::string RenderPlainPage(const std::string& title, const std::string& text) {
    std::string out = kHead;
    out += "<title>" + HtmlEscape(title) + "</title>\n</head>\n<body>\n<h1>" + HtmlEscape(title) +
           "</h1>\n<p>" + HtmlEscape(text) + "</p>\n</body>\n</html>\n";
    return out;
}

}  // namespace qv::marketsim
