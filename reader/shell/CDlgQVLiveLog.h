#pragma once
// The activity log page.

#include "CPageDialog.h"
#include "resource.h"

namespace qv {

class CDlgQVLiveLog final : public CPageDialog {
public:
    explicit CDlgQVLiveLog(HINSTANCE instance) : CPageDialog(instance, IDD_QVLIVE_LOG) {}
};

}  // namespace qv
