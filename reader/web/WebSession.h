#pragma once
// What the scheduler asks of the web session of a check.

#include <vector>

#include "CMyObject.h"

namespace qv {

class IWebSession {
public:
    virtual ~IWebSession() = default;
    // Walks the list from its first entry; the list must stay in place until
    // StopAndSignOut.
    virtual void BeginCheck(const std::vector<CMyObject*>& checkList) = 0;
    // Ends the web side of the check and signs the last account out.
    virtual void StopAndSignOut() = 0;
};

}  // namespace qv
