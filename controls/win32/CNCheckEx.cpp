#include "CNCheckEx.h"

#include "CheckLook.h"

namespace qv {

void CNCheckEx::OnRelease(bool hovered, Point point, const Rect& client) {
    if (CheckToggles(hovered, point, client)) checked_ = !checked_;
}

}  // namespace qv
