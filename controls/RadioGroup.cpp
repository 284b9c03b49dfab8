#include "RadioGroup.h"

#include <algorithm>

namespace qv {

void RadioGroupMember::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    OnCheckedChanged();
}

bool RadioGroupMember::AddPartner(RadioGroupMember& partner) {
    const auto end = partners_.begin() + static_cast<std::ptrdiff_t>(count_);
    if (&partner == this || count_ == kMaxPartners ||
        std::find(partners_.begin(), end, &partner) != end) {
        return false;
    }
    partners_[count_++] = &partner;
    return true;
}

void RadioGroupMember::Claim() {
    if (checked_) return;
    SetChecked(true);
    for (std::size_t i = 0; i < count_; ++i) partners_[i]->SetChecked(false);
}

}  // namespace qv
