// Times the import of one report page into a table that already holds
// 100 000 rows: parsing a page of 1000 rows, storing 1000 new rows, and
// reading the same 1000 rows again (every one found stored). Prints one line
// per figure, "NAME: MILLISECONDS ms".
//
//     import_bench [WORK-FOLDER]
//
// The database is made by the sibling stand-in's maker in WORK-FOLDER/data
// (a fresh temporary folder without the argument, removed afterwards).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ADODatabase.h"
#include "CivilDays.h"
#include "DatabaseMaker.h"
#include "RecentList.h"
#include "ReportParser.h"
#include "Stopwatch.h"
#include "TextConvert.h"
#include "TransactionRecord.h"
#include "TransactionStore.h"

namespace {

namespace fs = std::filesystem;
using qv::RecordField;

constexpr int kStoredRows = 100000;
constexpr int kPageRows = 1000;
constexpr wchar_t kNick[] = L"benchvendor";
constexpr wchar_t kFile[] = L"Bench.mdb";
constexpr wchar_t kPassword[] = L"bench pass";

std::wstring Two(int v) {
    return (v < 10 ? L"0" : L"") + std::to_wstring(v);
}

// Row n of a long sales history: a thousand rows a day, one a second.
qv::TransactionRecord Row(int n) {
    // From 2008-03-19 on, a thousand rows a day.
    const qv::CivilDay date = qv::CivilFromDays(qv::DaysFromCivil(2008, 3, 19) + n / kPageRows);
    const int year = date.year, month = date.month, day = date.day;
    const int second = n % kPageRows;

    qv::TransactionRecord r;
    r.Set(RecordField::EMail, L"buyer" + std::to_wstring(n % 5000) + L"@example.com");
    r.Set(RecordField::Date, Two(month) + L"/" + Two(day) + L"/" + std::to_wstring(year));
    r.Set(RecordField::Time,
          Two(8 + second / 3600) + L":" + Two(second / 60 % 60) + L":" + Two(second % 60));
    r.Set(RecordField::Receipt, L"R" + std::to_wstring(n));
    r.Set(RecordField::Tid, L"T" + std::to_wstring(n));
    r.Set(RecordField::PaymentMethod, L"VISA");
    r.Set(RecordField::Currency, L"USD");
    r.Set(RecordField::TxnType, n % 10 == 0 ? L"Rfnd" : L"Sale");
    r.Set(RecordField::Item, L"item" + std::to_wstring(n % 40));
    r.Set(RecordField::Amount, L"19.95");
    r.Set(RecordField::Vendor, L"BENCHVENDOR");
    r.Set(RecordField::Affiliate, L"NONE");
    r.Set(RecordField::Cc, L"US");
    r.Set(RecordField::State, L"CA");
    r.Set(RecordField::LastName, L"DOE");
    r.Set(RecordField::FirstName, L"JANE");
    return r;
}

// The inner HTML of the report table for rows [first, first + count).
std::wstring PageHtml(int first, int count) {
    std::wstring html = L"<table><thead><tr><th>Customer</th><th>Date</th></tr></thead><tbody>";
    for (int n = first; n < first + count; ++n) {
        const qv::TransactionRecord r = Row(n);
        html += L"<tr><td><CENTER><A HREF=\"mailto:" + r.GetString(RecordField::EMail) + L"\">" +
                r.GetString(RecordField::EMail) + L"</A></CENTER></td>";
        for (const RecordField f :
             {RecordField::Date, RecordField::Time, RecordField::Receipt, RecordField::Tid,
              RecordField::PaymentMethod, RecordField::Currency, RecordField::TxnType,
              RecordField::Item, RecordField::Amount, RecordField::Vendor, RecordField::Affiliate,
              RecordField::Cc, RecordField::State, RecordField::LastName, RecordField::FirstName}) {
            html += L"\n  <td class=\"cell\">" + r.GetString(f) + L"</td>";
        }
        html += L"</tr>\n";
    }
    return html + L"</tbody></table>";
}

// Imports one page inside its transaction; the number of rows inserted.
int ImportPage(const qv::AccountDatabase& where, const std::wstring& html, qv::RecentList& recent) {
    qv::PageImport import(where, kNick);
    if (!import.IsOpen()) throw std::runtime_error("the bench database did not open");
    const int inserted = qv::ImportReportPage(html, import);
    import.Commit(recent);
    return inserted;
}

using qv::tools::Milliseconds;

// A new folder under the temporary one, or an empty path.
fs::path FreshTemporaryFolder() {
    std::random_device random;
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("import_bench-" + std::to_string(random()));
        if (fs::create_directory(candidate, error)) return candidate;
    }
    return {};
}

void Report(const char* name, double ms) {
    std::printf("%s: %.1f ms\n", name, ms);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path folder;
    bool temporary = false;
    if (argc > 1) {
        folder = argv[1];
    } else {
        folder = FreshTemporaryFolder();
        if (folder.empty()) {
            std::fputs("import_bench: cannot make a temporary folder\n", stderr);
            return 1;
        }
        temporary = true;
    }

    int status = 0;
    try {
        const qv::AccountDatabase where{qv::FromFsPath(folder) + L"/", kFile, kPassword};
        const fs::path file = qv::ToFsPath(qv::AccountDatabasePath(where));
        fs::create_directories(file.parent_path());
        fs::remove(file);
        qv::DatabaseGroup group;
        group.databaseFile = kFile;
        group.databasePassword = kPassword;
        group.accounts.push_back({kNick, L"web password"});
        qv::MakeGroupDatabase(file, group);

        qv::RecentList recent;
        for (int first = 0; first < kStoredRows; first += kPageRows) {
            if (ImportPage(where, PageHtml(first, kPageRows), recent) != kPageRows) {
                throw std::runtime_error("filling the table stored fewer rows than given");
            }
        }

        const std::wstring page = PageHtml(kStoredRows, kPageRows);
        std::size_t parsed = 0;
        Report("parse", Milliseconds([&] { parsed = qv::ParseReportRows(page).size(); }));
        if (parsed != static_cast<std::size_t>(kPageRows)) {
            throw std::runtime_error("the page did not parse into 1000 rows");
        }

        int inserted = 0;
        Report("import-new", Milliseconds([&] { inserted = ImportPage(where, page, recent); }));
        if (inserted != kPageRows) throw std::runtime_error("not every new row was stored");

        Report("import-again", Milliseconds([&] { inserted = ImportPage(where, page, recent); }));
        if (inserted != 0) throw std::runtime_error("rows already stored were stored again");
    } catch (const qv::CADOException& e) {
        std::fprintf(stderr, "import_bench: database: %s\n",
                     qv::WideToUtf8(e.GetErrorMessage()).c_str());
        status = 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "import_bench: %s\n", e.what());
        status = 1;
    }
    if (temporary) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    return status;
}
