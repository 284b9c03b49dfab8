#include "Transactions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace qv::marketsim {

namespace {

// splitmix64: small, fast and the same on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T, size_t N>
    const T& Pick(const T (&list)[N]) {
        return list[Below(N)];
    }

private:
    uint64_t m_state;
};

uint64_t Fnv1a(const std::string& text) {
    uint64_t h = 0xCBF29CE484222325ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 0x100000001B3ull;
    }
    return h;
}

// Names with apostrophes, double quotes and accented letters, as buyers type them.
const char* const kLastNames[] = {"Smith",   "O'Brien",  "Müller",   "García",      "Nguyễn",
                                  "D'Arcy",  "Johnson",  "Ångström", "Łukasiewicz", "Brown",
                                  "Lefèvre", "Kowalski", "Marshall", "Søndergaard", "Lee"};
const char* const kFirstNames[] = {"José",  "Renée",         "Seán",  "Björn", "Chloé",
                                   "Mary",  "James \"Bud\"", "Zoë",   "Anna",  "François",
                                   "Peter", "Ødegaard",      "Linda", "Éric",  "Tom"};
// E-mail boxes stay ASCII; some are written in mixed case, as people do.
const char* const kMailBoxes[] = {"jsmith",  "Mary.OBrien", "bjorn.m", "chloe77", "TomLee",
                                  "renee.d", "anna_k",      "PETER.B", "linda",   "fr.lefevre"};
const char* const kMailHosts[] = {"example.com", "mail.example.net", "Example.ORG",
                                  "post.example.de"};
const char* const kPayments[] = {"VISA", "MSTR", "AMEX", "PYPL", "DISC", "visa"};
const char* const kCountries[] = {"US", "US", "US", "CA", "GB", "DE", "FR", "BR", "AU"};
const char* const kUsStates[] = {"CA", "NY", "TX", "WA", "FL", "IL", "OR"};
const char* const kCaStates[] = {"ON", "BC", "QC"};
const char* const kAffiliates[] = {"jdoe12", "BigDeals", "promo-7", "&nbsp;", "&nbsp;"};
const char kCodeChars[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnpqrstuvwxyz23456789";

struct Currency {
    const char* code;
    const char* sign;
};
const Currency kCurrencies[] = {{"USD", "$"}, {"USD", "$"},   {"USD", "$"}, {"EUR", "€"},
                                {"GBP", "£"}, {"CAD", "CA$"}, {"AUD", "A$"}};

std::string Code(Rng& rng, int length) {
    std::string s;
    for (int i = 0; i < length; ++i)
        s += kCodeChars[rng.Below(static_cast<int>(sizeof kCodeChars) - 1)];
    return s;
}

// Built by appending: "T" + Code(...) trips a false -Wrestrict of g++ 12.
std::string TransactionId(Rng& rng) {
    std::string id = "T";
    id += Code(rng, 11);
    return id;
}

std::string Money(const char* sign, int cents, bool negative) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%s%d.%02d", negative ? "-" : "", sign, cents / 100,
                  cents % 100);
    return buffer;
}

Transaction MakeSale(Rng& rng, const std::string& nickname, CivilDate date) {
    Transaction t;
    t.date = date;
    t.secondOfDay = rng.Below(86400);
    t.kind = TxnKind::Sale;
    if (!rng.Chance(8)) {
        t.email = std::string(rng.Pick(kMailBoxes)) + std::to_string(rng.Below(100)) + "@" +
                  rng.Pick(kMailHosts);
    }
    t.receipt = Code(rng, 8);
    t.tid = TransactionId(rng);
    // A rebill of a subscription links to its family and to the first payment.
    if (rng.Chance(15))
        t.familyIds = {std::to_string(100000 + rng.Below(900000)),
                       std::to_string(100000 + rng.Below(900000))};
    t.payment = rng.Pick(kPayments);
    const Currency& currency = rng.Pick(kCurrencies);
    t.currency = currency.code;
    t.item = std::to_string(1 + rng.Below(40));
    t.amount = Money(currency.sign, 495 + rng.Below(19500), false);
    t.vendor = nickname;
    t.affiliate = rng.Pick(kAffiliates);
    t.country = rng.Pick(kCountries);
    if (t.country == "US")
        t.state = rng.Pick(kUsStates);
    else if (t.country == "CA")
        t.state = rng.Pick(kCaStates);
    else
        t.state = rng.Chance(50) ? "&nbsp;" : "";
    t.lastName = rng.Pick(kLastNames);
    t.firstName = rng.Pick(kFirstNames);
    return t;
}

// A refund or chargeback keeps its sale's receipt, buyer and item and links
// to the sale's family.
Transaction MakeReversal(Rng& rng, const Transaction& sale, TxnKind kind, CivilDate date) {
    Transaction t = sale;
    t.date = date;
    t.secondOfDay = rng.Below(86400);
    t.kind = kind;
    t.tid = TransactionId(rng);
    t.familyIds = {std::to_string(100000 + rng.Below(900000))};
    t.amount = "-" + sale.amount;
    return t;
}

