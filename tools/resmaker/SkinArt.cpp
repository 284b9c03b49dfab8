#include "SkinArt.h"

#include <cmath>

#include "Palette.h"
#include "PixelFont.h"

namespace qv::res {
namespace {

constexpr int kTitleHeight = 36;  // rows of the dark title band

const Color kTitleTop = Rgb(0x2A6BB8);
const Color kTitleBottom = Rgb(0x1C5396);
const Color kTitleRule = Rgb(0x15417A);
const Color kStripTop = Rgb(0xC9D7E8);
const Color kTitleOutline = Rgb(0x123A6B);
const Color kBodyOutline = Rgb(0x8A9199);
const Color kBottomShade = Rgb(0xD8DCE1);

// The skin is cut from one small window drawn whole: two borders and one
// tiled column or row between them, so the pieces meet without seams.
constexpr int kModelWidth = kBorderWidth + 1 + kBorderWidth;
constexpr int kModelHeight = kTopBandHeight + 1 + kBottomBandHeight;
constexpr double kCornerRadius = 6;

Color ModelRow(int y) {
    if (y < kTopBandHeight) return TopBandRow(y);
    const int bottomRow = y - (kTopBandHeight + 1);
    if (bottomRow < 15) return kBodyGrey;
    return Mix(kBodyGrey, kBottomShade, (bottomRow - 15) / 13.0);
}

Color OutlineRow(int y) {
    return y <= kTitleHeight ? kTitleOutline : kBodyOutline;
}

Paint ByRow(Color (*row)(int)) {
    return [row](double, double y) { return row(static_cast<int>(std::floor(y))); };
}

// The rounded outline's outside: per row from the outer edge, how many
// pixels the window's region leaves out (a circle of radius 6).
constexpr int kCornerCut[] = {4, 2, 1, 1};

Image DrawModel() {
    Canvas canvas(kModelWidth, kModelHeight);
    const Shape all = Rect(0, 0, kModelWidth, kModelHeight);
    canvas.Fill(all, ByRow(ModelRow));
    // A glint along the title band's top, inside the outline.
    canvas.Fill(Rect(0, 1, kModelWidth, 2), Rgb(0xFFFFFF, 0.18));
    // Everything outside the inner rounded rectangle is outline, so no
    // corner pixel beside the cut-out blends towards what lies behind.
    canvas.Fill(Without(all, RoundRect(1, 1, kModelWidth - 1, kModelHeight - 1, kCornerRadius - 1)),
                ByRow(OutlineRow));
    Image model = Flatten(canvas);
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < kCornerCut[row]; ++x) {
            const int right = kModelWidth - 1 - x;
            const int bottom = kModelHeight - 1 - row;
            model.At(x, row) = kMagenta;
            model.At(right, row) = kMagenta;
            model.At(x, bottom) = kMagenta;
            model.At(right, bottom) = kMagenta;
        }
    }
    return model;
}

// A paint that mixes the top band's colour behind (left, top) with color.
Paint OverBand(int top, Color color, double share) {
    return [=](double, double y) {
        return Mix(TopBandRow(top + static_cast<int>(std::floor(y))), color, share);
    };
}

}  // namespace

Color TopBandRow(int y) {
    if (y < kTitleHeight) return Mix(kTitleTop, kTitleBottom, y / (kTitleHeight - 1.0));
    if (y == kTitleHeight) return kTitleRule;
    // Below the title the band lightens to the body's grey, with a soft
    // shadow under the rule.
    const double t = (y - (kTitleHeight + 1)) / (kTopBandHeight - 1.0 - (kTitleHeight + 1));
    Color color = Mix(kStripTop, kBodyGrey, std::min(t, 1.0));
    if (y == kTitleHeight + 1) color = Mix(color, kTitleRule, 0.35);
    if (y == kTitleHeight + 2) color = Mix(color, kTitleRule, 0.15);
    return color;
}

Image DrawSkin(SkinPiece piece) {
    const Image model = DrawModel();
    constexpr int kRight = kBorderWidth + 1;
    constexpr int kBottom = kTopBandHeight + 1;
    switch (piece) {
        case SkinPiece::kTopLeft:
            return model.Crop(0, 0, kBorderWidth, kTopBandHeight);
        case SkinPiece::kTop:
            return model.Crop(kBorderWidth, 0, 1, kTopBandHeight);
        case SkinPiece::kTopRight:
            return model.Crop(kRight, 0, kBorderWidth, kTopBandHeight);
        case SkinPiece::kLeft:
            return model.Crop(0, kTopBandHeight, kBorderWidth, 1);
        case SkinPiece::kRight:
            return model.Crop(kRight, kTopBandHeight, kBorderWidth, 1);
        case SkinPiece::kBottomLeft:
            return model.Crop(0, kBottom, kBorderWidth, kBottomBandHeight);
        case SkinPiece::kBottom:
            return model.Crop(kBorderWidth, kBottom, 1, kBottomBandHeight);
        case SkinPiece::kBottomRight:
            return model.Crop(kRight, kBottom, kBorderWidth, kBottomBandHeight);
    }
    return model;
}

