#pragma once
// The account list: every node in the order account.ini names them, each
// group directly followed by its accounts, linked through m_pPrev/m_pNext.
// The list owns its nodes and only grows, so a node's address stays valid
// for the list's whole life: a node that a reload of account.ini leaves out
// is unlinked, never freed, since a data page fill may still read it.

#include <cstddef>
#include <deque>
#include <vector>

#include "CMyObject.h"

namespace qv {

class AccountList {
public:
    AccountList() = default;
    AccountList(const AccountList&) = delete;
    AccountList& operator=(const AccountList&) = delete;

    // A new node (every field at its start value), linked in at the end.
    CMyObject& Append();

    CMyObject* Head() { return head_; }
    const CMyObject* Head() const { return head_; }
    CMyObject* Tail() { return tail_; }
    const CMyObject* Tail() const { return tail_; }
    // The nodes linked in the list.
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

    // Links exactly these nodes of this list, in this order; any other node
    // of the list stays alive, unlinked.
    void Relink(const std::vector<CMyObject*>& order);

private:
    // deque: growing at the end never moves the nodes already in it.
    std::deque<CMyObject> nodes_;
    CMyObject* head_ = nullptr;
    CMyObject* tail_ = nullptr;
    std::size_t size_ = 0;
};

}  // namespace qv
