// Backgrounds on land: a city skyline at dusk, layered snowy mountains and a country road running
// to the horizon. Detail sits mostly on the right, which the game shows beside the playfield.
#include "catalogue.h"
#include "scenery.h"

#include <cmath>

namespace img {

namespace {

constexpr int kSize = 1280;
const Color kWhite{1, 1, 1, 1};

void fill_rect(Image& im, double x0, double y0, double x1, double y1, Color c) {
    Vec2 mid{(x0 + x1) / 2, (y0 + y1) / 2};
    Vec2 half{(x1 - x0) / 2, (y1 - y0) / 2};
    fill_shape(
        im, box_around(mid, half.x, half.y), [&](Vec2 p) { return sd_box(p, mid, half); },
        [&](Vec2) { return c; });
}

// --- city ----------------------------------------------------------------------------------

struct SkylineLayer {
    double min_top, max_top;
    double min_w, max_w;
    Color body;
    double lit_share; // fraction of windows with the light on
    uint32_t seed;
};

void draw_windows(Image& im, double x0, double x1, double top, const SkylineLayer& l, Rng& rng) {
    const double pitch_x = 15.0;
    const double pitch_y = 22.0;
    const double margin = 8.0;
    int cols = static_cast<int>((x1 - x0 - margin * 2) / pitch_x);
    if (cols < 1) {
        return;
    }
    double start = x0 + (x1 - x0 - cols * pitch_x) / 2;
    uint32_t building = next_u32(rng);
    for (double y = top + 16; y + 10 < kSize; y += pitch_y) {
        for (int c = 0; c < cols; ++c) {
            uint32_t h = hash2(c, static_cast<int>(y), building);
            if ((h & 0xFFFF) > l.lit_share * 65535.0) {
                continue;
            }
            Color warm = mix(hex(0xFFD27A), hex(0xFFF0C0), ((h >> 16) & 0xFF) / 255.0);
            double x = std::floor(start + c * pitch_x + 4);
            fill_rect(im, x, std::floor(y), x + 7, std::floor(y) + 11, warm);
        }
    }
}

void draw_skyline(Image& im, const SkylineLayer& l) {
    Rng rng{l.seed};
    double x = -20;
    while (x < kSize) {
        double w = std::floor(uniform(rng, l.min_w, l.max_w));
        double top = std::floor(uniform(rng, l.min_top, l.max_top));
        fill_rect(im, x, top, x + w, kSize + 2, l.body);
        // Some roofs carry a smaller block or an antenna.
        uint32_t roof = next_u32(rng) % 5;
        if (roof == 0) {
            fill_rect(im, x + w * 0.3, top - 26, x + w * 0.7, top + 1, l.body);
        } else if (roof == 1) {
            fill_rect(im, x + w * 0.5 - 2, top - 60, x + w * 0.5 + 2, top + 1, l.body);
        }
        if (l.lit_share > 0) {
            draw_windows(im, x, x + w, top, l, rng);
        }
        x += w + std::floor(uniform(rng, 0, 10));
    }
}

void draw_haze(Image& im, double y, double height, Color c, double strength) {
    paint(im, Box{0, static_cast<int>(y - height), kSize, static_cast<int>(y + height)},
          [&](Vec2 p) {
              Color out = c;
              out.a = static_cast<float>(strength * (1.0 - std::fabs(p.y - y) / height));
              return out;
          });
}

void draw_stars(Image& im) {
    Rng rng{0x57A25};
    for (int i = 0; i < 70; ++i) {
        Vec2 c{uniform(rng, 0, kSize), uniform(rng, 0, 480)};
        double r = uniform(rng, 0.8, 1.8);
        float a = static_cast<float>(uniform(rng, 0.35, 0.85) * (1.0 - c.y / 600));
        fill_shape(
            im, box_around(c, r, r), [&](Vec2 p) { return sd_circle(p, c, r); },
            [&](Vec2) {
                return Color{1, 0.96f, 0.9f, a};
            });
    }
}

void draw_tower(Image& im) {
    Color body = hex(0x14122A);
    fill_rect(im, 1010, 560, 1090, kSize + 2, body);
    fill_rect(im, 1025, 500, 1075, 562, body);
    fill_rect(im, 1046, 380, 1054, 502, body);
    Vec2 beacon{1050, 378};
    add_glow(im, beacon, 26, 26 * kTall, hex(0xFF5A5A), 0.8);
    Rng rng{0x70E4};
    SkylineLayer lights{0, 0, 0, 0, body, 0.35, 0x70E4};
    draw_windows(im, 1010, 1090, 580, lights, rng);
}

} // namespace

Image draw_city(int) {
    Image im = make_image(kSize, kSize, kWhite);
    fill_sky(im,
             {{0.0, hex(0x0C1230)},
              {0.35, hex(0x272C66)},
              {0.65, hex(0x6E3C7C)},
              {0.85, hex(0xD0686C)},
              {1.0, hex(0xF4A070)}},
             0, kSize);
    draw_stars(im);
    Vec2 moon{1040, 200};
    add_glow(im, moon, 150, 150 * kTall, hex(0xE8E4FF), 0.25);
    fill_shape(
        im, box_around(moon, 46, 46 * kTall),
        [&](Vec2 p) {
            double full = sd_ellipse(p, moon, 44, 44 * kTall);
            double bite = sd_ellipse(p, Vec2{moon.x + 20, moon.y - 12}, 40, 40 * kTall);
            return std::max(full, -bite);
        },
        [](Vec2) { return hex(0xF4F0DC); });
    draw_skyline(im, {620, 800, 50, 110, hex(0x4A3C72), 0.0, 0xC17A});
    draw_haze(im, 880, 120, hex(0xE08078), 0.35);
    draw_skyline(im, {740, 920, 60, 130, hex(0x2C2650), 0.08, 0xC17B});
    draw_haze(im, 1010, 110, hex(0xA05878), 0.3);
    draw_skyline(im, {880, 1060, 80, 160, hex(0x181530), 0.22, 0xC17C});
    draw_tower(im);
    return im;
}

// --- mountains -----------------------------------------------------------------------------

namespace {

struct RangeLook {
    Color lit;
    Color shade;
    Color snow_lit;
    Color snow_shade;
    double snowline; // y above which rock is snow-covered; 0 for none
};

void draw_range(Image& im, const Range& r, const RangeLook& look) {
    fill_below(
        im, [&](double x) { return ridge_height(r, x); },
        [&](Vec2 p) {
            double lit = flank_light(r, p);
            Color rock = mix(look.shade, look.lit, lit);
            if (look.snowline > 0) {
                double line = look.snowline + (fbm1(p.x / 24.0, 3, r.seed + 3) - 0.5) * 90.0;
                double snow = smoothstep(line + 4, line - 4, p.y);
                rock = mix(rock, mix(look.snow_shade, look.snow_lit, lit), snow);
            }
            return rock;
        });
}

void draw_mist(Image& im, double y, double height, Color c, double strength) {
    // Thickest at y, thinning both above and below so no band ends in a hard line.
    paint(im, Box{0, static_cast<int>(y - height), kSize, static_cast<int>(y + height)},
          [&](Vec2 p) {
              Color out = c;
              double t = 1.0 - std::fabs(p.y - y) / height;
              out.a = static_cast<float>(strength * smoothstep(0.0, 1.0, t));
              return out;
          });
}

void draw_pines(Image& im, Rng& rng, double ground, int count, Color c) {
    for (int i = 0; i < count; ++i) {
        double x = uniform(rng, 0, kSize);
        double h = uniform(rng, 70, 150);
        double w = h * 0.28;
        double base = ground + uniform(rng, 0, 90);
        fill_rect(im, x - w * 0.12, base - h * 0.2, x + w * 0.12, base, scale(c, 0.7));
        // Three stacked tiers read as a conifer rather than a plain triangle.
        for (int tier = 0; tier < 3; ++tier) {
            double top = base - h + tier * h * 0.22;
            double bottom = base - h * 0.45 + tier * h * 0.2;
            double tw = w * (0.6 + 0.25 * tier);
            std::vector<Vec2> tri = {{x, top}, {x + tw, bottom}, {x - tw, bottom}};
            fill_shape(
                im,
                Box{static_cast<int>(x - tw - 2), static_cast<int>(top - 2),
                    static_cast<int>(x + tw + 2), static_cast<int>(bottom + 2)},
                [&](Vec2 p) { return sd_polygon(p, tri); }, [&](Vec2) { return c; });
        }
    }
}

} // namespace

Image draw_mountains(int) {
    Image im = make_image(kSize, kSize, kWhite);
    fill_sky(im, {{0.0, hex(0x3E6EB4)}, {0.55, hex(0x8CB8E0)}, {1.0, hex(0xF4DCC4)}}, 0, 760);
    add_glow(im, Vec2{980, 520}, 400, 300, hex(0xFFF0D8), 0.5);
    Range far{{{180, 300, 330}, {560, 250, 320}, {930, 170, 360}, {1230, 290, 300}}, 700, 6, 0xA1};
    draw_range(im, far, {hex(0x9AAED0), hex(0x6E84AC), hex(0xFAFCFF), hex(0xBCCAE4), 420});
    draw_mist(im, 720, 160, hex(0xDCE6F0), 0.55);
    Range mid{{{90, 470, 300}, {420, 430, 300}, {800, 480, 280}, {1120, 400, 300}}, 860, 8, 0xA2};
    draw_range(im, mid, {hex(0x6A86AE), hex(0x4A6288), hex(0xF2F6FC), hex(0xA8B8D4), 520});
    draw_mist(im, 880, 150, hex(0xC8D8E4), 0.5);
    Range near{{{300, 720, 420}, {900, 700, 380}, {1300, 660, 300}}, 1010, 10, 0xA3};
    draw_range(im, near, {hex(0x3E6670), hex(0x2A4A56), kWhite, kWhite, 0});
    draw_mist(im, 1030, 120, hex(0xA8C4C8), 0.4);
    Range hills{{{150, 960, 500}, {1050, 930, 520}}, 1190, 12, 0xA4};
    draw_range(im, hills, {hex(0x2E5A40), hex(0x1E4030), kWhite, kWhite, 0});
    Rng rng{0x914E5};
    draw_pines(im, rng, 1020, 40, hex(0x1A3A2A));
    fill_below(
        im, [](double x) { return 1175.0 + 25.0 * dsin(x / 210.0); },
        [](Vec2 p) { return mix(hex(0x1C3A24), hex(0x102418), clamp01((p.y - 1150) / 130)); });
    draw_pines(im, rng, 1110, 14, hex(0x0E2218));
    return im;
}

// --- road ----------------------------------------------------------------------------------

namespace {

constexpr double kRoadHorizon = 660.0;
constexpr double kVanishX = 900.0;
constexpr double kRoadHalfBottom = 560.0; // half width of the road at the bottom row

// Horizontal position along the road at row y, for a lateral offset u in road half-widths.
double road_x(double y, double u) {
    double t = (y - kRoadHorizon) / (kSize - kRoadHorizon);
    return kVanishX + u * kRoadHalfBottom * t;
}

void draw_fields(Image& im) {
    Color far = hex(0x8DB45A);
    Color nearc = hex(0x4C8A30);
    for (int y = static_cast<int>(kRoadHorizon); y < kSize; ++y) {
        double t = (y + 0.5 - kRoadHorizon) / (kSize - kRoadHorizon);
        Color row = mix(far, nearc, std::sqrt(t));
        for (int x = 0; x < kSize; ++x) {
            // Crop rows fan out from the vanishing point; alternate strips differ in shade.
            double u = (x + 0.5 - kVanishX) / (kRoadHalfBottom * std::max(t, 1e-3));
            double strip = dsin(u * 5.0);
            Color c = scale(row, 1.0 + 0.05 * smoothstep(-0.2, 0.2, strip) - 0.025);
            im.at(x, y) = c;
        }
    }
}

void draw_road_surface(Image& im) {
    std::vector<Vec2> road = {{kVanishX - 3, kRoadHorizon},
                              {kVanishX + 3, kRoadHorizon},
                              {road_x(kSize, 1.0), kSize + 1.0},
                              {road_x(kSize, -1.0), kSize + 1.0}};
    fill_shape(
        im, Box{0, static_cast<int>(kRoadHorizon) - 2, kSize, kSize},
        [&](Vec2 p) { return sd_polygon(p, road); },
        [](Vec2 p) {
            double t = (p.y - kRoadHorizon) / (kSize - kRoadHorizon);
            return mix(hex(0x9A9CA8), hex(0x4A4A54), smoothstep(0.0, 0.6, t));
        });
    // Edge lines and centre dashes, all scaled by distance.
    for (int side = -1; side <= 1; side += 2) {
        std::vector<Vec2> line = {{kVanishX, kRoadHorizon},
                                  {road_x(kSize, side * 0.93), kSize + 1.0},
                                  {road_x(kSize, side * 0.88), kSize + 1.0}};
        fill_shape(
            im, Box{0, static_cast<int>(kRoadHorizon), kSize, kSize},
            [&](Vec2 p) { return sd_polygon(p, line); }, [](Vec2) { return hex(0xE8E8E0, 0.9); });
    }
    // Dashes sit at equal distances along the road: row y maps to depth 1 / (y - horizon).
    const double dash_depth = 1.0 / 14.0;
    for (int i = 1; i < 40; ++i) {
        double z0 = i * dash_depth * 2.0;
        double z1 = z0 + dash_depth;
        double ya = kRoadHorizon + (kSize - kRoadHorizon) / (z1 * 8.0);
        double yb = kRoadHorizon + (kSize - kRoadHorizon) / (z0 * 8.0);
        if (ya > kSize) {
            continue;
        }
        std::vector<Vec2> dash = {{road_x(ya, -0.025), ya},
                                  {road_x(ya, 0.025), ya},
                                  {road_x(yb, 0.025), yb},
                                  {road_x(yb, -0.025), yb}};
        fill_shape(
            im, Box{0, static_cast<int>(ya) - 2, kSize, static_cast<int>(yb) + 2},
            [&](Vec2 p) { return sd_polygon(p, dash); }, [](Vec2) { return hex(0xF2D04A, 0.95); });
    }
}

void draw_posts(Image& im) {
    // Roadside posts at equal spacing, shrinking with distance.
    for (int i = 1; i < 14; ++i) {
        double z = i * 0.35;
        double y = kRoadHorizon + (kSize - kRoadHorizon) / (z * 2.2);
        if (y > kSize + 40) {
            continue;
        }
        double scale_t = (y - kRoadHorizon) / (kSize - kRoadHorizon);
        double x = road_x(y, 1.12);
        double h = 150.0 * scale_t;
        double w = std::max(1.2, 9.0 * scale_t);
        fill_rect(im, x - w, y - h, x + w, y, hex(0xE8E4DC));
        fill_rect(im, x - w, y - h, x + w, y - h * 0.85, hex(0xD04030));
    }
}

void draw_trees(Image& im) {
    Rng rng{0x7EE5};
    for (int i = 0; i < 9; ++i) {
        double z = 0.8 + i * 0.55 + uniform(rng, 0, 0.2);
        double y = kRoadHorizon + (kSize - kRoadHorizon) / (z * 1.6);
        double s = (y - kRoadHorizon) / (kSize - kRoadHorizon);
        double x = road_x(y, 1.9 + uniform(rng, 0, 0.6));
        fill_rect(im, x - 6 * s, y - 120 * s, x + 6 * s, y, hex(0x4A3424));
        Puffs p = make_puffs(rng, Vec2{x, y - 140 * s}, 150 * s, 90 * s, 4);
        draw_puffs(im, p, hex(0x5E9A3C), hex(0x2C5A26), 1.5);
    }
}

} // namespace

Image draw_road(int) {
    Image im = make_image(kSize, kSize, kWhite);
    fill_sky(im, {{0.0, hex(0x2E6CC0)}, {0.6, hex(0x84BCEA)}, {1.0, hex(0xEAF2EE)}}, 0,
             static_cast<int>(kRoadHorizon));
    Rng rng{0xC10D};
    for (int i = 0; i < 6; ++i) {
        Vec2 c{uniform(rng, 60, 1240), uniform(rng, 120, 500)};
        double s = 0.5 + c.y / 600.0;
        Puffs p = make_puffs(rng, c, uniform(rng, 260, 420) / s, uniform(rng, 50, 80) / s, 6);
        draw_puffs(im, p, kWhite, hex(0xB8C8DC), 3.0);
    }
    Range hills{{{200, 560, 420}, {700, 590, 360}, {1150, 545, 400}}, kRoadHorizon + 2, 6, 0x2011};
    fill_below(
        im, [&](double x) { return ridge_height(hills, x); }, [](Vec2) { return hex(0x7A9CA8); });
    draw_fields(im);
    draw_road_surface(im);
    draw_trees(im);
    draw_posts(im);
    return im;
}

} // namespace img
