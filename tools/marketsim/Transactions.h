#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CivilDate.h"

namespace qv::marketsim {

// The report's transaction kinds, named as the query's "type=..._ARRAY" values.
enum class TxnKind { Sale, Bonus, Refund, Chargeback, Bounced, Fee };

// The query word of a kind, for example "SALE_ARRAY".
const char* KindQueryName(TxnKind kind);
// The text of the report's type cell, for example "Sale".
const char* KindLabel(TxnKind kind);

// One report row. Texts are UTF-8 as the page shows them (before escaping).
struct Transaction {
    CivilDate date;
    int secondOfDay = 0;
    std::string email;    // empty: the row's mail link has no address
    std::string receipt;  // empty: the receipt cell is empty
    std::string tid;
    std::vector<std::string> familyIds;  // 0, 1 or 2 family-link cells
    std::string payment;
    std::string currency;
    TxnKind kind = TxnKind::Sale;
    std::string item;
    std::string amount;  // with the currency's sign, "-" for money going back
    std::string vendor;
    std::string affiliate;  // "&nbsp;" is written unescaped: the cell shows a non-breaking space
    std::string country;
    std::string state;  // same rule as affiliate
    std::string lastName;
    std::string firstName;

    std::string TimeText() const;  // "HH:MM:SS"
};

// Deterministic rows of one account: the same nickname, count and span always
// give the same rows. Spread over first..last, newest first.
std::vector<Transaction> GenerateTransactions(const std::string& nickname, int count,
                                              CivilDate first, CivilDate last);

// Rows added while the simulator runs, all dated `date`; `sequence` counts the
// rows added to the account before, so later additions never repeat earlier ones.
std::vector<Transaction> GenerateAddedTransactions(const std::string& nickname, int count,
                                                   CivilDate date, int sequence);

// What the reader compares to tell a stored row (date, time, receipt in upper
// case, type, item, e-mail in lower case); rows of one account never share it.
std::string DuplicateKey(const Transaction& t);

// Orders newest first: by date, then time, both descending; stable for equal times.
void SortNewestFirst(std::vector<Transaction>& rows);

}  // namespace qv::marketsim
