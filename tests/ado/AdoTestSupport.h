#pragma once
// A group database made as the sibling stand-in makes it, in a folder of its
// own, and rows written the way the transaction store writes them.

#include <filesystem>
#include <string>

#include "ADODatabase.h"
#include "AccountDescription.h"

namespace qv::adotest {

struct Row {
    std::wstring date = L"03/07/2009";
    std::wstring time = L"10:15:30";
    std::wstring receipt = L"R1";
    std::wstring txnType = L"Sale";
    std::wstring item = L"12";
    std::wstring email = L"buyer@example.com";
    std::wstring amount = L"$47.00";
    std::wstring lastName = L"SMITH";
};

std::wstring JetConnectionString(const std::filesystem::path& file, const std::wstring& password);

// Doubles single quotes, as the store does before putting text into SQL.
std::wstring SqlText(const std::wstring& text);

// The store's duplicate query for the row.
std::wstring DuplicateQuery(const std::wstring& table, const Row& row);

// The store's duplicate test and insertion; true when a row was added.
bool StoreIfNew(CADODatabase& db, const std::wstring& table, const Row& row);

// SELECT COUNT(*) through the layer.
long CountRows(CADODatabase& db, const std::wstring& table, const std::wstring& where = L"");

// A fresh folder with data/Shop.mdb holding the tables alice and "zoë".
class GroupDatabase {
public:
    explicit GroupDatabase(const std::wstring& password, const std::filesystem::path& folder = {});
    ~GroupDatabase();
    GroupDatabase(const GroupDatabase&) = delete;
    GroupDatabase& operator=(const GroupDatabase&) = delete;

    const std::filesystem::path& File() const { return m_file; }
    std::wstring ConnectionString() const { return JetConnectionString(m_file, m_password); }

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_file;
    std::wstring m_password;
    bool m_ownsFolder = true;
};

}  // namespace qv::adotest
