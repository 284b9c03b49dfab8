#include "CNRadioEx.h"

#include "CheckLook.h"

namespace qv {

void CNRadioEx::OnRelease(bool hovered, Point point, const Rect& client) {
    if (RadioClaims(hovered, point, client, Checked())) Claim();
}

}  // namespace qv
