// The record's fixed-width fields and the recent list that holds imported
// records for the data page.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "RecentList.h"
#include "TransactionRecord.h"

namespace qv {
namespace {

struct WidthCase {
    RecordField field;
    std::size_t width;
    const wchar_t* column;
};

class FieldWidths : public testing::TestWithParam<WidthCase> {};

TEST_P(FieldWidths, HoldWidthLessOneCharacters) {
    const WidthCase& c = GetParam();
    EXPECT_EQ(TransactionRecord::Width(c.field), c.width);
    EXPECT_STREQ(TransactionRecord::ColumnName(c.field), c.column);

    std::wstring text;
    for (std::size_t i = 0; i < c.width + 5; ++i)
        text.push_back(static_cast<wchar_t>(L'a' + i % 26));

    TransactionRecord record;
    record.Set(c.field, text.substr(0, c.width - 1));
    EXPECT_EQ(record.Get(c.field), text.substr(0, c.width - 1));
    record.Set(c.field, text);
    EXPECT_EQ(record.Get(c.field), text.substr(0, c.width - 1));

    // A full field never spills into its neighbours.
    for (std::size_t f = 0; f < kRecordFieldCount; ++f) {
        const auto other = static_cast<RecordField>(f);
        if (other != c.field) {
            EXPECT_TRUE(record.IsEmpty(other)) << "field " << f;
        }
    }
    // A shorter text replaces all of the longer one.
    record.Set(c.field, L"x");
    EXPECT_EQ(record.Get(c.field), L"x");
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, FieldWidths,
                         testing::Values(WidthCase{RecordField::EMail, 64, L"EMail"},
                                         WidthCase{RecordField::Date, 16, L"Date"},
                                         WidthCase{RecordField::Time, 16, L"Time"},
                                         WidthCase{RecordField::Receipt, 16, L"Receipt"},
                                         WidthCase{RecordField::Tid, 32, L"TID"},
                                         WidthCase{RecordField::PaymentMethod, 16, L"Pmt"},
                                         WidthCase{RecordField::Currency, 8, L"Currency"},
                                         WidthCase{RecordField::TxnType, 16, L"Txn Type"},
                                         WidthCase{RecordField::Item, 16, L"Item"},
                                         WidthCase{RecordField::Amount, 16, L"Amount"},
                                         WidthCase{RecordField::Vendor, 32, L"Vendor"},
                                         WidthCase{RecordField::Affiliate, 12, L"Affiliate"},
                                         WidthCase{RecordField::Cc, 8, L"CC"},
                                         WidthCase{RecordField::State, 32, L"St"},
                                         WidthCase{RecordField::LastName, 32, L"Last Name"},
                                         WidthCase{RecordField::FirstName, 32, L"First Name"}));

TEST(TransactionRecord, NewRecordIsEmpty) {
    const TransactionRecord record;
    for (std::size_t f = 0; f < kRecordFieldCount; ++f)
        EXPECT_TRUE(record.Get(static_cast<RecordField>(f)).empty());
}

TEST(TransactionRecord, CutNeverLeavesHalfACharacter) {
    // Seven characters fit CC; the eighth, beyond the BMP, would be cut in
    // two where wchar_t is a UTF-16 unit.
    TransactionRecord record;
    record.Set(RecordField::Cc, L"abcdef\U0001F600");
    if constexpr (sizeof(wchar_t) == 2) {
        EXPECT_EQ(record.Get(RecordField::Cc), L"abcdef");
    } else {
        EXPECT_EQ(record.Get(RecordField::Cc), L"abcdef\U0001F600");
    }
    record.Set(RecordField::Cc, L"abcde\U0001F600");
    EXPECT_EQ(record.Get(RecordField::Cc), L"abcde\U0001F600");
}

// --- Recent list ---------------------------------------------------------------

RecentList::Record Numbered(int n) {
    auto record = std::make_shared<TransactionRecord>();
    record->Set(RecordField::Receipt, std::to_wstring(n));
    return record;
}

std::wstring ReceiptAt(const std::vector<RecentList::Record>& records, std::size_t i) {
    return records.at(i)->GetString(RecordField::Receipt);
}

TEST(RecentList, PageRowsGoOnTopInPageOrder) {
    RecentList list;
    list.AddToFront({Numbered(1), Numbered(2)});
    // The next page, row by row as the import adds them.
    list.InsertAt(0, Numbered(3));
    list.InsertAt(1, Numbered(4));
    const auto records = list.Snapshot();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(ReceiptAt(records, 0), L"3");
    EXPECT_EQ(ReceiptAt(records, 1), L"4");
    EXPECT_EQ(ReceiptAt(records, 2), L"1");
    EXPECT_EQ(ReceiptAt(records, 3), L"2");
}

TEST(RecentList, TheThousandAndFirstPushesOutTheOldest) {
    RecentList list;
    std::vector<RecentList::Record> page;
    for (int i = 0; i < 1000; ++i) page.push_back(Numbered(i));
    list.AddToFront(page);
    const auto before = list.Snapshot();
    ASSERT_EQ(before.size(), 1000u);

    list.InsertAt(0, Numbered(5000));
    const auto after = list.Snapshot();
    ASSERT_EQ(after.size(), 1000u);
    EXPECT_EQ(ReceiptAt(after, 0), L"5000");
    EXPECT_EQ(ReceiptAt(after, 1), L"0");
    EXPECT_EQ(ReceiptAt(after, 999), L"998");

    // A page insertion past a full list's end appends instead of failing.
    list.InsertAt(1000, Numbered(6000));
    EXPECT_EQ(list.Size(), 1000u);
    EXPECT_EQ(ReceiptAt(list.Snapshot(), 999), L"6000");

    // The record pushed out is still whole for whoever holds a snapshot.
    EXPECT_EQ(ReceiptAt(before, 999), L"999");
}

TEST(RecentList, BatchBeyondTheLimitKeepsItsFirstThousand) {
    RecentList list;
    list.AddToFront({Numbered(-1)});
    std::vector<RecentList::Record> page;
    for (int i = 0; i < 1200; ++i) page.push_back(Numbered(i));
    list.AddToFront(page);
    const auto records = list.Snapshot();
    ASSERT_EQ(records.size(), 1000u);
    EXPECT_EQ(ReceiptAt(records, 0), L"0");
    EXPECT_EQ(ReceiptAt(records, 999), L"999");
}

// The data page's worker reads while an import writes; with the sanitizers
// an unguarded list shows up here.
TEST(RecentList, SnapshotsWhileAnImportWrites) {
    RecentList list;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done.load()) {
            for (const auto& record : list.Snapshot())
                ASSERT_FALSE(record->IsEmpty(RecordField::Receipt));
        }
    });
    for (int i = 0; i < 3000; ++i) list.InsertAt(static_cast<std::size_t>(i % 7), Numbered(i));
    done = true;
    reader.join();
    EXPECT_EQ(list.Size(), 1000u);
}

}  // namespace
}  // namespace qv
