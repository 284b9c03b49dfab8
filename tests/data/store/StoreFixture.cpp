#include "StoreFixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "DatabaseMaker.h"
#include "TextConvert.h"

namespace qv::test {

TransactionRecord SampleRecord(int n) {
    TransactionRecord r;
    r.Set(RecordField::EMail, L"buyer" + std::to_wstring(n) + L"@example.com");
    r.Set(RecordField::Date, L"03/05/2009");
    r.Set(RecordField::Time, L"10:15:" + std::wstring(n % 60 < 10 ? L"0" : L"") +
                                 std::to_wstring(n % 60));
    r.Set(RecordField::Receipt, L"RCPT" + std::to_wstring(n));
    r.Set(RecordField::Tid, L"TID" + std::to_wstring(n));
    r.Set(RecordField::PaymentMethod, L"VISA");
    r.Set(RecordField::Currency, L"USD");
    r.Set(RecordField::TxnType, L"Sale");
    r.Set(RecordField::Item, L"item" + std::to_wstring(n % 7));
    r.Set(RecordField::Amount, L"19.95");
    r.Set(RecordField::Vendor, L"ACME");
    r.Set(RecordField::Affiliate, L"NONE");
    r.Set(RecordField::Cc, L"US");
    r.Set(RecordField::State, L"CA");
    r.Set(RecordField::LastName, L"DOE");
    r.Set(RecordField::FirstName, L"JANE");
    return r;
}

std::wstring ReportRowHtml(const TransactionRecord& r) {
    std::wstring row = L"<tr><td><center><a href=\"mailto:" + r.GetString(RecordField::EMail) +
                       L"\">" + r.GetString(RecordField::EMail) + L"</a></center></td>";
    for (const RecordField f :
         {RecordField::Date, RecordField::Time, RecordField::Receipt, RecordField::Tid,
          RecordField::PaymentMethod, RecordField::Currency, RecordField::TxnType,
          RecordField::Item, RecordField::Amount, RecordField::Vendor, RecordField::Affiliate,
          RecordField::Cc, RecordField::State, RecordField::LastName, RecordField::FirstName}) {
        row += L"<td>" + r.GetString(f) + L"</td>";
    }
    return row + L"</tr>\n";
}

std::wstring ReportTableHtml(const std::vector<TransactionRecord>& records) {
    std::wstring html = L"<table><thead><tr><th>E-mail</th><th>Date</th></tr></thead><tbody>\n";
    for (const auto& r : records) html += ReportRowHtml(r);
    return html + L"</tbody></table>";
}

void StoreFixture::SetUp() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qvstore-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::filesystem::create_directory(folder_ / "data");
    programFolder_ = folder_.wstring() + L"/";
}

void StoreFixture::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void StoreFixture::MakeDatabase(const std::vector<std::wstring>& nicknames,
                                const std::wstring& file, const std::wstring& password) {
    DatabaseGroup group;
    group.databaseFile = file;
    group.databasePassword = password;
    for (const auto& nick : nicknames) group.accounts.push_back({nick, L"web password"});
    MakeGroupDatabase(folder_ / "data" / file, group);
}

std::unique_ptr<CADODatabase> StoreFixture::Open() const {
    auto db = std::make_unique<CADODatabase>();
    EXPECT_TRUE(OpenAccountDatabase(*db, Where()));
    return db;
}

std::vector<std::vector<CADOValue>> StoreFixture::Rows(const std::wstring& nickname) const {
    auto db = Open();
    std::vector<std::vector<CADOValue>> rows;
    const int columns = static_cast<int>(AccountTableColumns().size());
    // The layer gives the reader one row per statement, so walk the table by
    // its row number, which the database fills in the order rows are written.
    double lastId = 0;
    for (;;) {
        CADORecordset rs(*db);
        EXPECT_TRUE(rs.Open(*db, L"SELECT TOP 1 * FROM [" + nickname + L"] WHERE ID > " +
                                     std::to_wstring(static_cast<long long>(lastId)) +
                                     L" ORDER BY ID"));
        if (rs.IsEOF()) break;
        std::vector<CADOValue> row;
        for (int c = 0; c < columns; ++c) row.push_back(rs.GetFieldValue(c));
        lastId = row[0].GetNumber();
        rows.push_back(std::move(row));
    }
    return rows;
}

int StoreFixture::Column(const std::wstring& name) {
    const auto columns = AccountTableColumns();
    const auto found = std::find(columns.begin(), columns.end(), name);
    EXPECT_NE(found, columns.end()) << WideToUtf8(name);
    return static_cast<int>(found - columns.begin());
}

}  // namespace qv::test
