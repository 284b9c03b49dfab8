#include "IconFile.h"

#include "Bytes.h"

namespace qv::res {
namespace {

// One icon image: BITMAPINFOHEADER with doubled height, the colour rows and
// then the mask rows, both bottom-up, mask rows padded to 32 bits.
std::vector<std::uint8_t> IconImage(const Canvas& canvas) {
    const int size = canvas.Width();
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

}  // namespace

std::vector<std::uint8_t> IconFile(const IconDrawing& drawing) {
    constexpr int kSizes[] = {16, 32};
    constexpr std::uint32_t kDirectorySize = 6 + 16 * 2;
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : kSizes) {
        Canvas canvas(size, size, size);
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
        out.push_back(0);                                     // no palette
        out.push_back(0);                                     // reserved
        PutU16(out, 1);                                       // planes
        PutU16(out, 32);                                      // bits per pixel
        PutU32(out, static_cast<std::uint32_t>(images[k].size()));
        PutU32(out, offset);
        offset += static_cast<std::uint32_t>(images[k].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

}  // namespace qv::res
