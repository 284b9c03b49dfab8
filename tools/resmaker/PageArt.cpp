#include "PageArt.h"

#include <algorithm>
#include <vector>

#include "Palette.h"
#include "PixelFont.h"

namespace qv::res {
namespace {

// The key of the tree's image list: BMP bytes 00 00 01.
constexpr Pixel kTreeKey{1, 0, 0};

struct ButtonColors {
    Color edge, top, bottom, text, textShade;
    double gloss;
    int drop;  // the label's shift down when pressed
};

ButtonColors ColorsOf(ButtonTone tone, ButtonLook look) {
    const Color darkBlue = Rgb(0x0F3566, 0.6);
    const Color darkOrange = Rgb(0x6E3A00, 0.8);
    if (look == ButtonLook::kDisabled) {
        return {Rgb(0xB4B4B4),
                Rgb(0xF0F0F0),
                Rgb(0xD4D4D4),
                Rgb(0x9A9A9A),
                Rgb(0xFFFFFF, 0.8),
                0.35,
                0};
    }
    if (tone == ButtonTone::kBlue) {
        switch (look) {
            case ButtonLook::kHover:
                return {Rgb(0x1D548F), Rgb(0x6CA6EA), Rgb(0x2F72C6), kWhite, darkBlue, 0.50, 0};
            case ButtonLook::kPressed:
                return {Rgb(0x103665), Rgb(0x1A4F90), Rgb(0x2C69B4), kWhite, darkBlue, 0.12, 1};
            default:
                return {kTileEdge, Rgb(0x4C8AD6), kTileBlue, kWhite, darkBlue, 0.45, 0};
        }
    }
    switch (look) {
        case ButtonLook::kHover:
            return {Rgb(0xB8730C), Rgb(0xFFCB73), Rgb(0xF59E1B), kWhite, darkOrange, 0.50, 0};
        case ButtonLook::kPressed:
            return {Rgb(0x93560A), Rgb(0xCF7A08), Rgb(0xE8931A), kWhite, darkOrange, 0.12, 1};
        default:
            return {Rgb(0xA9650A), Rgb(0xF9B550), Rgb(0xE3880C), kWhite, darkOrange, 0.45, 0};
    }
}

Image OnKey(const Canvas& canvas, const Shape& opaque) {
    return Flatten(canvas, opaque, kMagenta);
}

// A symbol of the given width followed by a label, centred together.
Image SymbolAndLabel(int width, int height, int symbolWidth, const std::string& label,
                     Color textColor, const std::vector<std::pair<Shape, Color>>& symbol) {
    constexpr int kGap = 2;
    const int left = (width - (symbolWidth + kGap + TextWidth(label))) / 2;
    Canvas canvas(width, height);
    canvas.Fill(Rect(0, 0, width, height), kWhite);  // the tree's background
    Shape opaque = Rect(0, 0, 0, 0);
    for (const auto& [shape, color] : symbol) {
        const Shape placed = Moved(shape, left, 0);
        canvas.Fill(placed, color);
        opaque = Either(opaque, placed);
    }
    const Shape text = TextShape(label, left + symbolWidth + kGap, (height - kCapHeight) / 2);
    canvas.Fill(text, textColor);
    return OnKey(canvas, Either(opaque, text));
}

Shape Tick(double left, double top, double size, double halfWidth) {
    const double x0 = left, y0 = top + size * 0.55;
    const double x1 = left + size * 0.38, y1 = top + size * 0.9;
    const double x2 = left + size, y2 = top + size * 0.1;
    return Either(Stroke(x0, y0, x1, y1, halfWidth), Stroke(x1, y1, x2, y2, halfWidth));
}

// A pixel-exact frame: the ring between outer and the rectangle one pixel in.
Shape Frame(int left, int top, int right, int bottom) {
    return Without(Rect(left, top, right, bottom), Rect(left + 1, top + 1, right - 1, bottom - 1));
}

}  // namespace

Image DrawButton(int width, int height, const std::string& label, ButtonTone tone, ButtonLook look,
                 Color backdrop) {
    const ButtonColors colors = ColorsOf(tone, look);
    constexpr double kMargin = 2;
    const double bottom = height - kMargin - 1;  // one row for the shadow
    const double radius = (bottom - kMargin) / 2;
    Canvas canvas(width, height);
    canvas.Fill(Rect(0, 0, width, height), backdrop);
    const Shape outline = RoundRect(kMargin, kMargin, width - kMargin, bottom, radius);
    const Shape face =
        RoundRect(kMargin + 1, kMargin + 1, width - kMargin - 1, bottom - 1, radius - 1);
    if (look != ButtonLook::kPressed) {
        canvas.Fill(Moved(outline, 0, 1), Mix(backdrop, kBlack, 0.16));
    }
    canvas.Fill(outline, colors.edge);
    canvas.Fill(face, VerticalGradient(kMargin + 1, colors.top, bottom - 1, colors.bottom));
    const double middle = (kMargin + bottom) / 2;
    const Shape gloss = RoundRect(kMargin + 3, kMargin + 1.5, width - kMargin - 3, middle + 1,
                                  std::min(radius - 2, (middle - kMargin) / 2 + 1));
    canvas.Fill(Both(face, gloss), VerticalGradient(kMargin + 1, Rgb(0xFFFFFF, colors.gloss),
                                                    middle, Rgb(0xFFFFFF, colors.gloss / 4)));

    // A label too long for one line, with room to spare at the round ends,
    // breaks at its first space.
    const TextStyle bold{true};
    std::vector<std::string> lines = {label};
    const std::size_t space = label.find(' ');
    if (TextWidth(label, bold) > width - 2 * kMargin - 16 && space != std::string::npos) {
        lines = {label.substr(0, space), label.substr(space + 1)};
    }
    constexpr int kLineGap = 3;
    const int block = static_cast<int>(lines.size()) * (kCapHeight + kLineGap) - kLineGap;
    int top =
        static_cast<int>(kMargin) + (static_cast<int>(bottom - kMargin) - block) / 2 + colors.drop;
    for (const std::string& line : lines) {
        const int left = (width - TextWidth(line, bold)) / 2;
        canvas.Fill(TextShape(line, left, top + 1, bold), colors.textShade);
        canvas.Fill(TextShape(line, left, top, bold), colors.text);
        top += kCapHeight + kLineGap;
    }
    return Flatten(canvas);
}

Image DrawCheckGlyphs() {
    constexpr int kCell = 12;
    const Color frames[] = {Rgb(0x8D96A3), kTileBlue, kTileEdge};
    const Color tops[] = {kWhite, Rgb(0xF4F8FD), Rgb(0xB3C8E4)};
    const Color bottoms[] = {Rgb(0xE6E9ED), Rgb(0xD3E2F4), Rgb(0xCCDBEE)};
    Canvas canvas(kCell * 6, kCell);
    canvas.Fill(Rect(0, 0, kCell * 6, kCell), kWhite);
    for (int k = 0; k < 6; ++k) {
        const int state = k % 3;
        const double x = k * kCell;
        canvas.Fill(RoundRect(x, 0, x + kCell, kCell, 2), frames[state]);
        canvas.Fill(RoundRect(x + 1, 1, x + kCell - 1, kCell - 1, 1),
                    VerticalGradient(1, tops[state], kCell - 1, bottoms[state]));
        if (k >= 3) canvas.Fill(Tick(x + 2.6, 2.8, 6.8, 1.0), Rgb(0x17395F));
    }
    return Flatten(canvas);
}

Image DrawRadioGlyphs() {
    constexpr int kCell = 12;
    const Color frames[] = {Rgb(0x8D96A3), kTileBlue, kTileEdge};
    const Color tops[] = {kWhite, Rgb(0xF4F8FD), Rgb(0xB3C8E4)};
    const Color bottoms[] = {Rgb(0xE6E9ED), Rgb(0xD3E2F4), Rgb(0xCCDBEE)};
    Canvas canvas(kCell * 6, kCell);
    canvas.Fill(Rect(0, 0, kCell * 6, kCell), kWhite);  // the panel behind the edges
    Shape circles = Rect(0, 0, 0, 0);
    for (int k = 0; k < 6; ++k) {
        const int state = k % 3;
        const double cx = k * kCell + kCell / 2.0;
        const double cy = kCell / 2.0;
        const Shape circle = Disc(cx, cy, kCell / 2.0);
        circles = Either(circles, circle);
        canvas.Fill(circle, frames[state]);
        canvas.Fill(Disc(cx, cy, kCell / 2.0 - 1),
                    VerticalGradient(1, tops[state], kCell - 1, bottoms[state]));
        if (k >= 3) {
            canvas.Fill(Disc(cx, cy, 2.7),
                        VerticalGradient(cy - 2.7, Rgb(0x3C7CCB), cy + 2.7, Rgb(0x143F75)));
        }
    }
    return OnKey(canvas, circles);
}

Image DrawTreeGroup() {
    Canvas canvas(16, 16);
    canvas.Fill(Rect(0, 0, 16, 16), kWhite);
    const Shape lines =
        Either(Rect(7, 6, 8, 8),
               Either(Rect(2, 8, 13, 9), Either(Rect(2, 9, 3, 10), Rect(12, 9, 13, 10))));
    canvas.Fill(lines, kLineGrey);
    struct Box {
        int left, top;
        Color fill;
    };
    const Box boxes[] = {{5, 1, kOrange}, {0, 10, Rgb(0xCFE0F4)}, {10, 10, Rgb(0xCFE0F4)}};
    Shape opaque = lines;
    for (const Box& box : boxes) {
        canvas.Fill(Rect(box.left, box.top, box.left + 5, box.top + 5), box.fill);
        canvas.Fill(Frame(box.left, box.top, box.left + 5, box.top + 5), kTileEdge);
        opaque = Either(opaque, Rect(box.left, box.top, box.left + 5, box.top + 5));
    }
    return Flatten(canvas, opaque, kTreeKey);
}

Image DrawTreeAccount() {
    Canvas canvas(16, 16);
    canvas.Fill(Rect(0, 0, 16, 16), kWhite);
    const Shape head = Disc(8, 5, 3.4);
    const Shape shoulders = Without(Both(Disc(8, 17, 7.2), Rect(0, 0, 16, 15)), Disc(8, 5, 4.6));
    const Paint blue = VerticalGradient(1, Rgb(0x4D8EDB), 15, kTileEdge);
    canvas.Fill(head, blue);
    canvas.Fill(shoulders, blue);
    canvas.Fill(Disc(7, 4, 1.2), Rgb(0xFFFFFF, 0.45));
    return Flatten(canvas, Either(head, shoulders), kTreeKey);
}

Image DrawTreeOn() {
    return SymbolAndLabel(30, 12, 10, "ON", Rgb(0x1E7B2E), {{Tick(1, 2, 8.5, 1.3), Rgb(0x2E9E3E)}});
}

Image DrawTreeOff() {
    return SymbolAndLabel(30, 12, 10, "OFF", Rgb(0xB0281F),
                          {{Disc(5, 6, 4.9), kExitRed}, {Rect(2, 5, 8, 7), kWhite}});
}

Image DrawTreeDataLink() {
    const Shape page = Polygon({0, 0, 6, 0, 9, 3, 9, 12, 0, 12});
    const Shape inside = Polygon({1, 1, 5.6, 1, 8, 3.4, 8, 11, 1, 11});
    const Shape fold = Polygon({5.5, 0.5, 5.5, 3.5, 8.5, 3.5});
    const Shape lines = Either(Rect(2, 5, 7, 6), Either(Rect(2, 7, 7, 8), Rect(2, 9, 6, 10)));
    return SymbolAndLabel(
        43, 12, 9, "Data", kLabelBlue,
        {{page, kLineGrey}, {inside, kWhite}, {fold, Rgb(0xC9D3DF)}, {lines, kTileBlue}});
}

Image DrawTreeExpander() {
    Canvas canvas(18, 9);
    canvas.Fill(Rect(0, 0, 18, 9), kWhite);
    canvas.Fill(Frame(0, 0, 9, 9), Rgb(0x7A7A7A));
    canvas.Fill(Frame(9, 0, 18, 9), Rgb(0x7A7A7A));
    canvas.Fill(Either(Rect(2, 4, 7, 5), Rect(4, 2, 5, 7)), kBlack);
    canvas.Fill(Rect(11, 4, 16, 5), kBlack);
    return Flatten(canvas);
}

Image DrawAccountStrip(StripPiece piece) {
    // Drawn whole at its narrowest, then cut: left end, tiled column, right end.
    constexpr int kLeft = 6;
    constexpr int kRight = 145;
    constexpr int kWidth = kLeft + 1 + kRight;
    constexpr int kHeight = 83;
    Canvas canvas(kWidth, kHeight);
    canvas.Fill(Rect(0, 0, kWidth, kHeight), kBodyGrey);
    canvas.Fill(RoundRect(0, 0, kWidth, kHeight, 6), kPanelFrame);
    // Flat where the buttons stand, greying only along the bottom edge.
    canvas.Fill(RoundRect(1, 1, kWidth - 1, kHeight - 1, 5),
                VerticalGradient(kHeight - 14, kStripFace, kHeight - 1, Rgb(0xEDEDED)));
    const Image strip = Flatten(canvas);
    switch (piece) {
        case StripPiece::kLeft:
            return strip.Crop(0, 0, kLeft, kHeight);
        case StripPiece::kMiddle:
            return strip.Crop(kLeft, 0, 1, kHeight);
        case StripPiece::kRight:
            return strip.Crop(kLeft + 1, 0, kRight, kHeight);
    }
    return strip;
}

}  // namespace qv::res
