#include "MouseInput.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace qv::wine {
namespace {

bool Send(DWORD flags, POINT screen) {
    // Absolute coordinates run from 0 to 65535 over the primary screen.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + height / 2) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return ::SendInput(1, &input, sizeof(input)) == 1;
}

void Settle() {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

}  // namespace

bool MoveMouseTo(POINT screen) {
    POINT now{};
    // Now and then the display has not taken the move yet when the pointer
    // is read back (it reads 0,0); the move is then given again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!Send(0, screen)) return false;
        Settle();
        ::GetCursorPos(&now);
        if (now.x != screen.x || now.y != screen.y) {
            // The scale to 0..65535 can land a pixel off; a relative move of
            // the difference is hardware input as well.
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dx = screen.x - now.x;
            input.mi.dy = screen.y - now.y;
            input.mi.dwFlags = MOUSEEVENTF_MOVE;
            ::SendInput(1, &input, sizeof(input));
            Settle();
            ::GetCursorPos(&now);
        }
        if (now.x == screen.x && now.y == screen.y) return true;
    }
    std::fprintf(stderr, "pointer at %ld,%ld instead of %ld,%ld\n", now.x, now.y, screen.x,
                 screen.y);
    return false;
}

bool PressAt(POINT screen) {
    if (!MoveMouseTo(screen) || !Send(MOUSEEVENTF_LEFTDOWN, screen)) return false;
    Settle();
    return true;
}

bool ReleaseAt(POINT screen) {
    if (!MoveMouseTo(screen) || !Send(MOUSEEVENTF_LEFTUP, screen)) return false;
    Settle();
    return true;
}

bool ClickAt(POINT screen) {
    return PressAt(screen) && ReleaseAt(screen);
}

POINT ClientToScreenPoint(HWND hwnd, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(hwnd, &point);
    return point;
}

void BringToTop(HWND hwnd) {
    ::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetForegroundWindow(hwnd);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

}  // namespace qv::wine
