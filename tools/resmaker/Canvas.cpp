#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qv::res {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::uint8_t Byte(double v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

}  // namespace

Color Rgb(std::uint32_t rgb, double alpha) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Color Mix(Color a, Color b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Shape Disc(double cx, double cy, double radius) {
    return [=](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

Shape Ring(double cx, double cy, double outer, double inner) {
    return [=](double x, double y) {
        const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d2 <= outer * outer && d2 >= inner * inner;
    };
}

Shape Arc(double cx, double cy, double outer, double inner, double start, double sweep) {
    const Shape ring = Ring(cx, cy, outer, inner);
    return [=](double x, double y) {
        if (!ring(x, y)) return false;
        double angle = std::atan2(x - cx, cy - y) * 180.0 / kPi - start;
        angle = std::fmod(angle + 720.0, 360.0);
        return angle <= sweep;
    };
}

Shape Rect(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x > right || y < top || y > bottom) return false;
        const double dx = std::max({left + radius - x, 0.0, x - (right - radius)});
        const double dy = std::max({top + radius - y, 0.0, y - (bottom - radius)});
        return dx * dx + dy * dy <= radius * radius;
    };
}

Shape Stroke(double ax, double ay, double bx, double by, double halfWidth) {
    return [=](double x, double y) {
        const double vx = bx - ax;
        const double vy = by - ay;
        const double t =
            std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
        const double px = ax + t * vx - x;
        const double py = ay + t * vy - y;
        return px * px + py * py <= halfWidth * halfWidth;
    };
}

Shape Almond(double cx, double cy, double halfWidth, double halfHeight) {
    const double radius = (halfWidth * halfWidth + halfHeight * halfHeight) / (2 * halfHeight);
    const double offset = radius - halfHeight;
    return Both(Disc(cx, cy - offset, radius), Disc(cx, cy + offset, radius));
}

Shape Polygon(std::vector<double> points) {
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        const std::size_t n = points.size() / 2;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = points[2 * i], yi = points[2 * i + 1];
            const double xj = points[2 * j], yj = points[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) {
                inside = !inside;
            }
        }
        return inside;
    };
}

Shape Both(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

Shape Either(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Without(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Moved(Shape shape, double dx, double dy) {
    return [=](double x, double y) { return shape(x - dx, y - dy); };
}

Paint VerticalGradient(double top, Color topColor, double bottom, Color bottomColor) {
    return [=](double, double y) {
        return Mix(topColor, bottomColor, std::clamp((y - top) / (bottom - top), 0.0, 1.0));
    };
}

Paint HorizontalGradient(double left, Color leftColor, double right, Color rightColor) {
    return [=](double x, double) {
        return Mix(leftColor, rightColor, std::clamp((x - left) / (right - left), 0.0, 1.0));
    };
}

Canvas::Canvas(int width, int height, double scale)
    : width_(width),
      height_(height),
      scale_(scale),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

int Canvas::Coverage(const Shape& shape, int px, int py) const {
    int inside = 0;
    for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
            if (shape(SampleX(px, sx), SampleY(py, sy))) ++inside;
        }
    }
    return inside;
}

void Canvas::Fill(const Shape& shape, Color color) {
    Fill(shape, [color](double, double) { return color; });
}

void Canvas::Fill(const Shape& shape, const Paint& paint) {
    for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
            const int inside = Coverage(shape, px, py);
            if (inside == 0) continue;
            const Color color = paint((px + 0.5) / scale_, (py + 0.5) / scale_);
            const double alpha = color.a * inside / (kSamples * kSamples);
            Premultiplied& p = pixels_[static_cast<std::size_t>(py * width_ + px)];
            p.r = color.r * alpha + p.r * (1 - alpha);
            p.g = color.g * alpha + p.g * (1 - alpha);
            p.b = color.b * alpha + p.b * (1 - alpha);
            p.a = alpha + p.a * (1 - alpha);
        }
    }
}

std::vector<std::uint8_t> Canvas::Bgra(int px, int py) const {
    const Premultiplied& p = pixels_[static_cast<std::size_t>(py * width_ + px)];
    const std::uint8_t a = Byte(p.a);
    if (a == 0) return {0, 0, 0, 0};
    return {Byte(p.b / p.a), Byte(p.g / p.a), Byte(p.r / p.a), a};
}

Pixel Canvas::Opaque(int px, int py) const {
    const Premultiplied& p = pixels_[static_cast<std::size_t>(py * width_ + px)];
    return {Byte(p.r), Byte(p.g), Byte(p.b)};
}

}  // namespace qv::res
