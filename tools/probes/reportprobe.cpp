// reportprobe [--ca CA.pem] FILE-OR-ADDRESS
//
// Loads a saved report page (or a report address) with the browser engine
// and reads it as a check does, storing nothing. Writes, UTF-8:
//     items N pages P
// (the item count of "divbody" and the report pages it takes; -1 and -1
// without that element), then one line per row the parser reads from "line":
// the sixteen fields of a transaction record in order, separated by tabs (a
// tab or line break inside a field is written as a blank).
// Exit status: 0 read, 2 bad arguments or the page could not be loaded.

#include <optional>
#include <string>
#include <vector>

#include "EngineBrowser.h"
#include "PageLoader.h"
#include "ReportParser.h"
#include "TextConvert.h"
#include "TransactionRecord.h"

namespace {

constexpr char kProgram[] = "reportprobe";

std::wstring RowLine(const qv::TransactionRecord& record) {
    std::wstring line;
    for (std::size_t i = 0; i < qv::kRecordFieldCount; ++i) {
        if (i > 0) line += L'\t';
        for (const wchar_t c : record.Get(static_cast<qv::RecordField>(i))) {
            line += (c == L'\t' || c == L'\n' || c == L'\r') ? L' ' : c;
        }
    }
    return line + L'\n';
}

int Probe(std::vector<std::wstring>& arguments) {
    const std::wstring caFile = qv::probe::TakeCaOption(arguments);
    if (arguments.size() != 1) {
        qv::probe::Complain(kProgram, L"usage: reportprobe [--ca CA.pem] FILE-OR-ADDRESS");
        return 2;
    }
    qv::probe::PageLoader loader(caFile);
    if (const auto failure = loader.Load(arguments[0])) {
        qv::probe::Complain(kProgram, *failure);
        return 2;
    }

    // The page as a check sees it: through the browser port over the engine.
    qv::browser::EngineBrowser browser(loader.Engine());
    const std::optional<std::wstring> count = browser.InnerHtml(L"divbody");
    int items = -1;
    const int pages = qv::ReadReportItemCount(count, items);
    if (!count) qv::probe::Complain(kProgram, L"the page has no element \"divbody\"");
    std::wstring out =
        L"items " + std::to_wstring(items) + L" pages " + std::to_wstring(pages) + L"\n";

    const std::optional<std::wstring> table = browser.InnerHtml(L"line");
    if (table) {
        for (const qv::TransactionRecord& record : qv::ParseReportRows(*table)) {
            out += RowLine(record);
        }
    } else {
        qv::probe::Complain(kProgram, L"the page has no element \"line\"");
    }
    return qv::probe::WriteResult(kProgram, qv::WideToUtf8(out));
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    return qv::probe::RunProbe(kProgram, qv::probe::Arguments(argc, argv), Probe);
}
