#include "CDlgQVLiveSettings.h"

#include "PagePanel.h"

namespace qv {

BOOL CDlgQVLiveSettings::OnInitDialog() {
    for (const wchar_t* text : kTimeoutTexts) {
        ::SendDlgItemMessageW(Handle(), IDC_TIMEOUT_LIST, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(text));
    }
    save_.Attach(Handle(), IDC_SAVE_BUTTON);
    SetButtonFace(save_, kSaveFace);
    for (auto [group, id] :
         {std::pair{&generalGroup_, IDC_GENERAL_GROUP}, std::pair{&updateGroup_, IDC_UPDATE_GROUP},
          std::pair{&exitGroup_, IDC_EXIT_GROUP}}) {
        group->Attach(Handle(), id);
        group->SetCaptionBackColour(RGB(255, 255, 255));
    }
    timeoutLabel_.Attach(Handle(), IDC_TIMEOUT_LABEL);
    for (auto [box, id] :
         {std::pair{&run_, IDC_RUN_CHECK}, std::pair{&update_, IDC_UPDATE_CHECK}}) {
        box->Attach(Handle(), id);
        box->SetGlyphStrip(IDB_CHECK_GLYPHS);
    }
    for (auto [radio, id] :
         {std::pair{&exit_, IDC_EXIT_RADIO}, std::pair{&tray_, IDC_TRAY_RADIO}}) {
        radio->Attach(Handle(), id);
        radio->SetGlyphStrip(IDB_RADIO_GLYPHS);
    }
    exit_.AddPartner(tray_);
    tray_.AddPartner(exit_);
    const SettingsChoices choices = ReadSettingsChoices(ports_.settings);
    Show(choices);
    ArmTimeout(choices, ports_.state);
    return TRUE;
}

SettingsChoices CDlgQVLiveSettings::Choices() const {
    SettingsChoices choices;
    choices.run = run_.GetCheck() ? 1 : 0;
    choices.update = update_.GetCheck() ? 1 : 0;
    choices.exitChoice = exit_.GetCheck() ? 1 : 0;
    choices.tray = tray_.GetCheck() ? 1 : 0;
    choices.timeoutIndex =
        static_cast<int>(::SendDlgItemMessageW(Handle(), IDC_TIMEOUT_LIST, CB_GETCURSEL, 0, 0));
    return choices;
}

void CDlgQVLiveSettings::Show(const SettingsChoices& choices) {
    // The values are used as read: a missing key (-1) shows checked.
    run_.SetCheck(choices.run != 0);
    update_.SetCheck(choices.update != 0);
    exit_.SetCheck(choices.exitChoice != 0);
    tray_.SetCheck(choices.tray != 0);
    ::SendDlgItemMessageW(Handle(), IDC_TIMEOUT_LIST, CB_SETCURSEL,
                          static_cast<WPARAM>(TimeoutSelection(choices.timeoutIndex)), 0);
}

void CDlgQVLiveSettings::Save() {
    const SaveOutcome outcome = SaveSettingsChoices(Choices(), ports_.settings, ports_.registry,
                                                    ports_.programPath, ports_.state);
    // After a failure the page keeps what the user chose, to save again
    // once the file may be written.
    ::MessageBoxW(Handle(), SaveOutcomeText(outcome), L"Corvane",
                  outcome == SaveOutcome::Saved ? MB_OK : MB_OK | MB_ICONWARNING);
}

void CDlgQVLiveSettings::PaintBackground(HDC dc, const RECT& client) {
    PaintPagePanel(dc, client);
}

bool CDlgQVLiveSettings::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_COMMAND) {
        SettingsChoices choices = Choices();
        switch (LOWORD(wParam)) {
            case IDOK:
                // Enter hides this page, as a dialog's cancel does; picking
                // its tab again shows it with the edits it had.
                ::ShowWindow(Handle(), SW_HIDE);
                result = TRUE;
                return true;
            case IDC_SAVE_BUTTON:
                if (HIWORD(wParam) == BN_CLICKED) Save();
                result = 0;
                return true;
            case IDC_RUN_CHECK:
                AfterRunClicked(choices);
                update_.SetCheck(choices.update != 0);
                result = 0;
                return true;
            case IDC_UPDATE_CHECK:
                AfterUpdateClicked(choices);
                run_.SetCheck(choices.run != 0);
                result = 0;
                return true;
            default:
                break;
        }
    }
    return CPageDialog::OnMessage(message, wParam, lParam, result);
}

}  // namespace qv
