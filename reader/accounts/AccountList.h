#pragma once
// The account list: every node in the order account.ini names them, each
// group directly followed by its accounts, linked through m_pPrev/m_pNext.
// The list owns its nodes and only grows, so a node's address stays valid
// for the list's whole life.

#include <cstddef>
#include <deque>

#include "CMyObject.h"

namespace qv {

class AccountList {
public:
    AccountList() = default;
    AccountList(const AccountList&) = delete;
    AccountList& operator=(const AccountList&) = delete;

    // A new node (every field at its start value), linked in at the end.
    CMyObject& Append();

    CMyObject* Head() { return nodes_.empty() ? nullptr : &nodes_.front(); }
    const CMyObject* Head() const { return nodes_.empty() ? nullptr : &nodes_.front(); }
    CMyObject* Tail() { return nodes_.empty() ? nullptr : &nodes_.back(); }
    const CMyObject* Tail() const { return nodes_.empty() ? nullptr : &nodes_.back(); }
    std::size_t Size() const { return nodes_.size(); }
    bool Empty() const { return nodes_.empty(); }

private:
    // deque: growing at the end never moves the nodes already in it.
    std::deque<CMyObject> nodes_;
};

}  // namespace qv