Image DrawCloseButton(bool hover) {
    constexpr int kWidth = 26;
    constexpr int kHeight = 25;
    Canvas canvas(kWidth, kHeight);
    canvas.Fill(Rect(0, 0, kWidth, kHeight), OverBand(kCloseTop, kWhite, 0.0));
    const Shape frame = RoundRect(1, 1, kWidth - 1, kHeight - 1, 5);
    const Shape face = RoundRect(2, 2, kWidth - 2, kHeight - 2, 4);
    if (hover) {
        canvas.Fill(frame, kExitEdge);
        canvas.Fill(face, VerticalGradient(2, Rgb(0xE5584C), kHeight - 2, Rgb(0xBE2C22)));
        canvas.Fill(Both(face, Rect(0, 0, kWidth, kHeight / 2)),
                    VerticalGradient(2, Rgb(0xFFFFFF, 0.30), kHeight / 2, Rgb(0xFFFFFF, 0.08)));
    } else {
        canvas.Fill(frame, OverBand(kCloseTop, kWhite, 0.28));
        canvas.Fill(face, OverBand(kCloseTop, kWhite, 0.10));
    }
    const double c = kWidth / 2.0;
    const double m = kHeight / 2.0;
    const Shape cross = Either(Stroke(c - 4.5, m - 4.5, c + 4.5, m + 4.5, 1.25),
                               Stroke(c + 4.5, m - 4.5, c - 4.5, m + 4.5, 1.25));
    if (hover) canvas.Fill(Moved(cross, 0, 1), Rgb(0x7A1810, 0.45));
    canvas.Fill(cross, kWhite);
    return Flatten(canvas);
}

Image DrawTab(const std::string& label, TabLook look) {
    constexpr int kWidth = 93;
    constexpr int kHeight = 29;
    constexpr double kRadius = 6;
    struct Colors {
        Color frame, top, bottom, text;
        double gloss;
    };
    Colors colors{};
    switch (look) {
        case TabLook::kNormal:
            colors = {Rgb(0x2C5C9A), Rgb(0x6A9AD3), Rgb(0x3D74B9), kWhite, 0.22};
            break;
        case TabLook::kHover:
            colors = {Rgb(0x3A6AA8), Rgb(0x9CC1EA), Rgb(0x5E90CF), kWhite, 0.30};
            break;
        case TabLook::kSelected:
            // Ends in the colour of the band below it, so it joins the body.
            colors = {kPanelFrame, kWhite, TopBandRow(kTabTop + kHeight), kLabelBlue, 0.0};
            break;
    }

    Canvas canvas(kWidth, kHeight);
    canvas.Fill(Rect(0, 0, kWidth, kHeight), OverBand(kTabTop, kWhite, 0.0));
    // The bottom corners lie below the picture: only the top ones are round.
    const Shape outline = RoundRect(0, 0, kWidth, kHeight + 2 * kRadius, kRadius);
    const Shape face = RoundRect(1, 1, kWidth - 1, kHeight + 2 * kRadius, kRadius - 1);
    canvas.Fill(outline, colors.frame);
    canvas.Fill(face, VerticalGradient(1, colors.top, kHeight - 0.5, colors.bottom));
    if (colors.gloss > 0) {
        canvas.Fill(Both(face, Rect(0, 0, kWidth, kHeight / 2)),
                    VerticalGradient(1, Rgb(0xFFFFFF, colors.gloss), kHeight / 2,
                                     Rgb(0xFFFFFF, colors.gloss / 3)));
    }
    const TextStyle bold{true};
    const TextOrigin at = CentreText(label, 0, 1, kWidth, kHeight - 1, bold);
    if (look != TabLook::kSelected) {
        canvas.Fill(TextShape(label, at.left, at.top + 1, bold), Rgb(0x173F73, 0.55));
    }
    canvas.Fill(TextShape(label, at.left, at.top, bold), colors.text);
    return Flatten(canvas, outline, kMagenta);
}

}  // namespace qv::res
