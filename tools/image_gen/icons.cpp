// The window icon (a round badge holding a four-block piece) and the grey block texture that the
// game tints with each piece colour.
#include "blocks.h"
#include "catalogue.h"

#include <cmath>

namespace img {

namespace {

constexpr int kIconSize = 600;
constexpr double kBadgeRadius = 292.0;
constexpr double kRingWidth = 30.0;
constexpr double kPieceCell = 118.0;
constexpr int kBlockSize = 32;
constexpr double kBlockHalf = kBlockSize / 2.0;

// Grey levels of the block texture's facets, lit from the upper left. Kept bright because the
// game multiplies them by the piece colour.
constexpr int kLeftGrey = 250;
constexpr int kTopGrey = 214;
constexpr int kRightGrey = 152;
constexpr int kBottomGrey = 128;
constexpr int kFacetFalloff = 18; // how much darker a facet gets toward the centre
constexpr int kFalloffSteps = 4;

Color grey(int level) {
    float v = level / 255.0f;
    return Color{v, v, v, 1};
}

// Returns the grey level of the facet under pixel centre (u, v), measured from the block centre.
int block_level(double u, double v) {
    double left = u + kBlockHalf;
    double right = kBlockHalf - u;
    double top = v + kBlockHalf;
    double bottom = kBlockHalf - v;
    double nearest = std::min(std::min(left, right), std::min(top, bottom));
    int step = static_cast<int>(nearest / kBlockHalf * kFalloffSteps);
    int dim = kFacetFalloff * step / kFalloffSteps;
    if (nearest == top && top <= left) {
        return kTopGrey - dim;
    }
    if (nearest == left) {
        return kLeftGrey - dim;
    }
    if (nearest == right && right < bottom) {
        return kRightGrey - dim;
    }
    return kBottomGrey - dim / 2;
}

Color ring_colour(Vec2 p) {
    // Brushed-gold rim, brighter at the top where the light comes from.
    double t = clamp01(p.y / kIconSize);
    return gradient({{0.0, hex(0xFFE9A8)}, {0.45, hex(0xE0A93A)}, {1.0, hex(0x8A5A14)}}, t);
}

Color disc_colour(Vec2 p) {
    double dx = p.x - 230.0;
    double dy = p.y - 210.0;
    double t = clamp01(std::sqrt(dx * dx + dy * dy) / 330.0);
    return gradient({{0.0, hex(0x2E4C8C)}, {1.0, hex(0x0C1430)}}, t);
}

void draw_piece_shadow(Image& im, const Vec2* cells, int count) {
    const double soft = 22.0;
    for (int i = 0; i < count; ++i) {
        Vec2 c{cells[i].x + kPieceCell / 2 + 14, cells[i].y + kPieceCell / 2 + 18};
        Vec2 half{kPieceCell / 2 - soft / 2, kPieceCell / 2 - soft / 2};
        paint(im, box_around(c, kPieceCell, kPieceCell), [&](Vec2 p) {
            double d = sd_box(p, c, half);
            double a = 0.28 * (1.0 - smoothstep(-soft / 2, soft, d));
            return Color{0.02f, 0.03f, 0.08f, static_cast<float>(a)};
        });
    }
}

} // namespace

Image draw_icon(int) {
    Vec2 centre{kIconSize / 2.0, kIconSize / 2.0};
    Image im = make_image(kIconSize, kIconSize, hex(0x8A5A14));
    paint(im, Box{0, 0, kIconSize, kIconSize}, ring_colour);
    double inner = kBadgeRadius - kRingWidth;
    fill_shape(
        im, box_around(centre, inner + 6, inner + 6),
        [&](Vec2 p) { return sd_circle(p, centre, inner + 4); },
        [](Vec2) { return hex(0x3A2406); });
    fill_shape(
        im, box_around(centre, inner, inner), [&](Vec2 p) { return sd_circle(p, centre, inner); },
        disc_colour);

    const Vec2 cells[] = {{120, 190}, {238, 190}, {356, 190}, {238, 308}};
    const Color colours[] = {hex(0x2EC4E6), hex(0xB04BE0), hex(0xF2A81C), hex(0x4CD15A)};
    draw_piece_shadow(im, cells, 4);
    for (int i = 0; i < 4; ++i) {
        draw_block(im, cells[i].x, cells[i].y, cells[i].x + kPieceCell, cells[i].y + kPieceCell,
                   colours[i], standard_bevel(kPieceCell));
    }
    // A faint gloss across the upper half of the disc.
    paint(im, box_around(centre, inner, inner), [&](Vec2 p) {
        double d = sd_ellipse(p, Vec2{centre.x, centre.y - 120}, inner * 0.85, inner * 0.55);
        double inside = coverage_of(sd_circle(p, centre, inner));
        double a = 0.07 * (1.0 - smoothstep(-30.0, 2.0, d)) * inside;
        return Color{1, 1, 1, static_cast<float>(a)};
    });
    // Cut the badge out of the square: everything beyond the rim becomes fully transparent.
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            double cov = coverage_of(sd_circle(Vec2{x + 0.5, y + 0.5}, centre, kBadgeRadius));
            im.at(x, y).a = static_cast<float>(im.at(x, y).a * cov);
        }
    }
    return im;
}

Image draw_block_texture(int) {
    Image im = make_image(kBlockSize, kBlockSize, Color{0, 0, 0, 0});
    for (int y = 0; y < kBlockSize; ++y) {
        for (int x = 0; x < kBlockSize; ++x) {
            bool corner = (x == 0 || x == kBlockSize - 1) && (y == 0 || y == kBlockSize - 1);
            if (!corner) {
                im.at(x, y) = grey(block_level(x + 0.5 - kBlockHalf, y + 0.5 - kBlockHalf));
            }
        }
    }
    return im;
}

Image draw_window_icon(int side) {
    return downsample_area(draw_icon(0), side, side);
}

} // namespace img
