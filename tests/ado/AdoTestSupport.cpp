#include "AdoTestSupport.h"

#include <atomic>
#include <chrono>
#include <random>
#include <stdexcept>

#include "DatabaseMaker.h"
#include "JetConnectionString.h"
#include "TextConvert.h"

namespace qv::adotest {

namespace fs = std::filesystem;

std::wstring JetConnectionString(const fs::path& file, const std::wstring& password) {
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + JetConnectionValue(FromFsPath(file)) +
           L";Persist Security Info=true;Jet OLEDB:Database Password=" +
           JetConnectionValue(password);
}

std::wstring SqlText(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t ch : text) {
        out.push_back(ch);
        if (ch == L'\'') out.push_back(ch);
    }
    return out;
}

std::wstring DuplicateQuery(const std::wstring& table, const Row& row) {
    auto condition = [](const std::wstring& value) {
        return value.empty() ? std::wstring(L"is NULL") : L"= '" + SqlText(value) + L"'";
    };
    return L"SELECT * FROM " + table + L" WHERE Date = (#" + row.date + L"#) AND Time = (#" +
           row.time + L"#) AND Receipt " + condition(row.receipt) + L" AND [Txn Type] " +
           condition(row.txnType) + L" AND Item " + condition(row.item) + L" AND Email " +
           condition(row.email);
}

bool StoreIfNew(CADODatabase& db, const std::wstring& table, const Row& row) {
    CADORecordset rs(db);
    if (!rs.Open(db, DuplicateQuery(table, row))) return false;
    bool inserted = false;
    if (rs.IsEOF()) {
        rs.AddNew();
        rs.SetFieldValue(L"Date", row.date);
        rs.SetFieldValue(L"Time", row.time);
        rs.SetFieldValue(L"DateTime", row.date + L" " + row.time);
        rs.SetFieldValue(L"Receipt", row.receipt);
        rs.SetFieldValue(L"Txn Type", row.txnType);
        rs.SetFieldValue(L"Item", row.item);
        rs.SetFieldValue(L"Amount", row.amount);
        rs.SetFieldValue(L"Last Name", row.lastName);
        rs.SetFieldValue(L"EMail", row.email);
        rs.Update();
        inserted = true;
    }
    rs.Close();
    return inserted;
}

long CountRows(CADODatabase& db, const std::wstring& table, const std::wstring& where) {
    CADORecordset rs(db);
    rs.Open(db, L"SELECT COUNT(*) FROM " + table + (where.empty() ? L"" : L" WHERE " + where));
    const CADOValue value = rs.GetFieldValue(0);
    if (value.IsNumber()) return static_cast<long>(value.GetNumber());
    if (value.IsText()) return std::stol(value.GetText());
    throw std::runtime_error("COUNT(*) gave no number");
}

GroupDatabase::GroupDatabase(const std::wstring& password, const fs::path& folder)
    : m_password(password) {
    static std::atomic<int> serial{0};
    if (folder.empty()) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        // The clock tells this process's folders apart, the random part those
        // of processes started together.
        static const unsigned processPart = std::random_device{}();
        m_folder = fs::temp_directory_path() /
                   ("qvado-" + std::to_string(stamp) + "-" + std::to_string(processPart) + "-" +
                    std::to_string(serial++));
    } else {
        m_folder = folder;
        m_ownsFolder = false;
    }
    fs::create_directories(m_folder / "data");
    m_file = m_folder / "data" / "Shop.mdb";
    fs::remove(m_file);
    DatabaseGroup group{L"Shop.mdb", password, {{L"alice", L"s3cret"}, {L"zoë", L"pw"}}};
    MakeGroupDatabase(m_file, group);
}

GroupDatabase::~GroupDatabase() {
    std::error_code error;
    if (m_ownsFolder) fs::remove_all(m_folder, error);
}

}  // namespace qv::adotest
