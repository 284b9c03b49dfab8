// wineshot TITLE OUTPUT.png [SECONDS]
// Waits for a top-level window with exactly TITLE, brings it to the top and
// saves what the screen shows of it as a PNG file.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "ScreenCapture.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: wineshot TITLE OUTPUT.png [SECONDS]\n");
        return 2;
    }
    const DWORD seconds = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 30;
    HWND window = qv::wine::WaitForTopLevelWindow(argv[1], seconds * 1000);
    if (window == nullptr) {
        std::fwprintf(stderr, L"wineshot: no window titled \"%ls\"\n", argv[1]);
        return 1;
    }
    ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(1000);
    if (!qv::wine::WritePng(qv::wine::CaptureWindow(window), argv[2])) {
        std::fwprintf(stderr, L"wineshot: cannot write %ls\n", argv[2]);
        return 1;
    }
    return 0;
}
