// The committed bitmaps hold what the windows rely on: each id's file and
// size, 24-bit uncompressed rows, magenta exactly where the windows leave
// pixels out and nowhere else, the tree's own key colour, backdrops that
// match what the pictures are drawn over, and glyph states that differ.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"

namespace qv {
namespace {

const std::string kResources = QV_RESOURCES_DIR;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

constexpr Rgb kMagenta{255, 0, 255};
constexpr Rgb kTreeKey{1, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBodyGrey{0xE8, 0xE8, 0xE8};

double Luminance(Rgb c) {
    return (0.299 * c.r + 0.587 * c.g + 0.114 * c.b) / 255.0;
}

// A blend of magenta into some other colour: purple, which nothing drawn
// here is on purpose.
bool NearMagenta(Rgb c) {
    return !(c == kMagenta) && std::min(c.r, c.b) > c.g + 48;
}

bool Close(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// The subset of BMP the resources use; any other layout is a failure.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // top row first

    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

    Bitmap Crop(int left, int top, int w, int h) const {
        Bitmap part{w, h, {}};
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) part.pixels.push_back(At(left + x, top + y));
        }
        return part;
    }

    int Count(Rgb colour) const {
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
    }
};

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<std::uint8_t>(bytes[at + k]);
    return value;
}

std::uint16_t U16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Fails the calling test (and returns an empty bitmap) when the file is not
// an uncompressed, bottom-up, 24-bit BMP of exactly its stated size.
Bitmap ReadBmp(const std::string& file) {
    const std::string bytes = ReadFile(kResources + "/bitmaps/" + file);
    Bitmap bitmap;
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) {
        ADD_FAILURE() << file << ": not a BMP file";
        return bitmap;
    }
    const std::uint32_t offset = U32(bytes, 10);
    const auto width = static_cast<std::int32_t>(U32(bytes, 18));
    const auto height = static_cast<std::int32_t>(U32(bytes, 22));
    EXPECT_EQ(U32(bytes, 14), 40u) << file << ": BITMAPINFOHEADER";
    EXPECT_EQ(U16(bytes, 26), 1) << file << ": planes";
    EXPECT_EQ(U16(bytes, 28), 24) << file << ": bits per pixel";
    EXPECT_EQ(U32(bytes, 30), 0u) << file << ": compression";
    EXPECT_GT(height, 0) << file << ": rows bottom-up";
    EXPECT_EQ(offset, 54u) << file << ": no palette";
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || bytes.size() != offset + stride * height ||
        U32(bytes, 2) != bytes.size()) {
        ADD_FAILURE() << file << ": size fields do not match the rows";
        return bitmap;
    }
    bitmap.width = width;
    bitmap.height = height;
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = row + 3 * static_cast<std::size_t>(x);
            bitmap.pixels.push_back({static_cast<std::uint8_t>(bytes[at + 2]),
                                     static_cast<std::uint8_t>(bytes[at + 1]),
                                     static_cast<std::uint8_t>(bytes[at])});
        }
    }
    return bitmap;
}

std::string FileOf(int id) {
    return "bmp" + std::to_string(id) + ".bmp";
}

struct BitmapCase {
    const char* name;
    int value;  // as resource.h defines it
    int id;     // as the windows expect it
    int width, height;
};

#define QV_BITMAP(name, id, width, height) \
    BitmapCase {                           \
#name, name, id, width, height     \
    }

