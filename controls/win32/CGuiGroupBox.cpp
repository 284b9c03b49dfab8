#include "CGuiGroupBox.h"

#include "Gdi.h"
#include "GroupBoxGeometry.h"

namespace qv {

void CGuiGroupBox::SetCaptionBackColour(COLORREF colour) {
    captionBack_ = colour;
    Invalidate();
}

void CGuiGroupBox::OnAttached() {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()))));
    caption_ = text;
    // The platform must not draw a caption of its own under ours.
    Default(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    Invalidate(true);
}

HFONT CGuiGroupBox::CaptionFont() {
    if (!font_) {
        font_.reset(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  VARIABLE_PITCH | FF_SWISS, L"Verdana"));
    }
    return font_.get();
}

void CGuiGroupBox::Paint(HDC dc) {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    const Rect client{r.left, r.top, r.right, r.bottom};

    const win::SelectObjectScope fontSelected(dc, CaptionFont());
    SIZE text{};
    ::GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    const GroupBoxLayout layout = LayOutGroupBox(client, text.cx, text.cy);

    win::UniquePen pen(::CreatePen(PS_SOLID, 1, frame_));
    {
        win::SelectObjectScope selected(dc, pen.get());
        POINT points[9];
        for (std::size_t i = 0; i < layout.frame.size(); ++i) {
            points[i] = POINT{layout.frame[i].x, layout.frame[i].y};
        }
        ::Polyline(dc, points, 9);
    }

    // The caption band covers the frame line behind it.
    RECT band{layout.caption.left, layout.caption.top, layout.caption.right, layout.caption.bottom};
    win::UniqueBrush back(::CreateSolidBrush(captionBack_));
    ::FillRect(dc, &band, back.get());
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    ::SetTextColor(dc, RGB((GetRValue(highlight) + 10) % 256, (GetGValue(highlight) + 10) % 256,
                           (GetBValue(highlight) + 10) % 256));
    ::SetBkMode(dc, TRANSPARENT);
    ::ExtTextOutW(dc, band.left, band.top, ETO_CLIPPED, &band, caption_.c_str(),
                  static_cast<UINT>(caption_.size()), nullptr);
}

LRESULT CGuiGroupBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            win::PaintScope paint(Handle());
            Paint(paint.Dc());
            return 0;
        }
        case WM_ERASEBKGND:
            return TRUE;  // the inside shows the parent's background
        case WM_SYSCOLORCHANGE:
            captionBack_ = ::GetSysColor(COLOR_BTNFACE);
            frame_ = ::GetSysColor(COLOR_BTNSHADOW);
            Invalidate();
            break;
        case WM_SETTEXT:
            // Keeps the caption ours: the platform would paint the new text.
            if (lParam != 0) {
                caption_ = reinterpret_cast<const wchar_t*>(lParam);
                Invalidate();
                return TRUE;
            }
            break;
        default:
            break;
    }
    return ControlBase::WindowProc(message, wParam, lParam);
}

}  // namespace qv
