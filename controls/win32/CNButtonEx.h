#pragma once
// A push button drawn from four bitmaps (normal, hover, pressed, disabled)
// copied at its top-left. The template gives it the owner-draw style; a
// click still reaches the owner as BN_CLICKED.

#include <windows.h>

#include "ButtonLook.h"
#include "ControlBase.h"
#include "WinHandles.h"

namespace qv {

class CNButtonEx final : public win::ControlBase {
public:
    CNButtonEx() : ControlBase(true) {}

    // Loads the four bitmap resources (replacing earlier ones), keeps the
    // size and repaints; nothing is drawn before the first call.
    void SetBitmaps(int normal, int hover, int pressed, int disabled, int width, int height);
    // Sets the look, repaints with the background erased, and enables or
    // disables the window.
    void EnableButton(bool enabled);
    bool Enabled() const { return enabled_; }

    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Draw(const DRAWITEMSTRUCT& draw) const;

    win::UniqueBitmap images_[4];
    int width_ = 0;
    int height_ = 0;
    bool enabled_ = true;
    bool imageMode_ = false;
};

// Gives the button this face and sizes its window to the face, so the
// whole image shows whatever size the template's dialog units came to.
void SetButtonFace(CNButtonEx& button, const ButtonFace& face);

}  // namespace qv
