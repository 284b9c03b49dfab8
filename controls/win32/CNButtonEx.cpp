#include "CNButtonEx.h"

#include "ButtonLook.h"
#include "Gdi.h"

namespace qv {

void CNButtonEx::SetBitmaps(int normal, int hover, int pressed, int disabled, int width,
                            int height) {
    const int ids[] = {normal, hover, pressed, disabled};
    for (int i = 0; i < 4; ++i) images_[i] = win::LoadBitmapResource(ids[i]);
    width_ = width;
    height_ = height;
    imageMode_ = true;
    Invalidate();
}

void CNButtonEx::EnableButton(bool enabled) {
    enabled_ = enabled;
    Invalidate(true);
    if (Handle() != nullptr) ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool CNButtonEx::OnReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message != WM_DRAWITEM) return false;
    Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

void CNButtonEx::Draw(const DRAWITEMSTRUCT& draw) const {
    if (!imageMode_) return;
    const RECT& r = draw.rcItem;
    win::DoubleBuffer buffer(draw.hDC, r.right - r.left, r.bottom - r.top);
    if (!buffer.Ready()) return;
    // Whatever the images leave uncovered keeps what the button shows now.
    ::BitBlt(buffer.Dc(), 0, 0, buffer.Width(), buffer.Height(), draw.hDC, r.left, r.top, SRCCOPY);
    const ButtonLayers layers =
        ButtonImageLayers(enabled_, Hovered(), (draw.itemState & ODS_SELECTED) != 0);
    for (std::size_t i = 0; i < layers.count; ++i) {
        const win::BitmapDc image(images_[static_cast<int>(layers.images[i])].get());
        if (image) ::BitBlt(buffer.Dc(), 0, 0, width_, height_, image.Dc(), 0, 0, SRCCOPY);
    }
    buffer.CopyTo(draw.hDC, r.left, r.top);
}

void SetButtonFace(CNButtonEx& button, const ButtonFace& face) {
    button.SetBitmaps(face.normal, face.hover, face.pressed, face.disabled, face.width,
                      face.height);
    if (button.Handle() != nullptr) {
        ::SetWindowPos(button.Handle(), nullptr, 0, 0, face.width, face.height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

}  // namespace qv
