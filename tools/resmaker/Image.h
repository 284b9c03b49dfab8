// An opaque 24-bit picture, what a bitmap drawing produces, and its BMP file.
#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.h"

namespace qv::res {

// The colour the windows draw as transparent.
constexpr Pixel kMagenta{0xFF, 0x00, 0xFF};

class Image {
public:
    Image(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Pixel& At(int x, int y) { return pixels_[Index(x, y)]; }
    const Pixel& At(int x, int y) const { return pixels_[Index(x, y)]; }

    // Copies other into this picture with its top-left corner at (left, top).
    void Paste(const Image& other, int left, int top);
    Image Crop(int left, int top, int width, int height) const;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<Pixel> pixels_;
};

// The canvas's pixels as they are; the drawing painted every pixel opaquely.
Image Flatten(const Canvas& canvas);

// As Flatten, but each pixel with no sample inside opaque becomes key, so
// edges blend only against the colour the drawing painted behind them.
Image Flatten(const Canvas& canvas, const Shape& opaque, Pixel key);

// Uncompressed 24-bit BMP: BITMAPFILEHEADER, BITMAPINFOHEADER, bottom-up rows
// of blue, green, red bytes, each row padded to 4 bytes.
std::vector<std::uint8_t> BmpFile(const Image& image);

}  // namespace qv::res
