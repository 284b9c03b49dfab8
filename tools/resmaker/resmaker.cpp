// Draws the reader's icons and writes them as .ico files, so the art lives
// in code that can be reviewed and changed instead of in opaque binaries.
//
//   resmaker OUTPUT-FOLDER      writes icon203.ico ... icon211.ico
//
// Every file holds a 16x16 and a 32x32 image, 32-bit BGRA with an AND mask.
// Shapes are described in unit coordinates (0..1, y down) and sampled 4x4
// per pixel, so both sizes come from the same drawing with smooth edges.
// The output is deterministic: the same source gives the same bytes.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr double kPi = 3.14159265358979323846;

struct Color {
    double r, g, b, a;
};

Color Rgb(std::uint32_t rgb, double alpha = 1.0) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0,
            alpha};
}

const Color kTileBlue = Rgb(0x1F5FAE);
const Color kTileEdge = Rgb(0x17467F);
const Color kWhite = Rgb(0xFFFFFF);
const Color kOrange = Rgb(0xF59E1B);
const Color kDimRing = Rgb(0x6A93C6);  // white at 30% over the tile, but opaque
const Color kExitRed = Rgb(0xD2352B);
const Color kExitEdge = Rgb(0x9C2119);
const Color kEyeEdge = Rgb(0x2C3E50);
const Color kIrisBlue = Rgb(0x2F80ED);

// A shape answers whether a point in unit coordinates lies inside it.
using Shape = std::function<bool(double x, double y)>;

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

// Part of a ring; angles in degrees, clockwise from twelve o'clock.
Shape Arc(double cx, double cy, double outer, double inner, double start, double sweep) {
    const Shape ring = Ring(cx, cy, outer, inner);
    return [=](double x, double y) {
        if (!ring(x, y)) return false;
        double angle = std::atan2(x - cx, cy - y) * 180.0 / kPi - start;
        angle = std::fmod(angle + 720.0, 360.0);
        return angle <= sweep;
    };
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x > right || y < top || y > bottom) return false;
        const double dx = std::max({left + radius - x, 0.0, x - (right - radius)});
        const double dy = std::max({top + radius - y, 0.0, y - (bottom - radius)});
        return dx * dx + dy * dy <= radius * radius;
    };
}

// A thick line with round ends.
Shape Stroke(double ax, double ay, double bx, double by, double halfWidth) {
    return [=](double x, double y) {
        const double vx = bx - ax;
        const double vy = by - ay;
        const double t = std::clamp(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy), 0.0,
                                    1.0);
        const double px = ax + t * vx - x;
        const double py = ay + t * vy - y;
        return px * px + py * py <= halfWidth * halfWidth;
    };
}

Shape Both(Shape a, Shape b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

// The lens shape of an eye: where two large discs overlap. halfWidth must be
// larger than halfHeight.
Shape Almond(double cx, double cy, double halfWidth, double halfHeight) {
    const double radius = (halfWidth * halfWidth + halfHeight * halfHeight) / (2 * halfHeight);
    const double offset = radius - halfHeight;
    return Both(Disc(cx, cy - offset, radius), Disc(cx, cy + offset, radius));
}

class Canvas {
public:
    explicit Canvas(int size) : size_(size), pixels_(static_cast<std::size_t>(size * size)) {}

    int Size() const { return size_; }

    // Paints color over what is there, weighted by the share of samples inside.
    void Fill(const Shape& shape, Color color) {
        constexpr int kSamples = 4;
        for (int py = 0; py < size_; ++py) {
            for (int px = 0; px < size_; ++px) {
                int inside = 0;
                for (int sy = 0; sy < kSamples; ++sy) {
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const double x = (px + (sx + 0.5) / kSamples) / size_;
                        const double y = (py + (sy + 0.5) / kSamples) / size_;
                        if (shape(x, y)) ++inside;
                    }
                }
                if (inside == 0) continue;
                const double alpha = color.a * inside / (kSamples * kSamples);
                Premultiplied& p = pixels_[static_cast<std::size_t>(py * size_ + px)];
                p.r = color.r * alpha + p.r * (1 - alpha);
                p.g = color.g * alpha + p.g * (1 - alpha);
                p.b = color.b * alpha + p.b * (1 - alpha);
                p.a = alpha + p.a * (1 - alpha);
            }
        }
    }

    // Straight (not premultiplied) BGRA bytes, as icons store them; fully
    // transparent pixels are zero so the AND mask alone decides there.
    std::vector<std::uint8_t> Bgra(int px, int py) const {
        const Premultiplied& p = pixels_[static_cast<std::size_t>(py * size_ + px)];
        const auto byte = [](double v) {
            return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
        };
        const std::uint8_t a = byte(p.a);
        if (a == 0) return {0, 0, 0, 0};
        return {byte(p.b / p.a), byte(p.g / p.a), byte(p.r / p.a), a};
    }

private:
    struct Premultiplied {
        double r = 0, g = 0, b = 0, a = 0;
    };
    int size_;
    std::vector<Premultiplied> pixels_;
};

using Drawing = std::function<void(Canvas&)>;

