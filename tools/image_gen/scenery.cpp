// Shared scenery shapes for the backgrounds.
#include "scenery.h"

#include <cmath>

namespace img {

void fill_sky(Image& im, const std::vector<Stop>& stops, int y0, int y1) {
    for (int y = y0; y < y1 && y < im.h; ++y) {
        Color c = gradient(stops, (y + 0.5 - y0) / (y1 - y0));
        for (int x = 0; x < im.w; ++x) {
            im.at(x, y) = c;
        }
    }
}

void add_glow(Image& im, Vec2 c, double rx, double ry, Color colour, double strength) {
    paint(im, box_around(c, rx, ry), [&](Vec2 p) {
        double dx = (p.x - c.x) / rx;
        double dy = (p.y - c.y) / ry;
        double d = clamp01(1.0 - std::sqrt(dx * dx + dy * dy));
        Color out = colour;
        out.a = static_cast<float>(strength * d * d);
        return out;
    });
}

void draw_sun(Image& im, Vec2 c, double r, Color inner, Color outer) {
    fill_shape(
        im, box_around(c, r, r * kTall), [&](Vec2 p) { return sd_ellipse(p, c, r, r * kTall); },
        [&](Vec2 p) {
            double dx = (p.x - c.x) / r;
            double dy = (p.y - c.y) / (r * kTall);
            return mix(inner, outer, clamp01(dx * dx + dy * dy));
        });
}

Puffs make_puffs(Rng& rng, Vec2 centre, double width, double height, int count) {
    Puffs p;
    p.base = centre.y + height * 0.35;
    for (int i = 0; i < count; ++i) {
        double u = (i + 0.5) / count - 0.5;
        // Puffs are biggest in the middle so the outline swells like a cumulus.
        double r = height * (0.55 + 0.35 * uniform(rng)) * (1.0 - 0.9 * u * u * 2.0);
        double x = centre.x + u * width + uniform(rng, -0.08, 0.08) * width;
        double y = p.base - r * uniform(rng, 0.35, 0.8);
        p.centre.push_back(Vec2{x, y});
        p.radius.push_back(r);
    }
    return p;
}

double sd_puffs(const Puffs& p, Vec2 q) {
    double d = 1e9;
    for (size_t i = 0; i < p.centre.size(); ++i) {
        d = std::min(d, sd_ellipse(q, p.centre[i], p.radius[i] * 1.25, p.radius[i]));
    }
    return std::max(d, q.y - p.base);
}

void draw_puffs(Image& im, const Puffs& p, Color top, Color under, double soft) {
    double x0 = 1e9, x1 = -1e9, y0 = 1e9;
    for (size_t i = 0; i < p.centre.size(); ++i) {
        x0 = std::min(x0, p.centre[i].x - p.radius[i] * 1.25);
        x1 = std::max(x1, p.centre[i].x + p.radius[i] * 1.25);
        y0 = std::min(y0, p.centre[i].y - p.radius[i]);
    }
    Box area{static_cast<int>(x0 - soft - 2), static_cast<int>(y0 - soft - 2),
             static_cast<int>(x1 + soft + 2), static_cast<int>(p.base + soft + 2)};
    double height = p.base - y0;
    fill_shape(
        im, area, [&](Vec2 q) { return sd_puffs(p, q) / soft; },
        [&](Vec2 q) {
            double t = clamp01((q.y - y0) / height);
            return mix(top, under, smoothstep(0.25, 1.0, t));
        });
}

double ridge_height(const Range& r, double x) {
    double lift = 0.0;
    for (const Peak& pk : r.peaks) {
        double u = 1.0 - std::fabs(x - pk.x) / pk.width;
        if (u > 0) {
            // Concave flanks: steep near the summit, flattening toward the valleys.
            double shape = u * u * (1.6 - 0.6 * u);
            lift = std::max(lift, (r.base - pk.top) * shape);
        }
    }
    // Detail fades out where the land is flat so bare horizons stay clean.
    double detail = (fbm1(x / 37.0, 4, r.seed) - 0.5) * 2.0 * r.roughness;
    return r.base - lift + detail * smoothstep(0.0, 30.0, lift);
}

} // namespace img

namespace img {

void draw_streak(Image& im, Vec2 centre, double length, double thickness, Color top, Color under,
                 uint32_t seed) {
    const double soft = 7.0;
    double half = length / 2;
    Box area{static_cast<int>(centre.x - half - soft), static_cast<int>(centre.y - thickness * 2.5),
             static_cast<int>(centre.x + half + soft), static_cast<int>(centre.y + thickness * 2)};
    auto wobble = [&](double x) { return (fbm1(x / 90.0, 3, seed) - 0.5) * thickness * 1.6; };
    auto band = [&](double x) {
        double u = (x - centre.x) / half;
        double swell = clamp01(1.0 - u * u);
        return thickness * swell * (0.55 + 0.9 * fbm1(x / 55.0, 3, seed + 1));
    };
    fill_shape(
        im, area,
        [&](Vec2 p) {
            // Flat-ish underside, rounded top: the band reaches higher than it hangs.
            double mid = centre.y + wobble(p.x);
            double b = band(p.x);
            double d = p.y < mid ? (mid - p.y) - b : (p.y - mid) - b * 0.45;
            return d / soft;
        },
        [&](Vec2 p) {
            double mid = centre.y + wobble(p.x);
            double b = std::max(band(p.x), 1.0);
            return mix(top, under, smoothstep(-0.9, 0.5, (p.y - mid) / b));
        });
}

double flank_light(const Range& r, Vec2 p) {
    double sum = 0.0;
    double weight = 0.0;
    for (const Peak& pk : r.peaks) {
        double u = 1.0 - std::fabs(p.x - pk.x) / pk.width;
        if (u <= 0) {
            continue;
        }
        double u4 = u * u * u * u;
        double w = u4 * u4 * u4 * (r.base - pk.top);
        // The crest runs nearly straight down from the summit, with a gentle wander.
        double crest =
            pk.x - (p.y - pk.top) * 0.03 + (fbm1(p.y / 90.0, 2, r.seed + 9) - 0.5) * 24.0;
        sum += w * smoothstep(10.0, -10.0, p.x - crest);
        weight += w;
    }
    return weight > 0 ? sum / weight : 0.5;
}

} // namespace img
