#include "AccountList.h"

namespace qv {

CMyObject& AccountList::Append() {
    CMyObject* const tail = Tail();
    CMyObject& node = nodes_.emplace_back();
    node.m_pPrev = tail;
    if (tail != nullptr) tail->m_pNext = &node;
    return node;
}

}  // namespace qv