const BitmapCase kBitmaps[] = {
    QV_BITMAP(IDB_SKIN_BOTTOM_LEFT, 129, 20, 30),
    QV_BITMAP(IDB_SKIN_BOTTOM, 130, 1, 30),
    QV_BITMAP(IDB_SKIN_BOTTOM_RIGHT, 131, 20, 30),
    QV_BITMAP(IDB_SKIN_LEFT, 132, 20, 1),
    QV_BITMAP(IDB_SKIN_RIGHT, 133, 20, 1),
    QV_BITMAP(IDB_SKIN_TOP_LEFT, 136, 20, 85),
    QV_BITMAP(IDB_SKIN_TOP, 137, 1, 85),
    QV_BITMAP(IDB_SKIN_TOP_RIGHT, 138, 20, 85),
    QV_BITMAP(IDB_CLOSE_HOVER, 139, 26, 25),
    QV_BITMAP(IDB_CLOSE_NORMAL, 140, 26, 25),
    QV_BITMAP(IDB_TAB_LOG_NORMAL, 143, 93, 29),
    QV_BITMAP(IDB_TAB_ACCOUNTS_SELECTED, 144, 93, 29),
    QV_BITMAP(IDB_TAB_ACCOUNTS_HOVER, 145, 93, 29),
    QV_BITMAP(IDB_TAB_ACCOUNTS_NORMAL, 146, 93, 29),
    QV_BITMAP(IDB_TAB_DATA_SELECTED, 147, 93, 29),
    QV_BITMAP(IDB_TAB_DATA_HOVER, 148, 93, 29),
    QV_BITMAP(IDB_TAB_DATA_NORMAL, 149, 93, 29),
    QV_BITMAP(IDB_TAB_LOG_SELECTED, 150, 93, 29),
    QV_BITMAP(IDB_TAB_LOG_HOVER, 151, 93, 29),
    QV_BITMAP(IDB_TAB_SETTINGS_NORMAL, 184, 93, 29),
    QV_BITMAP(IDB_TAB_SETTINGS_SELECTED, 185, 93, 29),
    QV_BITMAP(IDB_TAB_SETTINGS_HOVER, 186, 93, 29),
    QV_BITMAP(IDB_TREE_GROUP, 156, 16, 16),
    QV_BITMAP(IDB_TREE_ACCOUNT, 157, 16, 16),
    QV_BITMAP(IDB_TREE_EXPANDER, 158, 18, 9),
    QV_BITMAP(IDB_MENU_PICTURE, 159, 120, 64),
    QV_BITMAP(IDB_CHECK_GLYPHS, 162, 72, 12),
    QV_BITMAP(IDB_ACCOUNT_STRIP_RIGHT, 164, 145, 83),
    QV_BITMAP(IDB_ACCOUNT_STRIP_LEFT, 165, 6, 83),
    QV_BITMAP(IDB_ACCOUNT_STRIP_MIDDLE, 166, 1, 83),
    QV_BITMAP(IDB_STOP_MANUAL_NORMAL, 167, 106, 48),
    QV_BITMAP(IDB_MANUAL_PRESSED, 168, 106, 48),
    QV_BITMAP(IDB_MANUAL_HOVER, 169, 106, 48),
    QV_BITMAP(IDB_MANUAL_NORMAL, 170, 106, 48),
    QV_BITMAP(IDB_STOP_MANUAL_PRESSED, 171, 106, 48),
    QV_BITMAP(IDB_STOP_MANUAL_HOVER, 172, 106, 48),
    QV_BITMAP(IDB_AUTO_RUN, 176, 121, 41),
    QV_BITMAP(IDB_STOP_AUTO_RUN, 180, 121, 41),
    QV_BITMAP(IDB_MANUAL_DISABLED, 181, 106, 48),
    QV_BITMAP(IDB_TREE_OFF, 182, 30, 12),
    QV_BITMAP(IDB_RADIO_GLYPHS, 187, 72, 12),
    QV_BITMAP(IDB_TREE_ON, 188, 30, 12),
    QV_BITMAP(IDB_TREE_DATA_LINK, 189, 43, 12),
    QV_BITMAP(IDB_ANALYSE_NORMAL, 190, 106, 48),
    QV_BITMAP(IDB_ANALYSE_PRESSED, 191, 106, 48),
    QV_BITMAP(IDB_ANALYSE_HOVER, 192, 106, 48),
    QV_BITMAP(IDB_SAVE_NORMAL, 199, 106, 48),
    QV_BITMAP(IDB_SAVE_PRESSED, 200, 106, 48),
    QV_BITMAP(IDB_SAVE_HOVER, 201, 106, 48),
};

#undef QV_BITMAP

void PrintTo(const BitmapCase& c, std::ostream* os) {
    *os << c.name;
}

std::string CaseName(const testing::TestParamInfo<BitmapCase>& info) {
    return std::string(info.param.name).substr(4);  // without "IDB_"
}

class EveryBitmap : public testing::TestWithParam<BitmapCase> {};

