#include "PixelFont.h"

#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace qv::res {
namespace {

constexpr int kRows = kCapHeight + kDescent;

// Each glyph's rows from the capitals' top down, '|' between rows; rows left
// out at the end are empty. Every row of a glyph has the glyph's width.
struct GlyphSource {
    char letter;
    std::string_view rows;
};

constexpr GlyphSource kGlyphs[] = {
    {'A', ".###.|#...#|#...#|#####|#...#|#...#|#...#"},
    {'B', "####.|#...#|#...#|####.|#...#|#...#|####."},
    {'C', ".###.|#...#|#....|#....|#....|#...#|.###."},
    {'D', "####.|#...#|#...#|#...#|#...#|#...#|####."},
    {'E', "#####|#....|#....|####.|#....|#....|#####"},
    {'F', "#####|#....|#....|####.|#....|#....|#...."},
    {'G', ".###.|#...#|#....|#.###|#...#|#...#|.####"},
    {'H', "#...#|#...#|#...#|#####|#...#|#...#|#...#"},
    {'I', "###|.#.|.#.|.#.|.#.|.#.|###"},
    {'J', "..###|...#.|...#.|...#.|...#.|#..#.|.##.."},
    {'K', "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#"},
    {'L', "#....|#....|#....|#....|#....|#....|#####"},
    {'M', "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#"},
    {'N', "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#"},
    {'O', ".###.|#...#|#...#|#...#|#...#|#...#|.###."},
    {'P', "####.|#...#|#...#|####.|#....|#....|#...."},
    {'Q', ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#"},
    {'R', "####.|#...#|#...#|####.|#.#..|#..#.|#...#"},
    {'S', ".####|#....|#....|.###.|....#|....#|####."},
    {'T', "#####|..#..|..#..|..#..|..#..|..#..|..#.."},
    {'U', "#...#|#...#|#...#|#...#|#...#|#...#|.###."},
    {'V', "#...#|#...#|#...#|#...#|#...#|.#.#.|..#.."},
    {'W', "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#."},
    {'X', "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#"},
    {'Y', "#...#|#...#|.#.#.|..#..|..#..|..#..|..#.."},
    {'Z', "#####|....#|...#.|..#..|.#...|#....|#####"},
    {'a', ".....|.....|.###.|....#|.####|#...#|.####"},
    {'b', "#....|#....|####.|#...#|#...#|#...#|####."},
    {'c', "....|....|.###|#...|#...|#...|.###"},
    {'d', "....#|....#|.####|#...#|#...#|#...#|.####"},
    {'e', ".....|.....|.###.|#...#|#####|#....|.###."},
    {'f', "..##|.#..|####|.#..|.#..|.#..|.#.."},
    {'g', ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###."},
    {'h', "#....|#....|####.|#...#|#...#|#...#|#...#"},
    {'i', "#|.|#|#|#|#|#"},
    {'j', "..#|...|..#|..#|..#|..#|..#|#.#|.#."},
    {'k', "#...|#...|#..#|#.#.|##..|#.#.|#..#"},
    {'l', "#|#|#|#|#|#|#"},
    {'m', ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#"},
    {'n', ".....|.....|#.##.|##..#|#...#|#...#|#...#"},
    {'o', ".....|.....|.###.|#...#|#...#|#...#|.###."},
    {'p', ".....|.....|####.|#...#|#...#|#...#|####.|#....|#...."},
    {'q', ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#"},
    {'r', "....|....|#.##|##..|#...|#...|#..."},
    {'s', ".....|.....|.####|#....|.###.|....#|####."},
    {'t', ".#..|.#..|####|.#..|.#..|.#..|..##"},
    {'u', ".....|.....|#...#|#...#|#...#|#..##|.##.#"},
    {'v', ".....|.....|#...#|#...#|#...#|.#.#.|..#.."},
    {'w', ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#."},
    {'x', ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#"},
    {'y', ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###."},
    {'z', ".....|.....|#####|...#.|..#..|.#...|#####"},
    {'0', ".###.|#...#|#..##|#.#.#|##..#|#...#|.###."},
    {'1', "..#..|.##..|..#..|..#..|..#..|..#..|.###."},
    {'2', ".###.|#...#|....#|...#.|..#..|.#...|#####"},
    {'3', "#####|...#.|..#..|...#.|....#|#...#|.###."},
    {'4', "...#.|..##.|.#.#.|#..#.|#####|...#.|...#."},
    {'5', "#####|#....|####.|....#|....#|#...#|.###."},
    {'6', "..##.|.#...|#....|####.|#...#|#...#|.###."},
    {'7', "#####|....#|...#.|..#..|.#...|.#...|.#..."},
    {'8', ".###.|#...#|#...#|.###.|#...#|#...#|.###."},
    {'9', ".###.|#...#|#...#|.####|....#|...#.|.##.."},
    {' ', "...|...|...|...|...|...|..."},
    {'.', ".|.|.|.|.|.|#"},
    {',', "..|..|..|..|..|..|.#|#."},
    {':', ".|.|#|.|.|#|."},
    {'-', "....|....|....|####|....|....|...."},
    {'+', ".....|..#..|..#..|#####|..#..|..#..|....."},
    {'/', "....#|...#.|...#.|..#..|.#...|.#...|#...."},
    {'(', "..#|.#.|#..|#..|#..|.#.|..#"},
    {')', "#..|.#.|..#|..#|..#|.#.|#.."},
    {'!', "#|#|#|#|#|.|#"},
    {'?', ".###.|#...#|....#|...#.|..#..|.....|..#.."},
    {'\'', "#|#|.|.|.|.|."},
};

struct Glyph {
    int width = 0;
    std::array<std::vector<bool>, kRows> rows;  // rows[y][x]
};

Glyph Parse(const GlyphSource& source) {
    Glyph glyph;
    std::string_view rest = source.rows;
    for (int y = 0; !rest.empty(); ++y) {
        const std::size_t bar = rest.find('|');
        const std::string_view row = rest.substr(0, bar);
        if (y == 0) glyph.width = static_cast<int>(row.size());
        if (y >= kRows || static_cast<int>(row.size()) != glyph.width) {
            throw std::logic_error(std::string("malformed glyph '") + source.letter + "'");
        }
        for (char c : row) glyph.rows[static_cast<std::size_t>(y)].push_back(c == '#');
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    for (auto& row : glyph.rows) row.resize(static_cast<std::size_t>(glyph.width), false);
    return glyph;
}

const Glyph& Find(char letter) {
    static const std::array<std::optional<Glyph>, 128> table = [] {
        std::array<std::optional<Glyph>, 128> glyphs;
        for (const GlyphSource& source : kGlyphs) {
            glyphs[static_cast<unsigned char>(source.letter)] = Parse(source);
        }
        return glyphs;
    }();
    const auto code = static_cast<unsigned char>(letter);
    if (code >= table.size() || !table[code]) {
        throw std::invalid_argument(std::string("the pixel font has no '") + letter + "'");
    }
    return *table[code];
}

int Advance(const Glyph& glyph, TextStyle style) {
    return glyph.width + (style.bold ? 1 : 0);
}

}  // namespace

int TextWidth(const std::string& text, TextStyle style) {
    int width = 0;
    for (char letter : text) width += Advance(Find(letter), style) + 1;
    return text.empty() ? 0 : width - 1;
}

Shape TextShape(const std::string& text, int left, int top, TextStyle style) {
    // One row of pixels per text row, laid out once.
    const int width = TextWidth(text, style);
    auto lit = std::make_shared<std::vector<std::vector<bool>>>(
        kRows, std::vector<bool>(static_cast<std::size_t>(width), false));
    int x = 0;
    for (char letter : text) {
        const Glyph& glyph = Find(letter);
        for (int y = 0; y < kRows; ++y) {
            for (int gx = 0; gx < glyph.width; ++gx) {
                if (!glyph.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(gx)]) {
                    continue;
                }
                auto& row = (*lit)[static_cast<std::size_t>(y)];
                row[static_cast<std::size_t>(x + gx)] = true;
                if (style.bold) row[static_cast<std::size_t>(x + gx + 1)] = true;
            }
        }
        x += Advance(glyph, style) + 1;
    }
    return [lit, left, top, width](double px, double py) {
        const double fx = px - left;
        const double fy = py - top;
        if (fx < 0 || fy < 0 || fx >= width || fy >= kRows) return false;
        return static_cast<bool>(
            (*lit)[static_cast<std::size_t>(fy)][static_cast<std::size_t>(fx)]);
    };
}

TextOrigin CentreText(const std::string& text, int boxLeft, int boxTop, int boxWidth, int boxHeight,
                      TextStyle style) {
    return {boxLeft + (boxWidth - TextWidth(text, style)) / 2,
            boxTop + (boxHeight - kCapHeight) / 2};
}

}  // namespace qv::res
