#include "CNTabCtrlEx.h"

#include <windowsx.h>

#include "DrawingRoutines.h"
#include "Gdi.h"
#include "WindowMessages.h"

namespace qv {

void CNTabCtrlEx::SetTabCount() {
    state_.SetTabCount(kTabCount);
    images_.clear();
    images_.resize(kTabCount);
}

void CNTabCtrlEx::SetTabRect(int index, const Rect& rect) {
    state_.SetTabRect(index, rect);
    Invalidate();
}

void CNTabCtrlEx::SetTabBitmaps(int index, int normal, int hover, int selected) {
    if (index < 0 || index >= static_cast<int>(images_.size())) return;
    TabImages& tab = images_[static_cast<std::size_t>(index)];
    tab.normal = win::LoadBitmapResource(normal);
    tab.hover = win::LoadBitmapResource(hover);
    tab.selected = win::LoadBitmapResource(selected);
    Invalidate();
}

void CNTabCtrlEx::SetSelection(int index) {
    if (state_.Select(index)) Invalidate();
}

void CNTabCtrlEx::OnAttached() {
    // A static lets mouse messages through to its parent unless it notifies.
    const LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE);
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, style | SS_NOTIFY);
}

void CNTabCtrlEx::TakeBackground() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const win::WindowDc screen(Handle());
    background_.reset(::CreateCompatibleBitmap(screen.Dc(), client.right, client.bottom));
    const win::BitmapDc kept(background_.get());
    if (!kept) return;
    win::CopyParentBackground(Handle(), kept.Dc());
    backgroundTaken_ = true;
}

void CNTabCtrlEx::Paint(HDC dc) {
    if (!backgroundTaken_) TakeBackground();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    win::DoubleBuffer buffer(dc, client.right, client.bottom);
    if (!buffer.Ready()) return;
    const win::BitmapDc background(background_.get());
    if (background) {
        ::BitBlt(buffer.Dc(), 0, 0, client.right, client.bottom, background.Dc(), 0, 0, SRCCOPY);
    }
    for (const TabDrawStep& step : state_.DrawOrder()) {
        const TabImages& tab = images_[static_cast<std::size_t>(step.tab)];
        const HBITMAP image = step.image == TabImage::Selected ? tab.selected.get()
                              : step.image == TabImage::Hover  ? tab.hover.get()
                                                               : tab.normal.get();
        const win::BitmapDc source(image);
        if (!source) continue;
        const SIZE size = win::BitmapSize(image);
        const Rect at = state_.TabRect(step.tab);
        win::TransparentBlit(buffer.Dc(), at.left, at.top, at.Width(), at.Height(), source.Dc(), 0,
                             0, size.cx, size.cy);
    }
    buffer.CopyTo(dc);
}

LRESULT CNTabCtrlEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            if (!backgroundTaken_) TakeBackground();
            return TRUE;
        case WM_PAINT: {
            win::PaintScope paint(Handle());
            Paint(paint.Dc());
            return 0;
        }
        case WM_MOUSEMOVE: {
            if (state_.OnMouseMove(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) Invalidate();
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
            ::TrackMouseEvent(&track);
            return 0;
        }
        case WM_MOUSELEAVE:
            if (state_.OnMouseLeave()) Invalidate();
            return 0;
        case WM_LBUTTONDOWN: {
            const int picked = state_.OnPress(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (picked != TabStripState::kNone) {
                Invalidate();
                ::PostMessageW(::GetParent(Handle()), kShowPageMessage, 0, picked);
            }
            return 0;
        }
        default:
            return ControlBase::WindowProc(message, wParam, lParam);
    }
}

}  // namespace qv
