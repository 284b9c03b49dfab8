#pragma once
// Owners for the raw handles of the Win32 API, so that no handle outlives
// its scope by accident and none is closed twice.

#include <windows.h>

#include <utility>

namespace qv::win {

template <typename Handle, typename Traits>
class UniqueWin {
public:
    UniqueWin() = default;
    explicit UniqueWin(Handle h) : h_(h) {}
    UniqueWin(const UniqueWin&) = delete;
    UniqueWin& operator=(const UniqueWin&) = delete;
    UniqueWin(UniqueWin&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueWin& operator=(UniqueWin&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Traits::Invalid()));
        return *this;
    }
    ~UniqueWin() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    void reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }
    Handle release() { return std::exchange(h_, Traits::Invalid()); }

private:
    Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
// One traits type for every GDI object kind, so that a bitmap owner cannot
// be handed a brush by mistake.
template <typename Object>
struct GdiTraits {
    static Object Invalid() { return nullptr; }
    static void Close(Object h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { ::DeleteDC(h); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) {
        if (::IsWindow(h)) ::DestroyWindow(h);
    }
};

using UniqueHandle = UniqueWin<HANDLE, KernelHandleTraits>;
using UniqueHkey = UniqueWin<HKEY, RegKeyTraits>;
using UniqueIcon = UniqueWin<HICON, IconTraits>;
using UniqueMenu = UniqueWin<HMENU, MenuTraits>;
using UniqueBitmap = UniqueWin<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueBrush = UniqueWin<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueFont = UniqueWin<HFONT, GdiTraits<HFONT>>;
using UniquePen = UniqueWin<HPEN, GdiTraits<HPEN>>;
using UniqueRegion = UniqueWin<HRGN, GdiTraits<HRGN>>;
using UniqueMemoryDc = UniqueWin<HDC, MemoryDcTraits>;
// A window the program created itself and must destroy (not a dialog item,
// which its dialog destroys).
using UniqueWindow = UniqueWin<HWND, WindowTraits>;

// Selects an object into a device context for one scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    ~SelectObjectScope() { ::SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace qv::win
