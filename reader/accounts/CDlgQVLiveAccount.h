#pragma once
// The account page: the account tree and the check scheduler live here.

#include "CPageDialog.h"
#include "resource.h"

namespace qv {

class CDlgQVLiveAccount final : public CPageDialog {
public:
    explicit CDlgQVLiveAccount(HINSTANCE instance) : CPageDialog(instance, IDD_QVLIVE_ACCOUNT) {}
};

}  // namespace qv
