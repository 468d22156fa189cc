// Title and how-to-play screens: a frame of red blocks around an olive field. The title adds the
// block-letter logo and a little well with a falling piece; the how-to-play field stays empty for
// the rules text. Rows are scaled by 755/700 so blocks look square once the game squeezes the
// picture into its 700-row window.
#include "blocks.h"
#include "catalogue.h"

#include <cmath>
#include <string>

namespace img {

namespace {

constexpr int kW = 900;
constexpr int kH = 755;
constexpr int kCols = 36;
constexpr int kRows = 28;
constexpr double kCellW = static_cast<double>(kW) / kCols;
constexpr double kCellH = static_cast<double>(kH) / kRows;
constexpr double kStretch = 755.0 / 700.0;

constexpr double kLogoCellW = 22.0;
constexpr double kLogoCellH = kLogoCellW * kStretch;
constexpr double kLogoTop = 62.0;
constexpr int kGlyphSize = 5;

const Color kFrameRed = hex(0xC4262B);
const Color kBlack{0, 0, 0, 1};

// Block letters of the logo, five cells square.
struct Glyph {
    char letter;
    const char* rows[kGlyphSize];
};
constexpr Glyph kGlyphs[] = {
    {'K', {"#...#", "#..#.", "###..", "#..#.", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", ".###."}},
    {'L', {"#....", "#....", "#....", "#....", "#####"}},
    {'V', {"#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'E', {"#####", "#....", "####.", "#....", "#####"}},
    {'X', {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
};
const Color kLetterColours[] = {hex(0x2EC4E6), hex(0xF2D21C), hex(0xF28C1C),
                                hex(0x4CD15A), hex(0x4A78F0), hex(0xB04BE0)};

// The little well in the lower right: a settled stack and a piece on its way down.
constexpr int kWellCol = 22;
constexpr int kWellRow = 13;
constexpr int kWellCols = 12;
constexpr const char* kWellRowsMap[] = {
    "............", "............", "....ppp.....", ".....p......", "............",
    "............", "............", "............", "...........c", "g.........oc",
    "gg..yy..oooc", "bgrryy.bb..c", "bbbrr..bbgg.", "rrbbyyogggg."};

Color piece_colour(char k) {
    switch (k) {
    case 'c':
        return hex(0x2EC4E6);
    case 'y':
        return hex(0xF2D21C);
    case 'o':
        return hex(0xF28C1C);
    case 'g':
        return hex(0x4CD15A);
    case 'b':
        return hex(0x4A78F0);
    case 'p':
        return hex(0xB04BE0);
    default:
        return hex(0xE8545A);
    }
}

double row_edge(int r) {
    return std::floor(r * kCellH + 0.5);
}
double col_edge(int c) {
    return c * kCellW;
}

void draw_cell(Image& im, int c, int r, Color colour) {
    draw_block(im, col_edge(c), row_edge(r), col_edge(c + 1), row_edge(r + 1), colour,
               standard_bevel(kCellW));
}

Image frame_with_field(uint32_t top, uint32_t bottom) {
    Image im = make_image(kW, kH, hex(top));
    Color a = hex(top);
    Color b = hex(bottom);
    // Vertical gradient plus a soft shadow cast inward by the frame.
    paint(im, Box{0, 0, kW, kH}, [&](Vec2 p) {
        Color c = mix(a, b, p.y / kH);
        double inset = std::min(std::min(p.x - kCellW, kW - kCellW - p.x),
                                std::min(p.y - kCellH, kH - kCellH - p.y));
        double shade = 0.35 * (1.0 - smoothstep(0.0, 14.0, inset));
        return mix(c, kBlack, shade);
    });
    for (int c = 0; c < kCols; ++c) {
        draw_cell(im, c, 0, kFrameRed);
        draw_cell(im, c, kRows - 1, kFrameRed);
    }
    for (int r = 1; r < kRows - 1; ++r) {
        draw_cell(im, 0, r, kFrameRed);
        draw_cell(im, kCols - 1, r, kFrameRed);
    }
    return im;
}

void draw_logo(Image& im) {
    const int count = static_cast<int>(std::size(kGlyphs));
    double width = (count * (kGlyphSize + 1) - 1) * kLogoCellW;
    double left = (kW - width) / 2.0;
    const double shadow_dx = 6.0;
    const double shadow_dy = 7.0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int g = 0; g < count; ++g) {
            for (int r = 0; r < kGlyphSize; ++r) {
                for (int c = 0; c < kGlyphSize; ++c) {
                    if (kGlyphs[g].rows[r][c] != '#') {
                        continue;
                    }
                    double x = std::floor(left + (g * (kGlyphSize + 1) + c) * kLogoCellW);
                    double y = std::floor(kLogoTop + r * kLogoCellH + 0.5);
                    double y1 = std::floor(kLogoTop + (r + 1) * kLogoCellH + 0.5);
                    if (pass == 0) {
                        Vec2 mid{x + kLogoCellW / 2 + shadow_dx, (y + y1) / 2 + shadow_dy};
                        Vec2 half{kLogoCellW / 2, (y1 - y) / 2};
                        fill_shape(
                            im, box_around(mid, half.x, half.y),
                            [&](Vec2 p) { return sd_box(p, mid, half); },
                            [](Vec2) {
                                return Color{0.05f, 0.06f, 0.0f, 0.45f};
                            });
                    } else {
                        draw_block(im, x, y, x + kLogoCellW, y1, kLetterColours[g],
                                   standard_bevel(kLogoCellW));
                    }
                }
            }
        }
    }
}

void draw_well(Image& im) {
    const int rows = static_cast<int>(std::size(kWellRowsMap));
    double x0 = col_edge(kWellCol) - 6;
    double x1 = col_edge(kWellCol + kWellCols) + 6;
    double y0 = row_edge(kWellRow) - 6;
    double y1 = row_edge(kWellRow + rows);
    Vec2 mid{(x0 + x1) / 2, (y0 + y1) / 2};
    Vec2 half{(x1 - x0) / 2, (y1 - y0) / 2};
    fill_shape(
        im, box_around(mid, half.x, half.y), [&](Vec2 p) { return sd_box(p, mid, half); },
        [](Vec2) {
            return Color{0.0f, 0.02f, 0.0f, 0.42f};
        });
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < kWellCols; ++c) {
            char k = kWellRowsMap[r][c];
            if (k != '.') {
                draw_cell(im, kWellCol + c, kWellRow + r, piece_colour(k));
            }
        }
    }
    // Motion streaks above the falling piece, fading upward, show that it is dropping.
    const double streak_len = kCellH * 2.2;
    for (int c = 4; c < 7; ++c) {
        double xm = col_edge(kWellCol + c) + kCellW / 2;
        double bottom = row_edge(kWellRow + 2) - 3;
        Vec2 a{xm, bottom - streak_len};
        Vec2 b{xm, bottom};
        fill_shape(
            im,
            Box{static_cast<int>(xm - 4), static_cast<int>(a.y - 2), static_cast<int>(xm + 4),
                static_cast<int>(bottom + 2)},
            [&](Vec2 p) { return sd_segment(p, a, b, 0.6, 1.6); },
            [&](Vec2 p) {
                double t = clamp01((p.y - a.y) / streak_len);
                return Color{0.9f, 0.75f, 1.0f, static_cast<float>(0.55 * t)};
            });
    }
}

} // namespace

Image draw_title_background(int) {
    Image im = frame_with_field(0x56602A, 0x3A4219);
    draw_logo(im);
    draw_well(im);
    return im;
}

Image draw_how_to_play_background(int) {
    return frame_with_field(0x3A4119, 0x262B10);
}

} // namespace img
