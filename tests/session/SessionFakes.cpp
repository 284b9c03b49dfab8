#include "SessionFakes.h"

#include <algorithm>
#include <cwctype>

#include "ReportParser.h"

namespace qv::test {

void FakeTimers::SetTimer(std::uint32_t id, std::uint32_t periodMs,
                          std::function<void()> callback) {
    timers_[id] = {periodMs, now_ + periodMs, std::move(callback)};
}

void FakeTimers::Advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= target &&
                (next == timers_.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == timers_.end()) break;
        now_ = next->second.due;
        next->second.due += std::max<std::uint32_t>(next->second.period, 1);
        // The callback may kill or replace its own timer.
        const std::function<void()> callback = next->second.callback;
        callback();
    }
    now_ = target;
}

std::uint32_t FakeTimers::Period(std::uint32_t id) const {
    const auto found = timers_.find(id);
    return found == timers_.end() ? 0 : found->second.period;
}

std::optional<std::wstring> FakeBrowser::InnerHtml(std::wstring_view id) const {
    const auto found = elements_.find(std::wstring(id));
    if (found == elements_.end()) return std::nullopt;
    return found->second;
}

bool FakeBrowser::SetOuterHtml(std::wstring_view id, std::wstring_view markup) {
    if (!elements_.count(std::wstring(id))) return false;
    outerHtml.emplace_back(std::wstring(id), std::wstring(markup));
    return true;
}

bool FakeBrowser::Click(std::wstring_view id) {
    if (!elements_.count(std::wstring(id))) return false;
    clicks.emplace_back(id);
    if (id == L"login") pending = kSubmit;
    return true;
}

void FakeBrowser::Complete(const std::wstring& url, PageElements elements) {
    location_ = url;
    elements_ = std::move(elements);
    if (handler_) handler_(url);
}

void FakeBrowser::Fail(LoadError error) {
    const std::wstring url = pending.value_or(location_);
    pending.reset();
    if (failed_) failed_(url, error);
}

FakeMarket::FakeMarket(FakeBrowser& browser, NetworkConfig config)
    : browser_(browser), config_(std::move(config)) {}

PageElements FakeMarket::SignInPage() {
    return {{L"nick", L""}, {L"pass", L""}, {L"login", L""}};
}

PageElements FakeMarket::ReportPage(int itemCount, const std::wstring& table, bool omitCount) {
    PageElements page;
    if (!omitCount) {
        std::wstring count = std::to_wstring(itemCount);
        for (int at = static_cast<int>(count.size()) - 3; at > 0; at -= 3) count.insert(at, L",");
        page[L"divbody"] =
            L"<style>p.found { }</style><p>Your search found " + count + L" items</p>";
    }
    page[L"line"] = table.empty() ? L"<table><tbody></tbody></table>" : table;
    return page;
}

// The table with its last row repeated until it holds `rows` rows.
std::wstring FakeMarket::FilledTable(const std::wstring& table, int rows) {
    int held = 0;
    for (std::size_t at = table.find(L"<tr"); at != std::wstring::npos;
         at = table.find(L"<tr", at + 3))
        ++held;
    const std::size_t body = table.find(L"</thead>");
    if (body != std::wstring::npos) --held;  // the header row
    const std::size_t lastRow = table.rfind(L"<tr");
    const std::size_t lastEnd = table.rfind(L"</tr>");
    if (held <= 0 || held >= rows || lastRow == std::wstring::npos || lastEnd < lastRow ||
        (body != std::wstring::npos && lastRow < body))
        return table;
    const std::wstring row = table.substr(lastRow, lastEnd + 5 - lastRow);
    std::wstring filled = table.substr(0, lastEnd + 5);
    for (int i = held; i < rows; ++i) filled += row;
    return filled + table.substr(lastEnd + 5);
}

std::wstring FakeMarket::NicknameOf(const std::wstring& url) {
    const std::size_t start = url.find(L"://");
    if (start == std::wstring::npos) return {};
    const std::size_t dot = url.find(L'.', start + 3);
    return url.substr(start + 3, dot - start - 3);
}

bool FakeMarket::Serve() {
    if (!browser_.pending) return false;
    const std::wstring url = *browser_.pending;
    browser_.pending.reset();

    if (url == FakeBrowser::kSubmit) {
        const auto found = accounts.find(requestedBy);
        std::wstring nick, pass;
        for (const auto& [id, markup] : browser_.outerHtml) (id == L"nick" ? nick : pass) = markup;
        submittedPasswords.push_back(pass);
        if (found != accounts.end() && nick == NickFieldMarkup(requestedBy) &&
            pass == PassFieldMarkup(found->second.password)) {
            signedIn = requestedBy;
            browser_.Complete(lastReport_,
                              ReportPage(found->second.itemCount, L"", found->second.omitCount));
        } else {
            browser_.Complete(SignInFailureAddress(config_), SignInPage());
        }
        return true;
    }
    if (url.size() >= 15 && url.compare(url.size() - 15, 15, L"/account/logout") == 0) {
        signedIn.clear();
        browser_.Complete(SignInAddress(config_), SignInPage());
        return true;
    }
    const std::wstring nick = NicknameOf(url);
    const Account& account = accounts[nick];
    if (signedIn != nick) {
        requestedBy = nick;
        lastReport_ = url;
        browser_.Complete(SignInAddress(config_), SignInPage());
        return true;
    }
    const std::size_t marker = url.rfind(L"&pageNum=");
    const std::wstring tail = marker == std::wstring::npos ? L"" : url.substr(marker + 9);
    if (!tail.empty() &&
        std::all_of(tail.begin(), tail.end(), [](wchar_t c) { return std::iswdigit(c) != 0; })) {
        const int page = std::stoi(tail);
        const auto found = account.pageTables.find(page);
        std::wstring table = found == account.pageTables.end() ? L"" : found->second;
        if (account.fillPages) {
            const int rows =
                std::clamp(account.itemCount - (page - 1) * kReportPageSize, 0, kReportPageSize);
            table = FilledTable(table, rows);
        }
        browser_.Complete(url, ReportPage(account.itemCount, table, account.omitCount));
    } else {
        browser_.Complete(url, ReportPage(account.itemCount, L"", account.omitCount));
    }
    return true;
}

void FakeMarket::ServeAll() {
    while (Serve()) {
    }
}

void RecordingLogView::InsertLine(int position, const std::wstring& text) {
    const auto at =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(position, 0)), 0, lines.size());
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), text);
}

}  // namespace qv::test
