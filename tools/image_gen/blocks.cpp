// Bevelled block rendering, supersampled per pixel so the facet seams stay clean at any size.
#include "blocks.h"

#include <cmath>

namespace img {

namespace {

constexpr int kSub = 3; // samples per axis inside each pixel
constexpr double kBevelFraction = 0.2;
const Color kWhite{1, 1, 1, 1};

Color facet_colour(double u, double v, double w, double h, Color base, Bevel b) {
    double left = u;
    double right = w - u;
    double top = v;
    double bottom = h - v;
    double nearest = std::min(std::min(left, right), std::min(top, bottom));
    if (nearest >= b.width) {
        // The face brightens slightly toward the top so it does not look printed flat.
        return mix(base, kWhite, 0.12 * (1.0 - v / h));
    }
    if (nearest == top) {
        return mix(base, kWhite, b.top_light);
    }
    if (nearest == left) {
        return mix(base, kWhite, b.left_light);
    }
    if (nearest == right) {
        return scale(base, b.right_dark);
    }
    return scale(base, b.bottom_dark);
}

} // namespace

Bevel standard_bevel(double block_size) {
    return Bevel{block_size * kBevelFraction, 0.5, 0.28, 0.72, 0.52};
}

void draw_block(Image& im, double x0, double y0, double x1, double y1, Color base, Bevel bevel) {
    Box area = clip(im, Box{static_cast<int>(std::floor(x0)), static_cast<int>(std::floor(y0)),
                            static_cast<int>(std::ceil(x1)), static_cast<int>(std::ceil(y1))});
    double w = x1 - x0;
    double h = y1 - y0;
    for (int y = area.y0; y < area.y1; ++y) {
        for (int x = area.x0; x < area.x1; ++x) {
            double r = 0, g = 0, bl = 0;
            int inside = 0;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    double u = x + (sx + 0.5) / kSub - x0;
                    double v = y + (sy + 0.5) / kSub - y0;
                    if (u < 0 || v < 0 || u >= w || v >= h) {
                        continue;
                    }
                    Color c = facet_colour(u, v, w, h, base, bevel);
                    r += c.r;
                    g += c.g;
                    bl += c.b;
                    ++inside;
                }
            }
            if (inside > 0) {
                Color avg{static_cast<float>(r / inside), static_cast<float>(g / inside),
                          static_cast<float>(bl / inside), base.a};
                blend(im, x, y, avg, static_cast<double>(inside) / (kSub * kSub));
            }
        }
    }
}

} // namespace img
