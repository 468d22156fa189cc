// Backgrounds with water in them: a beach with a palm at dusk, an open-sea sunset and a waterfall
// in a rocky gorge. The subject of each sits on the right, where the game shows the picture
// undimmed beside the playfield.
#include "catalogue.h"
#include "scenery.h"

#include <cmath>

namespace img {

namespace {

constexpr int kSize = 1280;
const Color kWhite{1, 1, 1, 1};

// --- shared water --------------------------------------------------------------------------

// Sea below the horizon with a broken, shimmering reflection column under the sun.
void draw_sea(Image& im, int horizon, Color near_sun, Color deep, double sun_x, uint32_t seed) {
    for (int y = horizon; y < kSize; ++y) {
        double depth = (y + 0.5 - horizon) / (kSize - horizon);
        Color row = mix(near_sun, deep, smoothstep(0.0, 0.75, depth));
        double half = 40.0 + depth * 260.0;
        for (int x = 0; x < kSize; ++x) {
            Color c = row;
            double dx = std::fabs(x + 0.5 - sun_x) / half;
            if (dx < 1.0) {
                double wave = value_noise(x / (18.0 + depth * 40.0), y / (3.0 + depth * 6.0), seed);
                double glint = smoothstep(0.55, 0.8, wave) * (1.0 - dx * dx) * (1.0 - depth * 0.7);
                c = mix(c, near_sun, 0.6 * glint);
                c = mix(c, kWhite, 0.25 * glint * (1.0 - depth));
            }
            im.at(x, y) = c;
        }
    }
}

// --- beach ---------------------------------------------------------------------------------

constexpr int kBeachHorizon = 700;

double shore_y(double x) {
    return 1010.0 - x * 0.085 + 14.0 * dsin(x / 95.0);
}

Vec2 bezier(Vec2 a, Vec2 b, Vec2 c, double t) {
    double u = 1.0 - t;
    return Vec2{u * u * a.x + 2 * u * t * b.x + t * t * c.x,
                u * u * a.y + 2 * u * t * b.y + t * t * c.y};
}

void draw_sand(Image& im) {
    Color lit = hex(0xE9B989);
    Color dark = hex(0xA87850);
    Color wet = hex(0xB88A68);
    fill_below(im, shore_y, [&](Vec2 p) {
        double below = p.y - shore_y(p.x);
        Color c = mix(lit, dark, smoothstep(0.0, 380.0, below + (kSize - p.x) * 0.15));
        return mix(wet, c, smoothstep(2.0, 26.0, below));
    });
    // Foam where the waves run up, and a fainter line further out.
    for (int line = 0; line < 2; ++line) {
        double off = line == 0 ? -2.0 : -26.0;
        double alpha = line == 0 ? 0.75 : 0.3;
        paint(im, Box{0, 850, kSize, 1040}, [&](Vec2 p) {
            double edge = shore_y(p.x) + off + 5.0 * dsin(p.x / 31.0 + line);
            double d = std::fabs(p.y - edge);
            double a = alpha * (1.0 - smoothstep(0.5, 3.5 + line * 2.0, d));
            return Color{1.0f, 0.95f, 0.9f, static_cast<float>(a)};
        });
    }
}

void draw_trunk(Image& im, Vec2 base, Vec2 bend, Vec2 crown) {
    const int segments = 48;
    std::vector<Vec2> pts;
    for (int i = 0; i <= segments; ++i) {
        pts.push_back(bezier(base, bend, crown, static_cast<double>(i) / segments));
    }
    Color lit = hex(0x7A5034);
    Color shadow = hex(0x3A2418);
    fill_shape(
        im, Box{900, 520, 1280, 1280},
        [&](Vec2 p) {
            double d = 1e9;
            for (int i = 0; i < segments; ++i) {
                double r0 = lerp(30.0, 15.0, static_cast<double>(i) / segments);
                double r1 = lerp(30.0, 15.0, static_cast<double>(i + 1) / segments);
                d = std::min(d, sd_segment(p, pts[i], pts[i + 1], r0, r1));
            }
            return d;
        },
        [&](Vec2 p) {
            // Nearest point on the trunk's axis tells both the ring band and the side.
            int best = 0;
            double bd = 1e9;
            for (int i = 0; i <= segments; ++i) {
                double dx = p.x - pts[i].x;
                double dy = p.y - pts[i].y;
                if (dx * dx + dy * dy < bd) {
                    bd = dx * dx + dy * dy;
                    best = i;
                }
            }
            double t = static_cast<double>(best) / segments;
            double radius = lerp(30.0, 15.0, t);
            double side = clamp01(0.5 + (pts[best].x - p.x) / (2.0 * radius));
            Color c = mix(shadow, lit, smoothstep(0.3, 0.9, side));
            // Leaf scars ring the trunk at even heights, closer together near the top.
            double ring = std::fmod(p.y / lerp(34.0, 22.0, t), 1.0);
            double band = smoothstep(0.0, 0.06, ring) * (1.0 - smoothstep(0.16, 0.22, ring));
            return mix(c, scale(c, 0.72), band);
        });
}

void draw_frond(Image& im, Vec2 crown, double angle, double length, Color colour, double droop) {
    Vec2 dir{dcos(angle), dsin(angle)};
    Vec2 mid{crown.x + dir.x * length * 0.5, crown.y + dir.y * length * 0.5 - length * 0.18};
    Vec2 tip{crown.x + dir.x * length, crown.y + dir.y * length + droop};
    const int leaflets = 22;
    Vec2 prev = crown;
    for (int i = 1; i <= leaflets; ++i) {
        double t = static_cast<double>(i) / leaflets;
        Vec2 p = bezier(crown, mid, tip, t);
        Vec2 a = prev;
        double w = lerp(5.0, 1.0, t);
        fill_shape(
            im,
            Box{static_cast<int>(std::min(a.x, p.x) - 8), static_cast<int>(std::min(a.y, p.y) - 8),
                static_cast<int>(std::max(a.x, p.x) + 8), static_cast<int>(std::max(a.y, p.y) + 8)},
            [&](Vec2 q) { return sd_segment(q, a, p, w, w * 0.8); }, [&](Vec2) { return colour; });
        // Leaflets hang from both sides of the spine, longest in the middle of the frond.
        double tx = p.x - prev.x;
        double ty = p.y - prev.y;
        double tl = std::sqrt(tx * tx + ty * ty);
        tx /= tl;
        ty /= tl;
        double len = length * 0.28 * dsin(kPi * (0.15 + 0.85 * t));
        for (int s = -1; s <= 1; s += 2) {
            Vec2 e{p.x + (tx * 0.45 - s * ty) * len, p.y + (ty * 0.45 + s * tx) * len + len * 0.55};
            fill_shape(
                im,
                box_around(Vec2{(p.x + e.x) / 2, (p.y + e.y) / 2}, std::fabs(e.x - p.x) / 2 + 6,
                           std::fabs(e.y - p.y) / 2 + 6),
                [&](Vec2 q) { return sd_segment(q, p, e, 4.0, 0.6); },
                [&](Vec2) { return colour; });
        }
        prev = p;
    }
}

void draw_palm(Image& im) {
    Vec2 base{1175, 1275};
    Vec2 bend{1235, 880};
    Vec2 crown{1090, 575};
    draw_trunk(im, base, bend, crown);
    struct Frond {
        double angle, length, droop;
    };
    const Frond fronds[] = {{-2.6, 250, 150}, {-2.1, 240, 50}, {-1.65, 200, -20},
                            {-1.2, 230, 20},  {-0.6, 280, 90}, {-0.1, 300, 200},
                            {0.5, 250, 210},  {2.5, 220, 200}, {3.05, 250, 220}};
    int i = 0;
    for (const Frond& f : fronds) {
        Color c = mix(hex(0x16331F), hex(0x2C5A2E), (i++ % 3) / 3.0);
        draw_frond(im, crown, f.angle, f.length, c, f.droop);
    }
    const Vec2 nuts[] = {{1077, 595}, {1103, 602}, {1091, 620}};
    for (Vec2 n : nuts) {
        fill_shape(
            im, box_around(n, 16, 16), [&](Vec2 p) { return sd_circle(p, n, 14); },
            [&](Vec2 p) {
                return mix(hex(0x6A4426), hex(0x2E1C10), clamp01((p.y - n.y + 14) / 28));
            });
    }
}

void draw_bird(Image& im, Vec2 c, double span) {
    for (int s = -1; s <= 1; s += 2) {
        Vec2 tip{c.x + s * span, c.y - span * 0.35};
        Vec2 mid{c.x + s * span * 0.5, c.y - span * 0.45};
        for (int k = 0; k < 2; ++k) {
            Vec2 a = k == 0 ? c : mid;
            Vec2 b = k == 0 ? mid : tip;
            fill_shape(
                im, box_around(c, span + 4, span),
                [&](Vec2 p) { return sd_segment(p, a, b, 2.2, 1.2); },
                [](Vec2) { return hex(0x3A2A44); });
        }
    }
}

} // namespace

Image draw_beach(int) {
    Image im = make_image(kSize, kSize, kWhite);
    fill_sky(
        im,
        {{0.0, hex(0x25356E)}, {0.4, hex(0x6A5190)}, {0.72, hex(0xE58A74)}, {1.0, hex(0xFFD6A0)}},
        0, kBeachHorizon);
    Vec2 sun{770, 650};
    add_glow(im, sun, 560, 560 * kTall * 0.6, hex(0xFFC884), 0.6);
    Rng rng{0xBEAC4};
    for (int i = 0; i < 5; ++i) {
        Vec2 c{uniform(rng, 100, 1180), 170.0 + i * 75.0 + uniform(rng, -20, 20)};
        draw_streak(im, c, uniform(rng, 320, 620), uniform(rng, 10, 20), hex(0x8A6A9E),
                    mix(hex(0xE8A0A0), hex(0xFFC890), i / 4.0), next_u32(rng));
    }
    draw_sun(im, sun, 56, hex(0xFFF6D6), hex(0xFFD27E));
    draw_sea(im, kBeachHorizon, hex(0xF3B088), hex(0x23466E), sun.x, 0xB3ACu);
    draw_sand(im);
    draw_bird(im, Vec2{700, 330}, 18);
    draw_bird(im, Vec2{760, 300}, 13);
    draw_bird(im, Vec2{640, 370}, 11);
    draw_palm(im);
    return im;
}

// --- sunset --------------------------------------------------------------------------------

namespace {

constexpr int kSunsetHorizon = 800;

void draw_sunset_clouds(Image& im) {
    Rng rng{0x5E75E7};
    const double rows[] = {200, 300, 400, 500, 590, 660};
    for (double y : rows) {
        int count = 1 + static_cast<int>(next_u32(rng) % 2);
        for (int i = 0; i < count; ++i) {
            Vec2 c{uniform(rng, 80, 1200), y + uniform(rng, -25, 25)};
            double warm = clamp01((y - 180) / 480);
            draw_streak(im, c, uniform(rng, 360, 700), uniform(rng, 10, 22),
                        mix(hex(0x3E2458), hex(0x9A4068), warm),
                        mix(hex(0xE0709A), hex(0xFFB46E), warm), next_u32(rng));
        }
    }
}

struct Vec3 {
    double x, y, z;
};

void draw_headland(Image& im) {
    Range land{
        {{1180, 700, 260}, {1320, 650, 240}}, static_cast<double>(kSunsetHorizon), 5, 0x4EAD};
    Range far{{{120, 760, 300}, {380, 775, 200}}, static_cast<double>(kSunsetHorizon), 3, 0xFA4};
    fill_below(
        im, [&](double x) { return std::min(ridge_height(far, x), kSunsetHorizon + 0.5); },
        [](Vec2 p) {
            return p.y < kSunsetHorizon + 0.5 ? hex(0x6A3A66) : Color{0, 0, 0, 0};
        });
    fill_below(
        im, [&](double x) { return ridge_height(land, x); },
        [](Vec2 p) {
            return p.y < kSunsetHorizon + 0.5 ? hex(0x3A1E44) : Color{0, 0, 0, 0};
        });
    // Dark, rounded shore rocks in the lower right frame the water.
    Rng rng{0x40C5};
    // Their flat undersides sit below the bottom edge, out of sight.
    const Vec3 rocks[] = {{1235, 1230, 190}, {1060, 1275, 120}, {900, 1300, 80}};
    for (Vec3 r : rocks) {
        Puffs p = make_puffs(rng, Vec2{r.x, r.y}, r.z * 2.0, r.z, 5);
        draw_puffs(im, p, hex(0x3A2040), hex(0x160A1C), 1.5);
    }
}

} // namespace

Image draw_sunset(int) {
    Image im = make_image(kSize, kSize, kWhite);
    fill_sky(im,
             {{0.0, hex(0x1A1A48)},
              {0.32, hex(0x4E2A6C)},
              {0.6, hex(0xC04A6C)},
              {0.82, hex(0xF28C4A)},
              {1.0, hex(0xFFD07A)}},
             0, kSunsetHorizon);
    Vec2 sun{960, 775};
    add_glow(im, sun, 620, 620 * kTall * 0.7, hex(0xFFB060), 0.6);
    draw_sunset_clouds(im);
    draw_sun(im, sun, 96, hex(0xFFF4C8), hex(0xFFB24A));
    draw_sea(im, kSunsetHorizon, hex(0xF59A58), hex(0x2A1A44), sun.x, 0x5EAu);
    draw_headland(im);
    return im;
}

// --- waterfall -----------------------------------------------------------------------------

namespace {

constexpr int kPoolTop = 1010;
constexpr double kFallLeft = 870.0;
constexpr double kFallRight = 1070.0;
constexpr double kLip = 440.0;
constexpr double kFallMid = (kFallLeft + kFallRight) / 2;

double cliff_top(double x) {
    double notch = 40.0 * smoothstep(110.0, 0.0, std::fabs(x - kFallMid) - 70);
    return 385.0 + 60.0 * fbm1(x / 150.0, 4, 0xC11F) + notch - x * 0.02;
}

double fall_left(double y) {
    return kFallLeft - (y - kLip) * 0.05;
}
double fall_right(double y) {
    return kFallRight + (y - kLip) * 0.06;
}

Color rock_colour(Vec2 p) {
    // Tall weathered columns, broken by thin darker bedding lines.
    double column = value_noise(p.x / 48.0, p.y / 600.0, 0x70C4);
    double patch = fbm(p.x / 260.0, p.y / 200.0, 2, 0x70C5);
    double bed = std::fmod(p.y / 88.0 + 1.4 * fbm(p.x / 200.0, p.y / 400.0, 2, 0x57A7), 1.0);
    Color light = hex(0x94846E);
    Color dark = hex(0x4E443A);
    Color c = mix(dark, light, clamp01(0.15 + 0.45 * column + 0.5 * patch));
    c = scale(c, 1.0 - 0.09 * (smoothstep(0.0, 0.03, bed) * (1.0 - smoothstep(0.06, 0.1, bed))));
    // Spray keeps the rock beside the water wet and dark.
    double near = std::fabs(p.x - kFallMid) - (fall_right(p.y) - fall_left(p.y)) / 2;
    c = mix(hex(0x34302E), c, smoothstep(0.0, 120.0, near));
    return scale(c, 1.0 - 0.3 * smoothstep(500.0, kPoolTop, p.y));
}

void draw_cliffs(Image& im) {
    fill_below(im, cliff_top, [](Vec2 p) {
        return p.y < kPoolTop + 2 ? rock_colour(p) : Color{0, 0, 0, 0};
    });
}

void draw_fall(Image& im) {
    Color edge = hex(0x8CBBD6);
    Color body = hex(0xEAF6FC);
    paint(im, Box{760, static_cast<int>(kLip) - 20, 1160, kPoolTop + 10}, [&](Vec2 p) {
        double l = fall_left(p.y);
        double r = fall_right(p.y);
        double lip = kLip - 8.0 + 5.0 * dsin(p.x / 40.0);
        double inside = std::min(p.x - l, r - p.x);
        double cov = clamp01(inside / 6.0 + 0.5) * clamp01(p.y - lip + 0.5);
        double across = clamp01(inside / ((r - l) * 0.5));
        double streak = value_noise(p.x / 7.0, p.y / 140.0, 0xFA11);
        Color c = mix(edge, body, smoothstep(0.0, 0.6, across) * (0.75 + 0.25 * streak));
        // The water rolls over the lip in a bright curl.
        c = mix(c, Color{1, 1, 1, 1}, 0.5 * (1.0 - smoothstep(0.0, 26.0, p.y - lip)));
        c.a = static_cast<float>(cov);
        return c;
    });
}

void draw_pool(Image& im) {
    for (int y = kPoolTop; y < kSize; ++y) {
        double t = (y + 0.5 - kPoolTop) / (kSize - kPoolTop);
        Color row = mix(hex(0x5FA6B2), hex(0x1F5262), smoothstep(0.0, 1.0, t));
        for (int x = 0; x < kSize; ++x) {
            double dx = (x + 0.5 - kFallMid) / (300.0 + t * 400.0);
            double ripple = dsin(std::sqrt(dx * dx * 9.0 + t * t * 40.0) * 14.0);
            double near = clamp01(1.0 - std::fabs(dx));
            Color c = mix(row, hex(0xBFE4EA), 0.12 * near * smoothstep(0.7, 1.0, ripple));
            im.at(x, y) = c;
        }
    }
}

void draw_boulders(Image& im, Rng& rng) {
    // Rounded stones line the pool where the cliff meets the water.
    double x = -30;
    while (x < kSize + 30) {
        double r = uniform(rng, 14, 50);
        if (std::fabs(x - kFallMid) > 190 && next_u32(rng) % 3 != 0) {
            Vec2 c{x, kPoolTop + uniform(rng, -4, 18)};
            double ry = r * 0.62;
            // Cut off where the stone enters the water, so it sits in the pool.
            double waterline = kPoolTop + 10.0;
            fill_shape(
                im, box_around(c, r, ry),
                [&](Vec2 p) { return std::max(sd_ellipse(p, c, r, ry), p.y - waterline); },
                [&](Vec2 p) {
                    double t = clamp01((p.y - (c.y - ry)) / (2 * ry));
                    double side = clamp01((c.x - p.x) / (2 * r) + 0.5);
                    return mix(hex(0x2A2622), hex(0x8A7E70), (1.0 - t) * 0.8 * side + 0.1);
                });
        }
        x += r * uniform(rng, 1.0, 2.6);
    }
}

void draw_foliage(Image& im, Rng& rng) {
    // Bushes along the rim, a few clinging to ledges on the face, then big ones in front.
    for (int i = 0; i < 16; ++i) {
        double x = uniform(rng, 0, kSize);
        if (std::fabs(x - kFallMid) < 150) {
            continue;
        }
        Vec2 c{x, cliff_top(x) + 14};
        Puffs p = make_puffs(rng, c, uniform(rng, 110, 200), uniform(rng, 30, 46), 5);
        draw_puffs(im, p, hex(0x6A9E44), hex(0x2A5028), 2.0);
    }
    const Vec2 ledges[] = {{180, 640}, {560, 720}, {1190, 620}, {720, 860}, {1230, 860}};
    for (Vec2 l : ledges) {
        Puffs p = make_puffs(rng, l, uniform(rng, 80, 130), uniform(rng, 22, 30), 4);
        draw_puffs(im, p, hex(0x5E9040), hex(0x24462A), 2.0);
    }
    const Vec2 front[] = {{60, 1250}, {300, 1270}, {1230, 1230}, {1120, 1275}, {720, 1290}};
    for (Vec2 f : front) {
        Puffs p = make_puffs(rng, f, uniform(rng, 220, 320), uniform(rng, 70, 100), 6);
        draw_puffs(im, p, hex(0x4C8A3A), hex(0x1C3A20), 2.5);
    }
}

} // namespace

Image draw_waterfall(int) {
    Image im = make_image(kSize, kSize, kWhite);
    fill_sky(im, {{0.0, hex(0x6CAEE0)}, {1.0, hex(0xDDEFF4)}}, 0, 560);
    Range hills{{{250, 290, 560}, {760, 250, 520}, {1180, 280, 480}}, 600, 8, 0x4111};
    fill_below(
        im, [&](double x) { return ridge_height(hills, x); },
        [](Vec2 p) { return mix(hex(0x9ABCC4), hex(0x7AA0A4), clamp01((p.y - 250) / 250)); });
    fill_below(
        im, [](double x) { return 372.0 + 30.0 * fbm1(x / 40.0, 3, 0x7FE5); },
        [](Vec2) { return hex(0x6E9A7E); });
    draw_cliffs(im);
    draw_fall(im);
    draw_pool(im);
    Rng rng{0xF011A6E};
    draw_boulders(im, rng);
    add_glow(im, Vec2{kFallMid, kPoolTop + 10.0}, 340, 200, kWhite, 0.8);
    add_glow(im, Vec2{kFallMid, kPoolTop - 70.0}, 230, 170, kWhite, 0.4);
    draw_foliage(im, rng);
    return im;
}

} // namespace img
