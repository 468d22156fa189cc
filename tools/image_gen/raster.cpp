// Colour helpers, compositing and the distance functions behind every drawn shape.
#include "raster.h"

#include <cmath>

namespace img {

Image make_image(int w, int h, Color fill) {
    Image im;
    im.w = w;
    im.h = h;
    im.px.assign(static_cast<size_t>(w) * h, fill);
    return im;
}

Color hex(uint32_t rgb, double alpha) {
    return Color{((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f,
                 static_cast<float>(alpha)};
}

Color mix(Color a, Color b, double t) {
    return Color{static_cast<float>(lerp(a.r, b.r, t)), static_cast<float>(lerp(a.g, b.g, t)),
                 static_cast<float>(lerp(a.b, b.b, t)), static_cast<float>(lerp(a.a, b.a, t))};
}

Color scale(Color c, double k) {
    return Color{static_cast<float>(clamp01(c.r * k)), static_cast<float>(clamp01(c.g * k)),
                 static_cast<float>(clamp01(c.b * k)), c.a};
}

Color gradient(const std::vector<Stop>& stops, double t) {
    if (t <= stops.front().t) {
        return stops.front().c;
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].t) {
            double u = (t - stops[i - 1].t) / (stops[i].t - stops[i - 1].t);
            return mix(stops[i - 1].c, stops[i].c, smoothstep(0.0, 1.0, u));
        }
    }
    return stops.back().c;
}

void blend(Image& im, int x, int y, Color c, double coverage) {
    double sa = clamp01(c.a * coverage);
    if (sa <= 0.0) {
        return;
    }
    Color& d = im.at(x, y);
    double da = d.a * (1.0 - sa);
    double oa = sa + da;
    d.r = static_cast<float>((c.r * sa + d.r * da) / oa);
    d.g = static_cast<float>((c.g * sa + d.g * da) / oa);
    d.b = static_cast<float>((c.b * sa + d.b * da) / oa);
    d.a = static_cast<float>(oa);
}

uint8_t to_byte(double v) {
    return static_cast<uint8_t>(std::floor(clamp01(v) * 255.0 + 0.5));
}

// sqrt rather than std::hypot: sqrt is exactly rounded by IEEE 754, hypot is not.
double length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

double sd_circle(Vec2 p, Vec2 c, double r) {
    return length(p.x - c.x, p.y - c.y) - r;
}

double sd_ellipse(Vec2 p, Vec2 c, double rx, double ry) {
    double nx = (p.x - c.x) / rx;
    double ny = (p.y - c.y) / ry;
    double len = std::sqrt(nx * nx + ny * ny);
    return (len - 1.0) * std::min(rx, ry);
}

double sd_box(Vec2 p, Vec2 c, Vec2 half) {
    double dx = std::fabs(p.x - c.x) - half.x;
    double dy = std::fabs(p.y - c.y) - half.y;
    double ox = std::max(dx, 0.0);
    double oy = std::max(dy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(dx, dy), 0.0);
}

double sd_segment(Vec2 p, Vec2 a, Vec2 b, double r0, double r1) {
    double bx = b.x - a.x;
    double by = b.y - a.y;
    double px = p.x - a.x;
    double py = p.y - a.y;
    double t = clamp01((px * bx + py * by) / (bx * bx + by * by));
    return length(px - bx * t, py - by * t) - lerp(r0, r1, t);
}

double sd_polygon(Vec2 p, const std::vector<Vec2>& v) {
    double d = (p.x - v[0].x) * (p.x - v[0].x) + (p.y - v[0].y) * (p.y - v[0].y);
    double s = 1.0;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        double ex = v[j].x - v[i].x;
        double ey = v[j].y - v[i].y;
        double wx = p.x - v[i].x;
        double wy = p.y - v[i].y;
        double t = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        double bx = wx - ex * t;
        double by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        bool c1 = p.y >= v[i].y;
        bool c2 = p.y < v[j].y;
        bool c3 = ex * wy > ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) {
            s = -s;
        }
    }
    return s * std::sqrt(d);
}

Box clip(const Image& im, Box b) {
    return Box{std::max(0, b.x0), std::max(0, b.y0), std::min(im.w, b.x1), std::min(im.h, b.y1)};
}

namespace {

struct Tap {
    int src;
    double weight;
};

// For each of the `dst` new pixels along one axis, the old pixels it covers and their weights.
// Old pixel i spans [i*dst, (i+1)*dst) and new pixel o spans [o*src, (o+1)*src) in units of
// 1/(src*dst) pixel, so every overlap is a whole number and the weights of a pixel sum to one.
std::vector<std::vector<Tap>> area_taps(int src, int dst) {
    std::vector<std::vector<Tap>> taps(dst);
    for (int o = 0; o < dst; ++o) {
        long lo = static_cast<long>(o) * src;
        long hi = lo + src;
        for (int i = static_cast<int>(lo / dst); i < src && static_cast<long>(i) * dst < hi; ++i) {
            long overlap = std::min(hi, (i + 1L) * dst) - std::max(lo, static_cast<long>(i) * dst);
            if (overlap > 0) {
                taps[o].push_back(Tap{i, static_cast<double>(overlap) / src});
            }
        }
    }
    return taps;
}

struct Premul {
    double r = 0, g = 0, b = 0, a = 0;
};

} // namespace

Image downsample_area(const Image& src, int w, int h) {
    std::vector<std::vector<Tap>> tx = area_taps(src.w, w);
    std::vector<std::vector<Tap>> ty = area_taps(src.h, h);
    // Across first, into w x src.h, then down.
    std::vector<Premul> rows(static_cast<size_t>(w) * src.h);
    for (int y = 0; y < src.h; ++y) {
        for (int x = 0; x < w; ++x) {
            Premul acc;
            for (const Tap& t : tx[x]) {
                const Color& c = src.at(t.src, y);
                double a = c.a * t.weight;
                acc.r += c.r * a;
                acc.g += c.g * a;
                acc.b += c.b * a;
                acc.a += a;
            }
            rows[static_cast<size_t>(y) * w + x] = acc;
        }
    }
    Image out = make_image(w, h, Color{0, 0, 0, 0});
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Premul acc;
            for (const Tap& t : ty[y]) {
                const Premul& p = rows[static_cast<size_t>(t.src) * w + x];
                acc.r += p.r * t.weight;
                acc.g += p.g * t.weight;
                acc.b += p.b * t.weight;
                acc.a += p.a * t.weight;
            }
            if (acc.a > 0.0) {
                out.at(x, y) =
                    Color{static_cast<float>(acc.r / acc.a), static_cast<float>(acc.g / acc.a),
                          static_cast<float>(acc.b / acc.a), static_cast<float>(acc.a)};
            }
        }
    }
    return out;
}

Box box_around(Vec2 c, double rx, double ry) {
    return Box{
        static_cast<int>(std::floor(c.x - rx - 2)), static_cast<int>(std::floor(c.y - ry - 2)),
        static_cast<int>(std::ceil(c.x + rx + 2)), static_cast<int>(std::ceil(c.y + ry + 2))};
}

} // namespace img
