#pragma once
// The hidden browser page that runs the web session of a check.

#include "CPageDialog.h"
#include "resource.h"

namespace qv {

class CQVLiveDlg;

class CDlgQVLiveWeb final : public CPageDialog {
public:
    explicit CDlgQVLiveWeb(HINSTANCE instance) : CPageDialog(instance, IDD_QVLIVE_WEB) {}

    void SetMainWindow(CQVLiveDlg* main) { main_ = main; }

private:
    CQVLiveDlg* main_ = nullptr;
};

}  // namespace qv
