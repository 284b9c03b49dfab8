#include "WindowBase.h"

#include "MessageReflection.h"

namespace qv::win {

WindowBase::~WindowBase() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool WindowBase::CreateWindowOf(const WindowClassInfo& windowClass, const wchar_t* title,
                                DWORD style, DWORD exStyle, int x, int y, int width, int height,
                                HWND parent) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, windowClass.name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = instance;
        wc.hIcon = windowClass.icon;
        wc.hCursor = windowClass.cursor;
        wc.hbrBackground = windowClass.background;
        wc.lpszClassName = windowClass.name;
        if (::RegisterClassExW(&wc) == 0) return false;
    }
    return ::CreateWindowExW(exStyle, windowClass.name, title, style, x, y, width, height, parent,
                             nullptr, instance, this) != nullptr;
}

LRESULT WindowBase::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    if (ReflectToChild(hwnd, message, wParam, lParam, result)) return result;
    result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace qv::win
