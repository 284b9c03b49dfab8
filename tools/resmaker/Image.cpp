#include "Image.h"

#include "Bytes.h"

namespace qv::res {

Image::Image(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

void Image::Paste(const Image& other, int left, int top) {
    for (int y = 0; y < other.Height(); ++y) {
        for (int x = 0; x < other.Width(); ++x) At(left + x, top + y) = other.At(x, y);
    }
}

Image Image::Crop(int left, int top, int width, int height) const {
    Image part(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) part.At(x, y) = At(left + x, top + y);
    }
    return part;
}

Image Flatten(const Canvas& canvas) {
    Image image(canvas.Width(), canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) image.At(x, y) = canvas.Opaque(x, y);
    }
    return image;
}

Image Flatten(const Canvas& canvas, const Shape& opaque, Pixel key) {
    Image image = Flatten(canvas);
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            if (canvas.Coverage(opaque, x, y) == 0) image.At(x, y) = key;
        }
    }
    return image;
}

std::vector<std::uint8_t> BmpFile(const Image& image) {
    constexpr std::uint32_t kHeaders = 14 + 40;
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.Width()) * 3 + 3) / 4 * 4;
    const std::uint32_t bits = stride * static_cast<std::uint32_t>(image.Height());
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutU32(out, kHeaders + bits);
    PutU32(out, 0);  // reserved
    PutU32(out, kHeaders);

    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(image.Width()));
    PutU32(out, static_cast<std::uint32_t>(image.Height()));  // positive: bottom-up
    PutU16(out, 1);                                           // planes
    PutU16(out, 24);                                          // bits per pixel
    PutU32(out, 0);                                           // BI_RGB
    PutU32(out, bits);
    PutU32(out, 2835);  // 72 dots per inch, in dots per metre
    PutU32(out, 2835);
    PutU32(out, 0);  // no palette
    PutU32(out, 0);

    for (int y = image.Height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.Width(); ++x) {
            const Pixel& p = image.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

}  // namespace qv::res
