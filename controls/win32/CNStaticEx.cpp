#include "CNStaticEx.h"

namespace qv {

void CNStaticEx::SetTextColour(COLORREF colour) {
    text_ = colour;
    Invalidate(true);
}

void CNStaticEx::SetBackColour(COLORREF colour) {
    back_ = colour;
    brush_.reset(back_ == kTransparent ? nullptr : ::CreateSolidBrush(back_));
    Invalidate(true);
}

void CNStaticEx::SetBold(bool bold) {
    if (bold == bold_ || Handle() == nullptr) return;
    if (bold) {
        plainFont_ = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    }
    bold_ = bold;
    // The static selects its own font after asking for its colours, so the
    // bold face is given to it as its font.
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(bold ? BoldFont() : plainFont_),
                   TRUE);
}

HFONT CNStaticEx::BoldFont() {
    if (!boldFont_) {
        LOGFONTW font{};
        const auto current = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
        if (current == nullptr || ::GetObjectW(current, sizeof(font), &font) == 0) {
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        }
        font.lfHeight = 15;
        font.lfWidth = 0;
        font.lfWeight = FW_BOLD;
        wcscpy_s(font.lfFaceName, L"Verdana");
        boldFont_.reset(::CreateFontIndirectW(&font));
    }
    return boldFont_.get();
}

bool CNStaticEx::OnReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    const auto dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, text_);
    if (back_ == kTransparent) {
        ::SetBkMode(dc, TRANSPARENT);
        result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    } else {
        ::SetBkColor(dc, back_);
        result = reinterpret_cast<LRESULT>(brush_.get());
    }
    return true;
}

LRESULT CNStaticEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        // A transparent text is drawn over what the parent shows; a press
        // has the parent repaint there first, so nothing old shows through.
        const HWND parent = ::GetParent(Handle());
        RECT area{};
        ::GetWindowRect(Handle(), &area);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        ::InvalidateRect(parent, &area, TRUE);
        ::UpdateWindow(parent);
    }
    return ControlBase::WindowProc(message, wParam, lParam);
}

}  // namespace qv
