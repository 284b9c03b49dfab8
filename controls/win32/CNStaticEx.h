#pragma once
// A static text in its own colours: text colour, a background colour or
// none (transparent), and optionally bold Verdana.

#include <windows.h>

#include "ControlBase.h"
#include "WinHandles.h"

namespace qv {

class CNStaticEx final : public win::ControlBase {
public:
    static constexpr COLORREF kTransparent = static_cast<COLORREF>(-1);

    void SetTextColour(COLORREF colour);
    // kTransparent lets the parent's background show through.
    void SetBackColour(COLORREF colour);
    void SetBold(bool bold);

    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT BoldFont();

    COLORREF text_ = RGB(0, 0, 0);
    COLORREF back_ = kTransparent;
    bool bold_ = false;
    HFONT plainFont_ = nullptr;  // the dialog's, not ours to delete
    win::UniqueFont boldFont_;
    win::UniqueBrush brush_;
};

}  // namespace qv
