#pragma once
// The drawn tab strip's state: the tabs' rectangles, which tab is under the
// mouse and which is selected, and what a mouse move, leave or press does
// to them. The strip's window paints what this says and posts the pick.

#include <vector>

#include "ControlGeometry.h"

namespace qv {

enum class TabImage { Normal, Hover, Selected };

struct TabDrawStep {
    int tab = 0;
    TabImage image = TabImage::Normal;
    bool operator==(const TabDrawStep&) const = default;
};

class TabStripState {
public:
    static constexpr int kNone = -1;

    void SetTabCount(int count);
    int TabCount() const { return static_cast<int>(rects_.size()); }
    void SetTabRect(int index, const Rect& rect);
    Rect TabRect(int index) const;

    int Hover() const { return hover_; }
    int Selected() const { return selected_; }

    // The first tab under the point that is not the hover tab becomes it;
    // true when the look changed. Between tabs the hover stays where it was.
    bool OnMouseMove(Point point);
    // The mouse left the strip; true when the look changed.
    bool OnMouseLeave();
    // The first tab under the point that is not selected becomes selected;
    // returns it, to be announced to the owner, or kNone when nothing
    // changed (a press on the selected tab or beside every tab).
    int OnPress(Point point);
    // The owner selects a tab; true when the selection changed. An index
    // outside the tabs is ignored.
    bool Select(int index);

    // Every tab from the last to the first with its hover or normal image,
    // then the selected tab with its selected image on top.
    std::vector<TabDrawStep> DrawOrder() const;

private:
    int TabAt(Point point, int except) const;

    std::vector<Rect> rects_;
    int hover_ = kNone;
    int selected_ = kNone;
};

}  // namespace qv