TEST_P(EveryBitmap, IdFileAndSize) {
    const BitmapCase& c = GetParam();
    EXPECT_EQ(c.value, c.id) << c.name << " in resource.h";
    const Bitmap bitmap = ReadBmp(FileOf(c.id));
    EXPECT_EQ(bitmap.width, c.width);
    EXPECT_EQ(bitmap.height, c.height);
}

TEST_P(EveryBitmap, ListedInTheResourceScriptUnderItsName) {
    const BitmapCase& c = GetParam();
    const std::string script = ReadFile(kResources + "/bitmaps.rc");
    const std::regex line("(^|\n)" + std::string(c.name) + " +BITMAP +\"bitmaps/" + FileOf(c.id) +
                          "\"\r?\n");
    EXPECT_TRUE(std::regex_search(script, line)) << c.name;
}

TEST_P(EveryBitmap, NoEdgeBlendsIntoMagenta) {
    const Bitmap bitmap = ReadBmp(FileOf(GetParam().id));
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            EXPECT_FALSE(NearMagenta(bitmap.At(x, y))) << "at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ids, EveryBitmap, testing::ValuesIn(kBitmaps), CaseName);

TEST(BitmapScript, ListsTheReaderBitmapsOnlyAndIsIncluded) {
    const std::string script = ReadFile(kResources + "/bitmaps.rc");
    std::istringstream lines(script);
    int listed = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.find("BITMAP") != std::string::npos) ++listed;
    }
    EXPECT_EQ(listed, static_cast<int>(std::size(kBitmaps)));
    EXPECT_EQ(script.find("update"), std::string::npos) << "the updater's picture is its own";
    EXPECT_NE(ReadFile(kResources + "/QVReader.rc").find("#include \"bitmaps.rc\""),
              std::string::npos);
}

TEST(UpdatePicture, TallSidePicture) {
    const Bitmap bitmap = ReadBmp("update130.bmp");
    EXPECT_EQ(bitmap.width, 150);
    EXPECT_EQ(bitmap.height, 350);
    EXPECT_EQ(bitmap.Count(kMagenta), 0);
}

// The window's region leaves out 4, 2, 1 and 1 pixels of the outermost rows.
struct CornerCase {
    int id;
    bool right, bottom;
    const char* name;
};

