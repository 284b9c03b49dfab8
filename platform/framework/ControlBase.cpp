#include "ControlBase.h"

#include <commctrl.h>

namespace qv::win {
namespace {

// One subclass id for every drawn control; the procedure tells them apart.
constexpr UINT_PTR kSubclassId = 0x5156;  // "QV"
// The window property that leads from a control's window to its object.
constexpr wchar_t kControlProperty[] = L"QV.ControlBase";

}  // namespace

ControlBase::~ControlBase() {
    Detach();
}

bool ControlBase::Attach(HWND dialog, int id) {
    return AttachWindow(::GetDlgItem(dialog, id));
}

bool ControlBase::AttachWindow(HWND control) {
    if (control == nullptr || hwnd_ != nullptr || FromHandle(control) != nullptr) return false;
    if (!::SetWindowSubclass(control, &SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    ::SetPropW(control, kControlProperty, this);
    hwnd_ = control;
    OnAttached();
    return true;
}

void ControlBase::Detach() {
    if (hwnd_ == nullptr) return;
    ::RemoveWindowSubclass(hwnd_, &SubclassProc, kSubclassId);
    ::RemovePropW(hwnd_, kControlProperty);
    hwnd_ = nullptr;
    tracking_ = hovered_ = false;
}

void ControlBase::Invalidate(bool erase) const {
    if (hwnd_ != nullptr) ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
}

ControlBase* ControlBase::FromHandle(HWND hwnd) {
    return hwnd != nullptr ? static_cast<ControlBase*>(::GetPropW(hwnd, kControlProperty))
                           : nullptr;
}

bool ControlBase::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT ControlBase::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

void ControlBase::TrackHover(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, hwnd_, 1};
                tracking_ = ::TrackMouseEvent(&track) != FALSE;
            }
            break;
        case WM_MOUSEHOVER:
            if (!hovered_) {
                hovered_ = true;
                OnHoverChanged();
            }
            break;
        case WM_MOUSELEAVE:
            tracking_ = false;
            if (hovered_) {
                hovered_ = false;
                OnHoverChanged();
            }
            break;
        default:
            break;
    }
}

LRESULT ControlBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (trackHover_) TrackHover(message);
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK ControlBase::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<ControlBase*>(self);
    if (message == WM_NCDESTROY) {
        // The window goes before the object: let go of it, so the object's
        // destructor does not touch a dead handle.
        const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
        control->Detach();
        return result;
    }
    return control->WindowProc(message, wParam, lParam);
}

}  // namespace qv::win
