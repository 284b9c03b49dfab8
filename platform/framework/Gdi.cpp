#include "Gdi.h"

namespace qv::win {

DoubleBuffer::DoubleBuffer(HDC target, int width, int height)
    : memory_(::CreateCompatibleDC(target)), width_(width), height_(height) {
    if (!memory_ || width <= 0 || height <= 0) return;
    bitmap_.reset(::CreateCompatibleBitmap(target, width, height));
    if (!bitmap_) return;
    old_ = ::SelectObject(memory_.get(), bitmap_.get());
    ready_ = true;
}

DoubleBuffer::~DoubleBuffer() {
    // The bitmap must leave the DC before either is deleted.
    if (old_ != nullptr) ::SelectObject(memory_.get(), old_);
}

void DoubleBuffer::CopyTo(HDC target, int x, int y) const {
    if (ready_) ::BitBlt(target, x, y, width_, height_, memory_.get(), 0, 0, SRCCOPY);
}

UniqueBitmap LoadBitmapResource(int id) {
    return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

BitmapDc::BitmapDc(HBITMAP bitmap) : dc_(::CreateCompatibleDC(nullptr)) {
    if (dc_ && bitmap != nullptr) old_ = ::SelectObject(dc_.get(), bitmap);
}

BitmapDc::~BitmapDc() {
    if (old_ != nullptr) ::SelectObject(dc_.get(), old_);
}

}  // namespace qv::win
