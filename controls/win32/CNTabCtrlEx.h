#pragma once
// A tab strip drawn from bitmaps over a static placeholder: each tab has a
// normal, a hover and a selected image with magenta as the transparent
// colour, painted over a snapshot of the parent's background. A press on
// a tab that is not selected selects it and posts kShowPageMessage to the
// parent with the tab's index in lParam.

#include <windows.h>

#include <vector>

#include "ControlBase.h"
#include "TabStripState.h"
#include "WinHandles.h"

namespace qv {

class CNTabCtrlEx final : public win::ControlBase {
public:
    static constexpr int kTabCount = 4;

    // Four tabs, with empty rectangles and no images yet.
    void SetTabCount();
    void SetTabRect(int index, const Rect& rect);
    void SetTabBitmaps(int index, int normal, int hover, int selected);
    // Selects a tab for the owner (no message); repaints when it changed.
    void SetSelection(int index);
    int Selection() const { return state_.Selected(); }
    int HoverTab() const { return state_.Hover(); }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct TabImages {
        win::UniqueBitmap normal;
        win::UniqueBitmap hover;
        win::UniqueBitmap selected;
    };

    void TakeBackground();
    void Paint(HDC dc);

    TabStripState state_;
    std::vector<TabImages> images_;
    win::UniqueBitmap background_;
    bool backgroundTaken_ = false;
};

}  // namespace qv
