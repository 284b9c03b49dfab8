#include "Pictures.h"

#include "Palette.h"

namespace qv::res {
namespace {

// The program icon's magnifier at any place and size: lens centre and radius.
void Magnifier(Canvas& canvas, double cx, double cy, double radius, Color lens, Color handle) {
    const double reach = radius * 0.74;
    canvas.Fill(
        Stroke(cx + reach, cy + reach, cx + radius * 1.37, cy + radius * 1.37, radius * 0.31),
        handle);
    canvas.Fill(Ring(cx, cy, radius, radius * 0.56), lens);
}

}  // namespace

Image DrawMenuPicture() {
    constexpr int kWidth = 120;
    constexpr int kHeight = 64;
    Canvas canvas(kWidth, kHeight);
    canvas.Fill(Rect(0, 0, kWidth, kHeight), HorizontalGradient(0, kWhite, kWidth, Rgb(0xE4EDF8)));
    canvas.Fill(Disc(104, 4, 40), Rgb(0xFFFFFF, 0.35));
    Magnifier(canvas, 88, 26, 17, Rgb(0xD3E1F2), Rgb(0xFBE2BD));
    canvas.Fill(Rect(0, kHeight - 3, kWidth, kHeight),
                HorizontalGradient(0, Rgb(0xFFFFFF, 0), kWidth, Rgb(0xF59E1B, 0.35)));
    return Flatten(canvas);
}

Image DrawUpdatePicture() {
    constexpr int kWidth = 150;
    constexpr int kHeight = 350;
    Canvas canvas(kWidth, kHeight);
    canvas.Fill(Rect(0, 0, kWidth, kHeight),
                VerticalGradient(0, Rgb(0x2C70C0), kHeight, Rgb(0x0F3566)));
    // Soft light from the top left.
    canvas.Fill(Disc(20, 30, 110), Rgb(0xFFFFFF, 0.05));
    canvas.Fill(Disc(10, 10, 60), Rgb(0xFFFFFF, 0.05));
    canvas.Fill(Disc(140, 330, 80), Rgb(0x000000, 0.08));

    // The product's tile near the top.
    canvas.Fill(RoundRect(51, 34, 99, 82, 10), Rgb(0x0F3566, 0.55));
    canvas.Fill(RoundRect(53, 36, 97, 80, 9), kTileBlue);
    Magnifier(canvas, 72, 55, 12, kWhite, kOrange);

    // An open box and an arrow coming down into it.
    const Shape left = Polygon({28, 214, 75, 236, 75, 300, 28, 278});
    const Shape right = Polygon({75, 236, 122, 214, 122, 278, 75, 300});
    const Shape inside = Polygon({28, 214, 75, 192, 122, 214, 75, 236});
    const Shape leftFlap = Polygon({28, 214, 75, 236, 58, 254, 11, 232});
    const Shape rightFlap = Polygon({122, 214, 75, 236, 92, 254, 139, 232});
    canvas.Fill(Moved(Either(left, right), 0, 4), Rgb(0x000000, 0.18));
    canvas.Fill(inside, Rgb(0x0C2B52));
    // The arrow, drawn before the front faces so its tip sinks into the box.
    const Shape arrow = Polygon({66, 118, 84, 118, 84, 178, 100, 178, 75, 216, 50, 178, 66, 178});
    canvas.Fill(Moved(arrow, 2, 3), Rgb(0x000000, 0.18));
    canvas.Fill(arrow, VerticalGradient(118, Rgb(0xFFC46A), 216, kOrange));
    canvas.Fill(left, VerticalGradient(214, Rgb(0xEAF1FA), 300, Rgb(0xC9D9EE)));
    canvas.Fill(right, VerticalGradient(214, Rgb(0xBFD2EA), 300, Rgb(0x9DB6D8)));
    canvas.Fill(leftFlap, Rgb(0xDCE7F5));
    canvas.Fill(rightFlap, Rgb(0xB3C8E4));
    canvas.Fill(Stroke(75, 236, 75, 300, 0.6), Rgb(0x7F9CC4));
    // A few rising lines: the download under way.
    for (int k = 0; k < 3; ++k) {
        const double y = 318 + k * 8;
        canvas.Fill(RoundRect(40 + k * 10, y, 110 - k * 10, y + 3, 1.5), Rgb(0xFFFFFF, 0.18));
    }
    return Flatten(canvas);
}

}  // namespace qv::res
