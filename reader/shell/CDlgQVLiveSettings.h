#pragma once
// The settings page: Run at windows startup, the time-out, the update
// check and the close choice, saved by its Save button. What Save writes
// and when it may say it saved lives in SettingsChoices; this page binds
// the drawn controls to it.

#include "CGuiGroupBox.h"
#include "CNButtonEx.h"
#include "CNCheckEx.h"
#include "CNRadioEx.h"
#include "CNStaticEx.h"
#include "CPageDialog.h"
#include "ReaderPorts.h"
#include "SettingsChoices.h"
#include "resource.h"

namespace qv {

class CDlgQVLiveSettings final : public CPageDialog {
public:
    CDlgQVLiveSettings(HINSTANCE instance, const ReaderPorts& ports)
        : CPageDialog(instance, IDD_QVLIVE_SETTINGS), ports_(ports) {}

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool PaintsWholePage() const override { return true; }
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    SettingsChoices Choices() const;
    void Show(const SettingsChoices& choices);
    void Save();

    const ReaderPorts& ports_;
    CGuiGroupBox updateGroup_;
    CGuiGroupBox exitGroup_;
    CNButtonEx save_;
    CNCheckEx update_;
    CNRadioEx exit_;
    CNRadioEx tray_;
    CGuiGroupBox generalGroup_;
    CNStaticEx timeoutLabel_;
    CNCheckEx run_;
};

}  // namespace qv
