#pragma once
// Screenshots of real windows as PNG files, for a person to look at.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qv::wine {

struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// What the screen shows inside the window's rectangle.
Capture CaptureWindow(HWND hwnd);

// How many pixels differ; -1 when the sizes differ.
int DifferingPixels(const Capture& a, const Capture& b);

// False when the file cannot be written.
bool WritePng(const Capture& capture, const std::wstring& path);

// The first top-level window with exactly this title, waiting up to timeoutMs.
HWND WaitForTopLevelWindow(const std::wstring& title, DWORD timeoutMs);

}  // namespace qv::wine