void PrintTo(const CornerCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinCorners : public testing::TestWithParam<CornerCase> {};

TEST_P(SkinCorners, EightMagentaPixelsAtTheOuterCornerOnly) {
    const CornerCase& c = GetParam();
    const Bitmap bitmap = ReadBmp(FileOf(c.id));
    ASSERT_FALSE(bitmap.pixels.empty());
    constexpr int kCut[] = {4, 2, 1, 1};
    std::set<std::pair<int, int>> expected;
    for (int row = 0; row < 4; ++row) {
        for (int k = 0; k < kCut[row]; ++k) {
            expected.insert(
                {c.right ? bitmap.width - 1 - k : k, c.bottom ? bitmap.height - 1 - row : row});
        }
    }
    ASSERT_EQ(expected.size(), 8u);
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const bool magenta = bitmap.At(x, y) == kMagenta;
            EXPECT_EQ(magenta, expected.count({x, y}) == 1) << "at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corners, SkinCorners,
    testing::Values(CornerCase{IDB_SKIN_TOP_LEFT, false, false, "TopLeft"},
                    CornerCase{IDB_SKIN_TOP_RIGHT, true, false, "TopRight"},
                    CornerCase{IDB_SKIN_BOTTOM_LEFT, false, true, "BottomLeft"},
                    CornerCase{IDB_SKIN_BOTTOM_RIGHT, true, true, "BottomRight"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SkinEdges, OpaqueAndMeetingTheBody) {
    for (int id : {IDB_SKIN_LEFT, IDB_SKIN_RIGHT, IDB_SKIN_TOP, IDB_SKIN_BOTTOM}) {
        EXPECT_EQ(ReadBmp(FileOf(id)).Count(kMagenta), 0) << id;
    }
    // Sides: a darker outline at the outer edge, the body's grey inside.
    const Bitmap left = ReadBmp(FileOf(IDB_SKIN_LEFT));
    const Bitmap right = ReadBmp(FileOf(IDB_SKIN_RIGHT));
    EXPECT_LT(Luminance(left.At(0, 0)), Luminance(kBodyGrey) - 0.2);
    EXPECT_LT(Luminance(right.At(19, 0)), Luminance(kBodyGrey) - 0.2);
    EXPECT_EQ(left.At(19, 0), kBodyGrey);
    EXPECT_EQ(right.At(0, 0), kBodyGrey);

    // The top band: dark behind the title text, body grey at its bottom,
    // and the corners continue the tiled column.
    const Bitmap top = ReadBmp(FileOf(IDB_SKIN_TOP));
    for (int y = 7; y <= 20; ++y) EXPECT_LT(Luminance(top.At(0, y)), 0.4) << "row " << y;
    EXPECT_TRUE(Close(top.At(0, 84), kBodyGrey, 2));
    const Bitmap topLeft = ReadBmp(FileOf(IDB_SKIN_TOP_LEFT));
    const Bitmap topRight = ReadBmp(FileOf(IDB_SKIN_TOP_RIGHT));
    for (int y = 2; y < 85; ++y) {
        EXPECT_EQ(topLeft.At(19, y), top.At(0, y)) << "row " << y;
        EXPECT_EQ(topRight.At(0, y), top.At(0, y)) << "row " << y;
    }
}

// Tabs: magenta only in the rounded top corners; the bottom runs full width.
TEST(Tabs, MagentaOnlyOutsideTheRoundedTopCorners) {
    for (int id : {143, 144, 145, 146, 147, 148, 149, 150, 151, 184, 185, 186}) {
        SCOPED_TRACE(id);
        const Bitmap tab = ReadBmp(FileOf(id));
        ASSERT_FALSE(tab.pixels.empty());
        EXPECT_EQ(tab.At(0, 0), kMagenta);
        EXPECT_EQ(tab.At(tab.width - 1, 0), kMagenta);
        EXPECT_NE(tab.At(0, tab.height - 1), kMagenta);
        EXPECT_NE(tab.At(tab.width - 1, tab.height - 1), kMagenta);
        EXPECT_NE(tab.At(tab.width / 2, tab.height / 2), kMagenta);
        for (int y = 0; y < tab.height; ++y) {
            for (int x = 0; x < tab.width; ++x) {
                if (tab.At(x, y) != kMagenta) continue;
                const bool inCorner = y < 4 && (x < 4 || x >= tab.width - 4);
                EXPECT_TRUE(inCorner) << "magenta at " << x << "," << y;
            }
        }
    }
}

double MeanLuminance(const Bitmap& bitmap) {
    double sum = 0;
    int count = 0;
    for (const Rgb& c : bitmap.pixels) {
        if (c == kMagenta) continue;
        sum += Luminance(c);
        ++count;
    }
    return count == 0 ? 0 : sum / count;
}

TEST(Tabs, HoverLighterThanNormalSelectedLightestAndJoiningTheBand) {
    struct Page {
        int normal, hover, selected;
    };
    const Bitmap top = ReadBmp(FileOf(IDB_SKIN_TOP));
    constexpr int kTabTop = 41;
    for (const Page& page :
         {Page{146, 145, 144}, Page{143, 151, 150}, Page{149, 148, 147}, Page{184, 186, 185}}) {
        SCOPED_TRACE(page.normal);
        const Bitmap normal = ReadBmp(FileOf(page.normal));
        const Bitmap hover = ReadBmp(FileOf(page.hover));
        const Bitmap selected = ReadBmp(FileOf(page.selected));
        ASSERT_FALSE(selected.pixels.empty());
        EXPECT_GT(MeanLuminance(hover), MeanLuminance(normal) + 0.05);
        EXPECT_GT(MeanLuminance(selected), MeanLuminance(hover) + 0.05);
        EXPECT_GT(MeanLuminance(selected), 0.85);
        // The selected tab's bottom row is the band's colour under it.
        const int bottom = selected.height - 1;
        EXPECT_TRUE(Close(selected.At(selected.width / 2, bottom), top.At(0, kTabTop + bottom), 3));
    }
}

TEST(TreeSymbols, GroupAndAccountOnTheImageListKey) {
    for (int id : {IDB_TREE_GROUP, IDB_TREE_ACCOUNT}) {
        SCOPED_TRACE(id);
        const Bitmap symbol = ReadBmp(FileOf(id));
        ASSERT_FALSE(symbol.pixels.empty());
        for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 15}, {15, 15}}) {
            EXPECT_EQ(symbol.At(x, y), kTreeKey) << x << "," << y;
        }
        EXPECT_EQ(symbol.Count(kMagenta), 0);
        EXPECT_GT(symbol.Count(kTreeKey), 30);
        EXPECT_LT(symbol.Count(kTreeKey), 16 * 16 - 40);
    }
}

