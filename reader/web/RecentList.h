#pragma once
// The records an account imported while the program runs, newest first, at
// most kRecentListLimit of them. The import writes it on the user-interface
// thread while the data page's worker reads it, so every access takes the
// list's lock; readers work on a snapshot of shared pointers, which keeps a
// record alive while it is shown even after a newer import pushed it out.

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "TransactionRecord.h"

namespace qv {

inline constexpr std::size_t kRecentListLimit = 1000;

class RecentList {
public:
    using Record = std::shared_ptr<const TransactionRecord>;

    RecentList() = default;
    RecentList(const RecentList&) = delete;
    RecentList& operator=(const RecentList&) = delete;

    // Puts the records at the top in the order given (records[0] first) and
    // drops the oldest beyond the limit.
    void AddToFront(const std::vector<Record>& records) { AddAt(0, records); }

    // Puts the records, in the order given, at `position` from the top (a
    // position past the end appends) and drops the oldest beyond the limit.
    void AddAt(std::size_t position, const std::vector<Record>& records) {
        std::lock_guard lock(mutex_);
        position = std::min(position, records_.size());
        records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(position), records.begin(),
                        records.end());
        if (records_.size() > kRecentListLimit) records_.resize(kRecentListLimit);
    }

    // One record at `position` (the rows a page import has added before it):
    // a full list first loses its last record; a position past the end
    // appends.
    void InsertAt(std::size_t position, Record record) {
        std::lock_guard lock(mutex_);
        if (records_.size() >= kRecentListLimit) records_.resize(kRecentListLimit - 1);
        position = std::min(position, records_.size());
        records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(position),
                        std::move(record));
    }

    std::vector<Record> Snapshot() const {
        std::lock_guard lock(mutex_);
        return {records_.begin(), records_.end()};
    }

    std::size_t Size() const {
        std::lock_guard lock(mutex_);
        return records_.size();
    }

private:
    mutable std::mutex mutex_;
    std::deque<Record> records_;
};

}  // namespace qv
