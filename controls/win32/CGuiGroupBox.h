#pragma once
// A group box with a frame of cut corners and a caption of its own, drawn
// on a band of the caption colour (light grey unless the owner sets one).

#include <windows.h>

#include <string>

#include "ControlBase.h"
#include "WinHandles.h"

namespace qv {

class CGuiGroupBox final : public win::ControlBase {
public:
    void SetCaptionBackColour(COLORREF colour);
    const std::wstring& Caption() const { return caption_; }

protected:
    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    HFONT CaptionFont();

    std::wstring caption_;
    COLORREF captionBack_ = RGB(233, 233, 233);
    COLORREF frame_ = ::GetSysColor(COLOR_BTNSHADOW);
    win::UniqueFont font_;
};

}  // namespace qv