TEST(TreeSymbols, OnOffAndDataOnMagenta) {
    for (int id : {IDB_TREE_ON, IDB_TREE_OFF, IDB_TREE_DATA_LINK}) {
        SCOPED_TRACE(id);
        const Bitmap symbol = ReadBmp(FileOf(id));
        ASSERT_FALSE(symbol.pixels.empty());
        EXPECT_EQ(symbol.At(0, 0), kMagenta);
        EXPECT_EQ(symbol.At(symbol.width - 1, symbol.height - 1), kMagenta);
        const int drawn = static_cast<int>(symbol.pixels.size()) - symbol.Count(kMagenta);
        EXPECT_GT(drawn, 40) << "a symbol and a word";
    }
}

TEST(TreeSymbols, ExpanderPlusLeftMinusRight) {
    const Bitmap expander = ReadBmp(FileOf(IDB_TREE_EXPANDER));
    ASSERT_FALSE(expander.pixels.empty());
    constexpr Rgb kBlack{0, 0, 0};
    // Centre, the plus's vertical bar above it, and its place in the minus.
    EXPECT_EQ(expander.At(4, 4), kBlack);
    EXPECT_EQ(expander.At(4, 2), kBlack);
    EXPECT_EQ(expander.At(13, 4), kBlack);
    EXPECT_EQ(expander.At(13, 2), kWhite);
    EXPECT_EQ(expander.At(2, 2), kWhite);
}

std::vector<Bitmap> Cells(const Bitmap& strip) {
    std::vector<Bitmap> cells;
    for (int k = 0; k < 6; ++k) cells.push_back(strip.Crop(k * 12, 0, 12, 12));
    return cells;
}

TEST(GlyphStrips, SixStatesAllDifferent) {
    for (int id : {IDB_CHECK_GLYPHS, IDB_RADIO_GLYPHS}) {
        SCOPED_TRACE(id);
        const Bitmap strip = ReadBmp(FileOf(id));
        ASSERT_EQ(strip.width, 72);
        const std::vector<Bitmap> cells = Cells(strip);
        for (std::size_t a = 0; a < cells.size(); ++a) {
            for (std::size_t b = a + 1; b < cells.size(); ++b) {
                EXPECT_NE(cells[a].pixels, cells[b].pixels) << "states " << a << " and " << b;
            }
        }
    }
}

TEST(GlyphStrips, CheckBoxesOpaqueOnWhite) {
    const Bitmap strip = ReadBmp(FileOf(IDB_CHECK_GLYPHS));
    EXPECT_EQ(strip.Count(kMagenta), 0);
    // What a rounded corner leaves of the cell is white or a blend with it.
    for (const Bitmap& cell : Cells(strip)) EXPECT_GT(Luminance(cell.At(0, 0)), 0.7);
}

TEST(GlyphStrips, RadioMagentaOnlyOutsideTheCircle) {
    const std::vector<Bitmap> cells = Cells(ReadBmp(FileOf(IDB_RADIO_GLYPHS)));
    for (std::size_t k = 0; k < cells.size(); ++k) {
        SCOPED_TRACE(k);
        const Bitmap& cell = cells[k];
        for (auto [x, y] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}}) {
            EXPECT_EQ(cell.At(x, y), kMagenta) << x << "," << y;
        }
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                const double dx = x + 0.5 - 6;
                const double dy = y + 0.5 - 6;
                if (dx * dx + dy * dy < 5.0 * 5.0) {
                    EXPECT_NE(cell.At(x, y), kMagenta) << x << "," << y;
                }
            }
        }
    }
}

