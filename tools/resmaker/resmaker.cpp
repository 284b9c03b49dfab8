// Draws the reader's icons and bitmaps and writes them as files, so the art
// lives in code that can be reviewed and changed instead of in opaque binaries.
//
//   resmaker RESOURCES-FOLDER    writes icons/icon203.ico ... icon211.ico,
//                                bitmaps/bmpNNN.bmp, bitmaps/update130.bmp
//                                and bitmaps.rc, the script listing the bitmaps
//
// Icons hold a 16x16 and a 32x32 image, 32-bit BGRA with an AND mask; bitmaps
// are 24-bit BMP files. Shapes are sampled 4x4 per pixel for smooth edges,
// and the output is deterministic: the same source gives the same bytes.

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "Catalogue.h"
#include "Icons.h"

namespace {

namespace fs = std::filesystem;

bool Write(const fs::path& target, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "resmaker: %s: cannot be written\n", target.string().c_str());
        return false;
    }
    std::printf("%s\n", target.string().c_str());
    return true;
}

bool MakeFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder)) {
        std::fprintf(stderr, "resmaker: %s: not a folder\n", folder.string().c_str());
        return false;
    }
    return true;
}

int Run(const fs::path& resources) {
    const fs::path icons = resources / "icons";
    const fs::path bitmaps = resources / "bitmaps";
    if (!MakeFolder(icons) || !MakeFolder(bitmaps)) return 1;
    for (const qv::res::IconJob& job : qv::res::AllIcons()) {
        if (!Write(icons / ("icon" + std::to_string(job.id) + ".ico"),
                   qv::res::IconFile(job.drawing))) {
            return 1;
        }
    }
    const std::vector<qv::res::BitmapJob> jobs = qv::res::AllBitmaps();
    for (const qv::res::BitmapJob& job : jobs) {
        const qv::res::Image image = job.draw();
        if (image.Width() != job.width || image.Height() != job.height) {
            std::fprintf(stderr, "resmaker: %s is drawn %dx%d, not %dx%d\n", job.file.c_str(),
                         image.Width(), image.Height(), job.width, job.height);
            return 1;
        }
        if (!Write(bitmaps / job.file, qv::res::BmpFile(image))) return 1;
    }
    const std::string script = qv::res::BitmapScript(jobs);
    return Write(resources / "bitmaps.rc", std::vector<std::uint8_t>(script.begin(), script.end()))
               ? 0
               : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: resmaker RESOURCES-FOLDER\n", stderr);
        return 2;
    }
    try {
        return Run(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "resmaker: %s\n", error.what());
        return 1;
    }
}
