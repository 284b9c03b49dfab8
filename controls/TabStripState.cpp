#include "TabStripState.h"

namespace qv {

void TabStripState::SetTabCount(int count) {
    rects_.assign(count > 0 ? static_cast<std::size_t>(count) : 0, Rect{});
    hover_ = selected_ = kNone;
}

void TabStripState::SetTabRect(int index, const Rect& rect) {
    if (index >= 0 && index < TabCount()) rects_[static_cast<std::size_t>(index)] = rect;
}

Rect TabStripState::TabRect(int index) const {
    return index >= 0 && index < TabCount() ? rects_[static_cast<std::size_t>(index)] : Rect{};
}

int TabStripState::TabAt(Point point, int except) const {
    for (int i = 0; i < TabCount(); ++i) {
        if (i != except && rects_[static_cast<std::size_t>(i)].Contains(point)) return i;
    }
    return kNone;
}

bool TabStripState::OnMouseMove(Point point) {
    const int tab = TabAt(point, hover_);
    if (tab == kNone) return false;
    hover_ = tab;
    return true;
}

bool TabStripState::OnMouseLeave() {
    if (hover_ == kNone) return false;
    hover_ = kNone;
    return true;
}

int TabStripState::OnPress(Point point) {
    const int tab = TabAt(point, selected_);
    if (tab == kNone) return kNone;
    selected_ = tab;
    return tab;
}

bool TabStripState::Select(int index) {
    if (index < 0 || index >= TabCount() || index == selected_) return false;
    selected_ = index;
    return true;
}

std::vector<TabDrawStep> TabStripState::DrawOrder() const {
    std::vector<TabDrawStep> steps;
    for (int i = TabCount() - 1; i >= 0; --i) {
        steps.push_back({i, i == hover_ ? TabImage::Hover : TabImage::Normal});
    }
    if (selected_ != kNone) steps.push_back({selected_, TabImage::Selected});
    return steps;
}

}  // namespace qv
