#pragma once
// A radio button drawn from a six-image glyph strip with magenta as the
// transparent colour. Released over itself while unchecked, it checks
// itself and clears its partners (AddPartner, at most ten).

#include "GlyphButton.h"
#include "RadioGroup.h"

namespace qv {

class CNRadioEx final : public GlyphButton, public RadioGroupMember {
public:
    CNRadioEx() : GlyphButton(true) {}

protected:
    bool IsChecked() const override { return Checked(); }
    void SetCheckedFlag(bool checked) override { SetChecked(checked); }
    void OnRelease(bool hovered, Point point, const Rect& client) override;
    void OnCheckedChanged() override { Invalidate(); }
};

}  // namespace qv
