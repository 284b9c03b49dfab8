#pragma once
// A program folder of its own for each test, with a group database made by
// the sibling stand-in's maker, and small helpers to build report rows and
// look at what the store wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ADODatabase.h"
#include "TransactionRecord.h"
#include "TransactionStore.h"

namespace qv::test {

inline constexpr wchar_t kGroupFile[] = L"Shop.mdb";
inline constexpr wchar_t kGroupPassword[] = L"s3cret pass";

// A report row with every field set; tests change the fields they are about.
TransactionRecord SampleRecord(int n = 0);

// One <tr> of the report table as the marketplace serves it.
std::wstring ReportRowHtml(const TransactionRecord& record);
std::wstring ReportTableHtml(const std::vector<TransactionRecord>& records);

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes data/<file> with one table per nickname.
    void MakeDatabase(const std::vector<std::wstring>& nicknames,
                      const std::wstring& file = kGroupFile,
                      const std::wstring& password = kGroupPassword);

    AccountDatabase Where(const std::wstring& file = kGroupFile,
                          const std::wstring& password = kGroupPassword) const {
        return {programFolder_, file, password};
    }

    // An open connection to the group database.
    std::unique_ptr<CADODatabase> Open() const;

    // Every row of the table, each as its column values.
    std::vector<std::vector<CADOValue>> Rows(const std::wstring& nickname) const;
    // Position of a column in the table, as the maker lays it out.
    static int Column(const std::wstring& name);

    std::filesystem::path folder_;
    std::wstring programFolder_;  // with its trailing separator
};

}  // namespace qv::test
