#pragma once
// The data page: the list of the transactions imported lately.

#include "CPageDialog.h"
#include "resource.h"

namespace qv {

class CDlgQVLiveData final : public CPageDialog {
public:
    explicit CDlgQVLiveData(HINSTANCE instance) : CPageDialog(instance, IDD_QVLIVE_DATA) {}
};

}  // namespace qv