Transaction MakeOther(Rng& rng, const std::string& nickname, TxnKind kind, CivilDate date) {
    Transaction t = MakeSale(rng, nickname, date);
    t.kind = kind;
    t.familyIds.clear();
    if (kind == TxnKind::Fee) {
        // Fees are the marketplace's own: no buyer, no receipt.
        t.receipt.clear();
        t.email.clear();
        t.amount = "-" + t.amount;
        t.lastName.clear();
        t.firstName.clear();
        t.affiliate = "&nbsp;";
    } else if (kind == TxnKind::Bounced) {
        t.amount = "-" + t.amount;
    }
    return t;
}

// The reader counts a row as stored when one with the same date, time,
// receipt, type, item and e-mail exists; rows equal in those would be merged,
// so a clash moves the row by a second.
void MakeUnique(std::set<std::string>& keys, Transaction& t) {
    for (int tries = 0; tries < 86400; ++tries) {
        if (keys.insert(DuplicateKey(t)).second) return;
        t.secondOfDay = (t.secondOfDay + 1) % 86400;
    }
}

std::vector<Transaction> Generate(Rng& rng, const std::string& nickname, int count,
                                  int64_t firstDay, int64_t days) {
    std::vector<Transaction> rows;
    rows.reserve(static_cast<size_t>(count));
    std::vector<size_t> sales;
    std::set<std::string> keys;
    for (int i = 0; i < count; ++i) {
        const int64_t day = firstDay + static_cast<int64_t>(i) * days / count;
        const CivilDate date = CivilDate::FromDayNumber(day);
        const int roll = rng.Below(100);
        if (roll < 7 && !sales.empty()) {
            const Transaction& sale =
                rows[sales[static_cast<size_t>(rng.Below(static_cast<int>(sales.size())))]];
            rows.push_back(
                MakeReversal(rng, sale, roll < 5 ? TxnKind::Refund : TxnKind::Chargeback, date));
        } else if (roll < 9) {
            rows.push_back(MakeOther(rng, nickname, TxnKind::Bonus, date));
        } else if (roll < 12) {
            rows.push_back(MakeOther(rng, nickname, TxnKind::Fee, date));
        } else if (roll < 13) {
            rows.push_back(MakeOther(rng, nickname, TxnKind::Bounced, date));
        } else {
            rows.push_back(MakeSale(rng, nickname, date));
            sales.push_back(rows.size() - 1);
        }
        // A reversal dated the same day as its sale must not come before it.
        if (rows.back().kind == TxnKind::Refund || rows.back().kind == TxnKind::Chargeback) {
            for (size_t s : sales) {
                if (rows[s].receipt == rows.back().receipt && rows[s].date == date &&
                    rows[s].secondOfDay > rows.back().secondOfDay)
                    rows.back().secondOfDay = std::min(86399, rows[s].secondOfDay + 60);
            }
        }
        MakeUnique(keys, rows.back());
    }
    SortNewestFirst(rows);
    return rows;
}

}  // namespace

const char* KindQueryName(TxnKind kind) {
    switch (kind) {
        case TxnKind::Sale:
            return "SALE_ARRAY";
        case TxnKind::Bonus:
            return "BONUS_ARRAY";
        case TxnKind::Refund:
            return "RFND_ARRAY";
        case TxnKind::Chargeback:
            return "CHGBACK_ARRAY";
        case TxnKind::Bounced:
            return "BOUNCED_ARRAY";
        case TxnKind::Fee:
            return "FEES_ARRAY";
    }
    return "";
}

const char* KindLabel(TxnKind kind) {
    switch (kind) {
        case TxnKind::Sale:
            return "Sale";
        case TxnKind::Bonus:
            return "Bonus";
        case TxnKind::Refund:
            return "Refund";
        case TxnKind::Chargeback:
            return "Chargeback";
        case TxnKind::Bounced:
            return "Bounced";
        case TxnKind::Fee:
            return "Fee";
    }
    return "";
}

std::string DuplicateKey(const Transaction& t) {
    std::string email = t.email;
    for (char& c : email) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string receipt = t.receipt;
    for (char& c : receipt) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return t.date.ToString() + "|" + t.TimeText() + "|" + receipt + "|" + KindLabel(t.kind) + "|" +
           t.item + "|" + email;
}

std::string Transaction::TimeText() const {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", secondOfDay / 3600,
                  secondOfDay / 60 % 60, secondOfDay % 60);
    return buffer;
}

std::vector<Transaction> GenerateTransactions(const std::string& nickname, int count,
                                              CivilDate first, CivilDate last) {
    if (count <= 0) return {};
    Rng rng(Fnv1a(nickname));
    const int64_t firstDay = first.DayNumber();
    return Generate(rng, nickname, count, firstDay, last.DayNumber() - firstDay + 1);
}

std::vector<Transaction> GenerateAddedTransactions(const std::string& nickname, int count,
                                                   CivilDate date, int sequence) {
    if (count <= 0) return {};
    Rng rng(Fnv1a(nickname + "#added#" + std::to_string(sequence)));
    return Generate(rng, nickname, count, date.DayNumber(), 1);
}

void SortNewestFirst(std::vector<Transaction>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const Transaction& a, const Transaction& b) {
        const int64_t da = a.date.DayNumber();
        const int64_t db = b.date.DayNumber();
        if (da != db) return da > db;
        return a.secondOfDay > b.secondOfDay;
    });
}

}  // namespace qv::marketsim
