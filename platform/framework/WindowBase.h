#pragma once
// A window of a class the program registers itself (a message-only window,
// a stand-in's main window): the class is registered once, the object lives
// in GWLP_USERDATA from WM_NCCREATE on, and one virtual handler receives
// every message; drawn children get theirs reflected first, as in a dialog.

#include <windows.h>

namespace qv::win {

struct WindowClassInfo {
    const wchar_t* name;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    // Destroys the window if it still exists; it no longer calls back.
    virtual ~WindowBase();

    // Registers the class (once per process) and creates the window;
    // false with GetLastError set when either fails.
    bool CreateWindowOf(const WindowClassInfo& windowClass, const wchar_t* title, DWORD style,
                        DWORD exStyle, int x, int y, int width, int height, HWND parent);

    HWND Handle() const { return hwnd_; }

protected:
    // The window's handler; DefWindowProc for anything it leaves.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace qv::win
