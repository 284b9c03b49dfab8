#pragma once
// Painting helpers: the paint scope of WM_PAINT, the one off-screen buffer
// every window draws into, and bitmaps loaded by resource id.

#include <windows.h>

#include "WinHandles.h"

namespace qv::win {

// BeginPaint and EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(hwnd_, &paint_); }

    HDC Dc() const { return dc_; }
    const RECT& Dirty() const { return paint_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A window's DC from GetDC, released with the scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(hwnd_, dc_);
    }
    HDC Dc() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An off-screen surface compatible with a target DC. Draw into Dc(), then
// CopyTo() puts it on the target in one step, so nothing flickers.
class DoubleBuffer {
public:
    DoubleBuffer(HDC target, int width, int height);
    DoubleBuffer(const DoubleBuffer&) = delete;
    DoubleBuffer& operator=(const DoubleBuffer&) = delete;
    ~DoubleBuffer();

    // False when the surface could not be made (out of GDI resources);
    // the caller then draws nothing rather than something half-made.
    bool Ready() const { return ready_; }
    HDC Dc() const { return memory_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void CopyTo(HDC target, int x = 0, int y = 0) const;

private:
    UniqueMemoryDc memory_;
    UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
    int width_;
    int height_;
    bool ready_ = false;
};

// A bitmap resource of the running program; empty when it is missing.
UniqueBitmap LoadBitmapResource(int id);

// The bitmap's size in pixels; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);

// A memory DC with a bitmap selected for one scope: the source of a blit.
class BitmapDc {
public:
    explicit BitmapDc(HBITMAP bitmap);
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    ~BitmapDc();
    HDC Dc() const { return dc_.get(); }
    explicit operator bool() const { return old_ != nullptr; }

private:
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace qv::win
