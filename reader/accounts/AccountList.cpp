#include "AccountList.h"

namespace qv {

CMyObject& AccountList::Append() {
    CMyObject& node = nodes_.emplace_back();
    node.m_pPrev = tail_;
    if (tail_ != nullptr)
        tail_->m_pNext = &node;
    else
        head_ = &node;
    tail_ = &node;
    return node;
}

AccountList& ProcessAccountList() {
    // Never destroyed: the data page's worker may still read nodes while
    // the process ends.
    static AccountList* const list = new AccountList();
    return *list;
}

}  // namespace qv
