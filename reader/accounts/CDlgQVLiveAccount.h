#pragma once
// The account page: the account tree, the Now and Auto buttons, the
// time-period list and the check scheduler behind them. The objects of a
// check (ReaderCheck) live here; the page only forwards its controls'
// events to the scheduler and shows what the scheduler asks for.

#include <optional>

#include "CMyTreeCtrl.h"
#include "CNButtonEx.h"
#include "CNStaticEx.h"
#include "CPageDialog.h"
#include "ReaderCheck.h"
#include "Win32WindowTimers.h"
#include "WinHandles.h"
#include "resource.h"

namespace qv {

class CQVLiveDlg;

class CDlgQVLiveAccount final : public CPageDialog, private ICheckSchedulerView {
public:
    CDlgQVLiveAccount(HINSTANCE instance, CQVLiveDlg& main);
    ~CDlgQVLiveAccount() override;

    // The scheduler's FinishRun, for the browser page when the check is done.
    void FinishRun();
    // Null before the page's initialisation.
    ReaderCheck* Check() { return check_ ? &*check_ : nullptr; }
    // The tree's selected node; null when none is selected.
    CMyObject* GetSelectedNode() const { return tree_.GetSelectedNode(); }

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    bool PaintsWholePage() const override { return true; }
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    // ICheckSchedulerView
    void SelectInterval(int index) override;
    void SetNowFace(NowFace face) override;
    void EnableNow(bool enabled) override;
    void SetAutoFace(AutoFace face) override;
    void ShowLogPage() override;
    void StartTrayAnimation() override;
    void StopTrayAnimation() override;

    bool OnCommand(WORD id, WORD code);

    CQVLiveDlg& main_;
    CMyTreeCtrl tree_;
    CNButtonEx now_;
    CNButtonEx auto_;
    CNStaticEx label_;
    win::Win32WindowTimers timers_;
    win::UniqueBitmap stripLeft_;
    win::UniqueBitmap stripMiddle_;
    win::UniqueBitmap stripRight_;
    std::optional<ReaderCheck> check_;
};

}  // namespace qv
