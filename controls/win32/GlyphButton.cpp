#include "GlyphButton.h"

#include <windowsx.h>

#include <string>

#include "CheckLook.h"
#include "DrawingRoutines.h"
#include "Gdi.h"

namespace qv {
namespace {

Rect ClientRect(HWND hwnd) {
    RECT r{};
    ::GetClientRect(hwnd, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void GlyphButton::SetGlyphStrip(int bitmapId) {
    strip_ = win::LoadBitmapResource(bitmapId);
    const SIZE size = win::BitmapSize(strip_.get());
    glyphWidth_ = size.cx / kGlyphCount;
    glyphHeight_ = size.cy;
    Invalidate();
}

void GlyphButton::SetCheck(bool checked) {
    SetCheckedFlag(checked);
    Invalidate();
}

void GlyphButton::OnAttached() {
    // The standard check box or radio drawing gives way to ours; the
    // button then no longer checks itself, so the flag is kept here.
    const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
    ::SetWindowLongPtrW(Handle(), GWL_STYLE,
                        (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    Invalidate();
}

LRESULT GlyphButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case BM_GETCHECK:
            return IsChecked() ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            SetCheck(wParam == BST_CHECKED);
            return 0;
        case WM_LBUTTONUP:
            OnRelease(Hovered(), Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)},
                      ClientRect(Handle()));
            break;
        case WM_KEYUP:
            // Space on a focused button clicks it; the flag must follow, as
            // it follows the mouse.
            if (wParam == VK_SPACE &&
                (::SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) {
                const Rect client = ClientRect(Handle());
                OnRelease(true, Point{client.left, client.top}, client);
            }
            break;
        default:
            break;
    }
    return ControlBase::WindowProc(message, wParam, lParam);
}

bool GlyphButton::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void GlyphButton::Draw(const DRAWITEMSTRUCT& draw) const {
    const RECT& r = draw.rcItem;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    win::DoubleBuffer buffer(draw.hDC, width, height);
    if (!buffer.Ready()) return;
    win::CopyParentBackground(Handle(), buffer.Dc());

    const win::BitmapDc strip(strip_.get());
    if (strip && glyphWidth_ > 0) {
        const Point at = GlyphOrigin(glyphWidth_, glyphHeight_, height);
        const GlyphLayers layers =
            CheckGlyphLayers(IsChecked(), Hovered(), (draw.itemState & ODS_SELECTED) != 0);
        for (std::size_t i = 0; i < layers.count; ++i) {
            const int sourceX = layers.indexes[i] * glyphWidth_;
            if (transparentGlyphs_) {
                win::TransparentBlit(buffer.Dc(), at.x, at.y, glyphWidth_, glyphHeight_, strip.Dc(),
                                     sourceX, 0, glyphWidth_, glyphHeight_);
            } else {
                ::BitBlt(buffer.Dc(), at.x, at.y, glyphWidth_, glyphHeight_, strip.Dc(), sourceX, 0,
                         SRCCOPY);
            }
        }
    }

    const std::wstring text = WindowText(Handle());
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    const win::SelectObjectScope fontSelected(
        buffer.Dc(), font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(buffer.Dc(), TRANSPARENT);
    ::SetTextColor(
        buffer.Dc(),
        ::GetSysColor((draw.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT textRect{kCheckTextLeft, 0, width, height};
    ::DrawTextW(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &textRect,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if ((draw.itemState & ODS_FOCUS) != 0 && (draw.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT measured = textRect;
        ::DrawTextW(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &measured,
                    DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        RECT focus{kCheckTextLeft - 1, (height - (measured.bottom - measured.top)) / 2 - 1,
                   kCheckTextLeft + (measured.right - measured.left) + 1,
                   (height + (measured.bottom - measured.top)) / 2 + 1};
        ::DrawFocusRect(buffer.Dc(), &focus);
    }
    buffer.CopyTo(draw.hDC, r.left, r.top);
}

}  // namespace qv
