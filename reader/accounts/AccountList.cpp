#include "AccountList.h"

namespace qv {

CMyObject& AccountList::Append() {
    CMyObject& node = nodes_.emplace_back();
    node.m_pPrev = tail_;
    if (tail_ != nullptr) tail_->m_pNext = &node;
    if (head_ == nullptr) head_ = &node;
    tail_ = &node;
    ++size_;
    return node;
}

void AccountList::Relink(const std::vector<CMyObject*>& order) {
    for (CMyObject& node : nodes_) node.m_pPrev = node.m_pNext = nullptr;
    CMyObject* previous = nullptr;
    for (CMyObject* node : order) {
        node->m_pPrev = previous;
        if (previous != nullptr) previous->m_pNext = node;
        previous = node;
    }
    head_ = order.empty() ? nullptr : order.front();
    tail_ = previous;
    size_ = order.size();
}

}  // namespace qv
