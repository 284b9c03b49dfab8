#include "DialogBase.h"

#include "MessageReflection.h"

namespace qv::win {

DialogBase::~DialogBase() {
    // A modeless page may still exist when its owner object goes first;
    // the window must not call back into a dead object.
    if (modeless_ && hwnd_ != nullptr && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        ::DestroyWindow(hwnd_);
    }
}

INT_PTR DialogBase::DoModal(HWND owner) {
    return ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId_), owner, &DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

bool DialogBase::Create(HWND parent) {
    modeless_ = true;
    return ::CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId_), parent, &DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool DialogBase::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

void DialogBase::PaintBackground(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogBase* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        return self->OnInitDialog();
    }
    self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG

    INT_PTR result = TRUE;
    LRESULT reflected = 0;
    bool handled = false;
    if (ReflectToChild(hwnd, message, wParam, lParam, reflected)) {
        result = reflected;
        handled = true;
    } else if (message == WM_PRINTCLIENT) {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        self->PaintBackground(reinterpret_cast<HDC>(wParam), client);
        result = 0;
        handled = true;
    } else {
        handled = self->OnMessage(message, wParam, lParam, result);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    if (!handled) return FALSE;
    // A dialog procedure hands a message's own result back through DWLP_MSGRESULT;
    // the few messages that return it directly are passed through as they are.
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return result;
        default:
            ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

}  // namespace qv::win
