#pragma once
// A check box drawn from a six-image glyph strip, with its text beside it.
// The checked flag turns over when the left button goes up over the box
// after the mouse was seen over it; the owner still gets BN_CLICKED.

#include "GlyphButton.h"

namespace qv {

class CNCheckEx final : public GlyphButton {
public:
    CNCheckEx() : GlyphButton(false) {}

protected:
    bool IsChecked() const override { return checked_; }
    void SetCheckedFlag(bool checked) override { checked_ = checked; }
    void OnRelease(bool hovered, Point point, const Rect& client) override;

private:
    bool checked_ = false;
};

}  // namespace qv
