#pragma once
// What the drawn check box and radio button share: the switch to
// owner-draw, the six-image glyph strip, the paint over a copy of the
// parent's background, and the checked flag, which BM_GETCHECK and
// BM_SETCHECK read and set as on a standard button.

#include <windows.h>

#include "ControlBase.h"
#include "ControlGeometry.h"
#include "WinHandles.h"

namespace qv {

class GlyphButton : public win::ControlBase {
public:
    // Loads the strip; one glyph is a sixth of its width and its full height.
    void SetGlyphStrip(int bitmapId);
    int GlyphWidth() const { return glyphWidth_; }
    int GlyphHeight() const { return glyphHeight_; }

    bool GetCheck() const { return IsChecked(); }
    void SetCheck(bool checked);

    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    explicit GlyphButton(bool transparentGlyphs)
        : ControlBase(true), transparentGlyphs_(transparentGlyphs) {}

    virtual bool IsChecked() const = 0;
    virtual void SetCheckedFlag(bool checked) = 0;
    // The left button went up; decides whether the flag changes.
    virtual void OnRelease(bool hovered, Point point, const Rect& client) = 0;

    void OnAttached() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Draw(const DRAWITEMSTRUCT& draw) const;

    win::UniqueBitmap strip_;
    int glyphWidth_ = 0;
    int glyphHeight_ = 0;
    bool transparentGlyphs_;
};

}  // namespace qv