// Buttons are blitted opaquely: outside the pill they show what they stand on.
TEST(Buttons, CornersAreTheirBackdrop) {
    const Bitmap strip = ReadBmp(FileOf(IDB_ACCOUNT_STRIP_MIDDLE));
    ASSERT_FALSE(strip.pixels.empty());
    const Rgb stripFace = strip.At(0, strip.height / 2);
    struct Backdrop {
        std::vector<int> ids;
        Rgb colour;
    };
    const Backdrop backdrops[] = {
        {{IDB_MANUAL_NORMAL, IDB_MANUAL_HOVER, IDB_MANUAL_PRESSED, IDB_MANUAL_DISABLED,
          IDB_STOP_MANUAL_NORMAL, IDB_STOP_MANUAL_HOVER, IDB_STOP_MANUAL_PRESSED, IDB_AUTO_RUN,
          IDB_STOP_AUTO_RUN},
         stripFace},
        {{IDB_ANALYSE_NORMAL, IDB_ANALYSE_HOVER, IDB_ANALYSE_PRESSED, IDB_SAVE_NORMAL,
          IDB_SAVE_HOVER, IDB_SAVE_PRESSED},
         kWhite},
    };
    for (const Backdrop& backdrop : backdrops) {
        for (int id : backdrop.ids) {
            SCOPED_TRACE(id);
            const Bitmap button = ReadBmp(FileOf(id));
            ASSERT_FALSE(button.pixels.empty());
            EXPECT_EQ(button.Count(kMagenta), 0);
            EXPECT_EQ(button.At(0, 0), backdrop.colour);
            EXPECT_EQ(button.At(button.width - 1, 0), backdrop.colour);
            EXPECT_NE(button.At(6, button.height / 2), backdrop.colour);  // the face
        }
    }
}

TEST(Buttons, LooksDifferAndDisabledIsGrey) {
    const int looks[][3] = {{170, 169, 168}, {167, 172, 171}, {190, 192, 191}, {199, 201, 200}};
    for (const auto& look : looks) {
        const Bitmap normal = ReadBmp(FileOf(look[0]));
        const Bitmap hover = ReadBmp(FileOf(look[1]));
        const Bitmap pressed = ReadBmp(FileOf(look[2]));
        EXPECT_GT(MeanLuminance(hover), MeanLuminance(normal)) << look[0];
        EXPECT_LT(MeanLuminance(pressed), MeanLuminance(normal)) << look[0];
    }
    const Bitmap disabled = ReadBmp(FileOf(IDB_MANUAL_DISABLED));
    for (const Rgb& c : disabled.pixels) {
        EXPECT_LE(std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}), 6);
    }
}

TEST(CloseButton, CornersAreTheTopBandBehindIt) {
    const Bitmap top = ReadBmp(FileOf(IDB_SKIN_TOP));
    constexpr int kCloseTop = 3;
    for (int id : {IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER}) {
        SCOPED_TRACE(id);
        const Bitmap button = ReadBmp(FileOf(id));
        ASSERT_FALSE(button.pixels.empty());
        EXPECT_EQ(button.Count(kMagenta), 0);
        for (int y : {0, button.height - 1}) {
            EXPECT_EQ(button.At(0, y), top.At(0, kCloseTop + y));
            EXPECT_EQ(button.At(button.width - 1, y), top.At(0, kCloseTop + y));
        }
    }
    // Hover is the red face.
    const Bitmap hover = ReadBmp(FileOf(IDB_CLOSE_HOVER));
    const Rgb face = hover.At(5, 12);
    EXPECT_GT(face.r, 150);
    EXPECT_LT(face.g, 110);
    EXPECT_NE(ReadBmp(FileOf(IDB_CLOSE_NORMAL)).At(5, 12), face);
}

TEST(MenuPicture, LightEnoughForBlackText) {
    const Bitmap picture = ReadBmp(FileOf(IDB_MENU_PICTURE));
    ASSERT_FALSE(picture.pixels.empty());
    for (const Rgb& c : picture.pixels) ASSERT_GT(Luminance(c), 0.7);
}

}  // namespace
}  // namespace qv
