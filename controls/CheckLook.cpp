#include "CheckLook.h"

namespace qv {

GlyphLayers CheckGlyphLayers(bool checked, bool hovered, bool pressed) {
    const int base = checked ? 3 : 0;
    GlyphLayers layers;
    layers.indexes[layers.count++] = base;
    if (hovered) layers.indexes[layers.count++] = base + 1;
    if (pressed) layers.indexes[layers.count++] = base + 2;
    return layers;
}

Point GlyphOrigin(int glyphWidth, int glyphHeight, int controlHeight) {
    return Point{(16 - glyphWidth) / 2, (controlHeight - glyphHeight) / 2};
}

bool CheckToggles(bool hovered, Point release, const Rect& client) {
    return hovered && client.Contains(release);
}

bool RadioClaims(bool hovered, Point release, const Rect& client, bool checked) {
    return !checked && CheckToggles(hovered, release, client);
}

}  // namespace qv
