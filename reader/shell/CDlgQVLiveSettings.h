#pragma once
// The settings page.

#include "CPageDialog.h"
#include "PagePanel.h"
#include "resource.h"

namespace qv {

class CDlgQVLiveSettings final : public CPageDialog {
public:
    explicit CDlgQVLiveSettings(HINSTANCE instance) : CPageDialog(instance, IDD_QVLIVE_SETTINGS) {}

protected:
    bool PaintsWholePage() const override { return true; }
    void PaintBackground(HDC dc, const RECT& client) override { PaintPagePanel(dc, client); }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        // Enter hides this page, as a dialog's cancel does; picking its tab
        // again shows it with the edits it had.
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            ::ShowWindow(Handle(), SW_HIDE);
            result = TRUE;
            return true;
        }
        return CPageDialog::OnMessage(message, wParam, lParam, result);
    }
};

}  // namespace qv
