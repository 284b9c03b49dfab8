// Shapes, paints and the supersampling canvas every drawing of the resource
// maker paints on.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace qv::res {

struct Color {
    double r, g, b, a;
};

Color Rgb(std::uint32_t rgb, double alpha = 1.0);

// The colour t of the way from a to b (t = 0 gives a, 1 gives b).
Color Mix(Color a, Color b, double t);

// A shape answers whether a point lies inside it. The coordinates are the
// canvas's own: pixels for bitmaps, unit coordinates (0..1, y down) for icons.
using Shape = std::function<bool(double x, double y)>;

// A paint gives the colour at a point; a fill takes it at each pixel's centre.
using Paint = std::function<Color(double x, double y)>;

Shape Disc(double cx, double cy, double radius);
Shape Ring(double cx, double cy, double outer, double inner);
// Part of a ring; angles in degrees, clockwise from twelve o'clock.
Shape Arc(double cx, double cy, double outer, double inner, double start, double sweep);
Shape Rect(double left, double top, double right, double bottom);
Shape RoundRect(double left, double top, double right, double bottom, double radius);
// A thick line with round ends.
Shape Stroke(double ax, double ay, double bx, double by, double halfWidth);
// The lens shape of an eye: where two large discs overlap. halfWidth must be
// larger than halfHeight.
Shape Almond(double cx, double cy, double halfWidth, double halfHeight);
// A closed polygon (even-odd rule); points as x0, y0, x1, y1, ...
Shape Polygon(std::vector<double> points);

Shape Both(Shape a, Shape b);
Shape Either(Shape a, Shape b);
Shape Without(Shape a, Shape b);
Shape Moved(Shape shape, double dx, double dy);

// Top colour at y = top, bottom colour at y = bottom, clamped outside.
Paint VerticalGradient(double top, Color topColor, double bottom, Color bottomColor);
Paint HorizontalGradient(double left, Color leftColor, double right, Color rightColor);

struct Pixel {
    std::uint8_t r, g, b;
    bool operator==(const Pixel&) const = default;
};

class Canvas {
public:
    static constexpr int kSamples = 4;  // per axis, so 16 samples a pixel

    // scale is the number of pixels a shape unit spans: the icon size for
    // unit-coordinate icons, 1 for bitmaps drawn in pixels.
    Canvas(int width, int height, double scale = 1.0);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Paints over what is there, weighted by the share of samples inside.
    void Fill(const Shape& shape, Color color);
    void Fill(const Shape& shape, const Paint& paint);

    // How many of the pixel's samples lie inside the shape (0..16).
    int Coverage(const Shape& shape, int px, int py) const;

    // Straight (not premultiplied) BGRA bytes, as icons store them; fully
    // transparent pixels are zero so an AND mask alone decides there.
    std::vector<std::uint8_t> Bgra(int px, int py) const;

    // The colour of a pixel over black; bitmaps paint every pixel opaquely first.
    Pixel Opaque(int px, int py) const;

private:
    struct Premultiplied {
        double r = 0, g = 0, b = 0, a = 0;
    };
    double SampleX(int px, int sx) const { return (px + (sx + 0.5) / kSamples) / scale_; }
    double SampleY(int py, int sy) const { return (py + (sy + 0.5) / kSamples) / scale_; }

    int width_;
    int height_;
    double scale_;
    std::vector<Premultiplied> pixels_;
};

}  // namespace qv::res
