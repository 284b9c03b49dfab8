#pragma once
// A radio button's checked flag and its partners: checking one clears the
// others of its group. Each member lists the others (at most ten).

#include <array>
#include <cstddef>

namespace qv {

class RadioGroupMember {
public:
    static constexpr std::size_t kMaxPartners = 10;

    virtual ~RadioGroupMember() = default;

    bool Checked() const { return checked_; }
    // Sets the flag alone, as an owner restoring a saved choice does; the
    // partners are left as they are.
    void SetChecked(bool checked);

    // False when the list is full or the partner is this member or listed already.
    bool AddPartner(RadioGroupMember& partner);
    std::size_t PartnerCount() const { return count_; }

    // Checks this member and clears every partner; does nothing when it is
    // checked already.
    void Claim();

protected:
    // Called after the flag changed, to repaint.
    virtual void OnCheckedChanged() {}

private:
    bool checked_ = false;
    std::array<RadioGroupMember*, kMaxPartners> partners_{};
    std::size_t count_ = 0;
};

}  // namespace qv
