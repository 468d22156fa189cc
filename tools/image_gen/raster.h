// A small floating-point canvas with anti-aliased shape filling. Shapes are signed distance
// functions in pixel units; coverage comes from the distance at each pixel centre, which gives
// smooth edges without supersampling the whole picture.
#pragma once

#include "mathx.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace img {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

struct Image {
    int w = 0;
    int h = 0;
    std::vector<Color> px;
    Color& at(int x, int y) { return px[static_cast<size_t>(y) * w + x]; }
    const Color& at(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

struct Vec2 {
    double x = 0, y = 0;
};

struct Box {
    int x0, y0, x1, y1; // half-open pixel range
};

struct Stop {
    double t;
    Color c;
};

Image make_image(int w, int h, Color fill);
Color hex(uint32_t rgb, double alpha = 1.0);
Color mix(Color a, Color b, double t);
Color scale(Color c, double k); // brightness, alpha kept
Color gradient(const std::vector<Stop>& stops, double t);
void blend(Image& im, int x, int y, Color c, double coverage);
uint8_t to_byte(double v);

double length(double x, double y);

inline double coverage_of(double dist) {
    return clamp01(0.5 - dist);
}

double sd_circle(Vec2 p, Vec2 c, double r);
double sd_ellipse(Vec2 p, Vec2 c, double rx, double ry); // approximate, fine for soft shapes
double sd_box(Vec2 p, Vec2 c, Vec2 half);
double sd_segment(Vec2 p, Vec2 a, Vec2 b, double r0, double r1); // tapered capsule
double sd_polygon(Vec2 p, const std::vector<Vec2>& poly);

Box clip(const Image& im, Box b);

// Shrinks a picture to w x h with an exact area (box) filter: each new pixel is the average of the
// old pixels under it, weighted by how much of each it covers. Colours are averaged with their
// alpha premultiplied, so fully transparent pixels add nothing to the edge colour.
Image downsample_area(const Image& src, int w, int h);
Box box_around(Vec2 c, double rx, double ry);

// Fills every pixel of `area` whose shape coverage is non-zero with shade(x, y).
template <class Sdf, class Shade> void fill_shape(Image& im, Box area, Sdf&& sdf, Shade&& shade) {
    Box b = clip(im, area);
    for (int y = b.y0; y < b.y1; ++y) {
        for (int x = b.x0; x < b.x1; ++x) {
            Vec2 p{x + 0.5, y + 0.5};
            double cov = coverage_of(sdf(p));
            if (cov > 0.0) {
                blend(im, x, y, shade(p), cov);
            }
        }
    }
}

// Paints shade(x, y) over a rectangle, with the colour's own alpha deciding the mix.
template <class Shade> void paint(Image& im, Box area, Shade&& shade) {
    Box b = clip(im, area);
    for (int y = b.y0; y < b.y1; ++y) {
        for (int x = b.x0; x < b.x1; ++x) {
            blend(im, x, y, shade(Vec2{x + 0.5, y + 0.5}), 1.0);
        }
    }
}

// Fills the region below a height profile top(x) (a ridge, a hill line) down to the bottom row.
template <class Top, class Shade> void fill_below(Image& im, Top&& top, Shade&& shade) {
    for (int x = 0; x < im.w; ++x) {
        double xc = x + 0.5;
        double h = top(xc);
        double slope = (top(xc + 0.5) - top(xc - 0.5));
        double norm = std::sqrt(1.0 + slope * slope);
        int y0 = std::max(0, static_cast<int>(std::floor(h - norm - 1.0)));
        for (int y = y0; y < im.h; ++y) {
            double cov = clamp01((y + 0.5 - h) / norm + 0.5);
            if (cov > 0.0) {
                blend(im, x, y, shade(Vec2{xc, y + 0.5}), cov);
            }
        }
    }
}

} // namespace img