void Tile(Canvas& canvas) {
    canvas.Fill(RoundRect(0.03, 0.03, 0.97, 0.97, 0.2), kTileEdge);
    canvas.Fill(RoundRect(0.07, 0.07, 0.93, 0.93, 0.17), kTileBlue);
}

// A magnifying glass over the tile: the reader that looks into the shop.
void Magnifier(Canvas& canvas) {
    canvas.Fill(Stroke(0.60, 0.60, 0.80, 0.80, 0.085), kOrange);
    canvas.Fill(Ring(0.43, 0.43, 0.27, 0.15), kWhite);
}

void ProgramIcon(Canvas& canvas) {
    Tile(canvas);
    Magnifier(canvas);
}

// The tray shows the reader at work: a lit third of the lens runs round it,
// 60 degrees a frame, so six frames make one turn.
Drawing TrayFrame(int frame) {
    return [frame](Canvas& canvas) {
        Tile(canvas);
        canvas.Fill(Stroke(0.60, 0.60, 0.80, 0.80, 0.085), kOrange);
        canvas.Fill(Ring(0.43, 0.43, 0.27, 0.15), kDimRing);
        canvas.Fill(Arc(0.43, 0.43, 0.27, 0.15, frame * 60.0, 120.0), kWhite);
    };
}

void ExitIcon(Canvas& canvas) {
    canvas.Fill(Disc(0.5, 0.5, 0.47), kExitEdge);
    canvas.Fill(Disc(0.5, 0.5, 0.42), kExitRed);
    canvas.Fill(Stroke(0.33, 0.33, 0.67, 0.67, 0.08), kWhite);
    canvas.Fill(Stroke(0.67, 0.33, 0.33, 0.67, 0.08), kWhite);
}

void ShowIcon(Canvas& canvas) {
    const Shape white = Almond(0.5, 0.5, 0.39, 0.22);
    canvas.Fill(Almond(0.5, 0.5, 0.48, 0.31), kEyeEdge);
    canvas.Fill(white, kWhite);
    canvas.Fill(Both(white, Disc(0.5, 0.5, 0.19)), kIrisBlue);
    canvas.Fill(Disc(0.5, 0.5, 0.09), kEyeEdge);
    canvas.Fill(Disc(0.56, 0.44, 0.04), kWhite);
}

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// One icon image: BITMAPINFOHEADER with doubled height, the colour rows and
// then the mask rows, both bottom-up, mask rows padded to 32 bits.
std::vector<std::uint8_t> IconImage(const Canvas& canvas) {
    const int size = canvas.Size();
    const int maskStride = (size + 31) / 32 * 4;
    std::vector<std::uint8_t> out;
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out, static_cast<std::uint32_t>(size * 2));
    PutU16(out, 1);   // planes
    PutU16(out, 32);  // bits per pixel
    PutU32(out, 0);   // BI_RGB
    PutU32(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size));
    for (int k = 0; k < 4; ++k) PutU32(out, 0);  // resolution and palette: unused

    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const std::vector<std::uint8_t> pixel = canvas.Bgra(x, y);
            out.insert(out.end(), pixel.begin(), pixel.end());
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < size; ++x) {
            if (canvas.Bgra(x, y)[3] == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> IconFile(const Drawing& drawing) {
    constexpr int kSizes[] = {16, 32};
    constexpr std::uint32_t kDirectorySize = 6 + 16 * 2;
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : kSizes) {
        Canvas canvas(size);
        drawing(canvas);
        images.push_back(IconImage(canvas));
    }

    std::vector<std::uint8_t> out;
    PutU16(out, 0);  // reserved
    PutU16(out, 1);  // icon, not cursor
    PutU16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = kDirectorySize;
    for (std::size_t k = 0; k < images.size(); ++k) {
        out.push_back(static_cast<std::uint8_t>(kSizes[k]));  // width
        out.push_back(static_cast<std::uint8_t>(kSizes[k]));  // height
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        PutU16(out, 1);    // planes
        PutU16(out, 32);   // bits per pixel
        PutU32(out, static_cast<std::uint32_t>(images[k].size()));
        PutU32(out, offset);
        offset += static_cast<std::uint32_t>(images[k].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

struct IconJob {
    int id;
    Drawing drawing;
};

std::vector<IconJob> AllIcons() {
    std::vector<IconJob> jobs = {{203, ProgramIcon}, {204, ExitIcon}};
    for (int frame = 0; frame < 6; ++frame) jobs.push_back({205 + frame, TrayFrame(frame)});
    jobs.push_back({211, ShowIcon});
    return jobs;
}

}  // namespace
}  // namespace qv

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::fputs("usage: resmaker OUTPUT-FOLDER\n", stderr);
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder)) {
        std::fprintf(stderr, "resmaker: %s: not a folder\n", argv[1]);
        return 1;
    }
    for (const qv::IconJob& job : qv::AllIcons()) {
        const fs::path target = folder / ("icon" + std::to_string(job.id) + ".ico");
        const std::vector<std::uint8_t> bytes = qv::IconFile(job.drawing);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "resmaker: %s: cannot be written\n", target.string().c_str());
            return 1;
        }
        std::printf("%s\n", target.string().c_str());
    }
    return 0;
}
