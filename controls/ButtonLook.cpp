#include "ButtonLook.h"

namespace qv {

ButtonLayers ButtonImageLayers(bool enabled, bool hovered, bool pressed) {
    ButtonLayers layers;
    const auto add = [&layers](ButtonImage image) { layers.images[layers.count++] = image; };
    if (!enabled) {
        add(ButtonImage::Disabled);
        return layers;
    }
    add(ButtonImage::Normal);
    if (hovered) add(ButtonImage::Hover);
    if (pressed) add(ButtonImage::Pressed);
    return layers;
}

}  // namespace qv
