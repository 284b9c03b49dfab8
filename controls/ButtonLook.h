#pragma once
// Which images of a drawn button are painted, bottom to top: an enabled
// button shows its normal image, the hover image over it under the mouse
// and the pressed image over both while pressed; a disabled one shows its
// disabled image alone, whatever the mouse does.

#include <array>
#include <cstddef>

namespace qv {

enum class ButtonImage { Normal, Hover, Pressed, Disabled };

struct ButtonLayers {
    std::array<ButtonImage, 3> images{};
    std::size_t count = 0;
    bool operator==(const ButtonLayers&) const = default;
};

ButtonLayers ButtonImageLayers(bool enabled, bool hovered, bool pressed);

// The four bitmap resources of a drawn button and their size in pixels.
struct ButtonFace {
    int normal = 0;
    int hover = 0;
    int pressed = 0;
    int disabled = 0;
    int width = 0;
    int height = 0;
};

}  // namespace qv
