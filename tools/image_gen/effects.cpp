// Particle pictures: a sixteen-stage star burst for line clears and sixteen soft smoke puffs for
// landing pieces. Both are drawn white or pale so the game can tint them.
#include "catalogue.h"
#include "noise.h"

#include <cmath>

namespace img {

namespace {

constexpr int kSparkleSize = 32;
constexpr double kSparkleCentre = kSparkleSize / 2.0;
constexpr int kSparkleSub = 4;           // supersampling for the hard-edged star outline
constexpr int kColourSteps = 8;          // few shades keep the palette small
constexpr double kTwistPerFrame = 0.012; // a slight turn, so the burst seems to spin
const Color kSparkleWhite{1, 1, 1, 1};
const Color kSparkleBlue = hex(0xB4D8FF);

constexpr int kSmokeW = 32;
constexpr uint32_t kSmokeSeed = 0x5A0C3u;
constexpr double kSmokeEdge = 4.5; // fade band inside the frame so the surround is clear

struct SparkleStage {
    double core;   // radius of the round centre
    double main;   // length of the four upright spikes
    double diag;   // length of the four diagonal spikes
    double blue;   // 0 white, 1 fully pale blue
    int sharpness; // higher makes thinner spikes
};

// A dot that bursts into an eight-pointed star, then fades to a small blue four-point glint.
constexpr SparkleStage kStages[16] = {
    {1.8, 0.0, 0.0, 0.0, 12},   {2.3, 2.5, 0.0, 0.0, 12},  {2.8, 5.0, 2.0, 0.0, 12},
    {3.2, 7.5, 4.0, 0.0, 12},   {3.6, 9.5, 5.5, 0.05, 12}, {3.8, 10.5, 6.5, 0.1, 12},
    {4.0, 11.0, 7.0, 0.15, 12}, {4.1, 11.3, 7.3, 0.2, 12}, {3.9, 11.0, 7.0, 0.25, 12},
    {3.6, 10.5, 6.5, 0.3, 12},  {3.1, 9.5, 5.0, 0.45, 10}, {2.7, 8.5, 3.5, 0.55, 9},
    {2.3, 8.0, 2.0, 0.65, 8},   {2.0, 7.5, 1.0, 0.75, 7},  {1.8, 7.0, 0.0, 0.85, 6},
    {1.6, 6.5, 0.0, 1.0, 6}};

double spike(double c4, int sharpness) {
    double s = 0.5 + 0.5 * c4;
    double v = 1.0;
    for (int i = 0; i < sharpness; ++i) {
        v *= s;
    }
    return v;
}

// Star radius in a direction whose cosine (after the frame's twist) is cx.
double star_radius(double cx, const SparkleStage& st) {
    double c2 = cx * cx;
    double cos4 = 8.0 * c2 * c2 - 8.0 * c2 + 1.0; // cos(4 phi)
    return st.core + st.main * spike(cos4, st.sharpness) + st.diag * spike(-cos4, st.sharpness);
}

Color sparkle_colour(double r, double reach, const SparkleStage& st) {
    double t = clamp01(r / std::max(reach, 1.0));
    double k = clamp01(st.blue + t * t * 1.4);
    k = std::floor(k * kColourSteps + 0.5) / kColourSteps;
    return mix(kSparkleWhite, kSparkleBlue, k);
}

double blob(Vec2 p, Vec2 c, double r) {
    double dx = p.x - c.x;
    double dy = p.y - c.y;
    double q = 1.0 - (dx * dx + dy * dy) / (r * r);
    return q > 0 ? q * q : 0.0;
}

} // namespace

Image draw_sparkle(int frame) {
    const SparkleStage& st = kStages[frame - 1];
    Image im = make_image(kSparkleSize, kSparkleSize, Color{0, 0, 0, 0});
    double twist = frame * kTwistPerFrame;
    double ct = dcos(twist);
    double stw = dsin(twist);
    double reach = st.core + st.main;
    for (int y = 0; y < kSparkleSize; ++y) {
        for (int x = 0; x < kSparkleSize; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSparkleSub; ++sy) {
                for (int sx = 0; sx < kSparkleSub; ++sx) {
                    double dx = x + (sx + 0.5) / kSparkleSub - kSparkleCentre;
                    double dy = y + (sy + 0.5) / kSparkleSub - kSparkleCentre;
                    double r = std::sqrt(dx * dx + dy * dy);
                    double ux = r > 0 ? (dx * ct + dy * stw) / r : 1.0;
                    inside += r < star_radius(ux, st);
                }
            }
            if (inside * 2 >= kSparkleSub * kSparkleSub) {
                double dx = x + 0.5 - kSparkleCentre;
                double dy = y + 0.5 - kSparkleCentre;
                im.at(x, y) = sparkle_colour(std::sqrt(dx * dx + dy * dy), reach, st);
            }
        }
    }
    return im;
}

Image draw_smoke(int frame) {
    const Asset* a = find_asset("vfx_smoke" + std::to_string(frame));
    int h = a->h;
    Image im = make_image(kSmokeW, h, Color{1, 1, 1, 0});
    Rng rng{kSmokeSeed + 7919u * static_cast<uint64_t>(frame)};
    struct Puff {
        Vec2 c;
        double r;
    };
    std::vector<Puff> puffs;
    puffs.push_back({{kSmokeW / 2.0 + uniform(rng, -2, 2), h / 2.0 + uniform(rng, -2, 2)},
                     uniform(rng, 9.0, 11.0)});
    // Smaller puffs cluster round the main one so the outline billows.
    int extra = 4 + static_cast<int>(next_u32(rng) % 4);
    for (int i = 0; i < extra; ++i) {
        double ang = uniform(rng, 0, 2 * kPi);
        double dist = uniform(rng, 4, 8);
        Vec2 c{puffs[0].c.x + dist * dcos(ang), puffs[0].c.y + dist * dsin(ang) * h / kSmokeW};
        puffs.push_back({c, uniform(rng, 4.5, 7.5)});
    }
    uint32_t seed = next_u32(rng);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < kSmokeW; ++x) {
            Vec2 p{x + 0.5, y + 0.5};
            double d = 0.0;
            for (const Puff& pf : puffs) {
                d += blob(p, pf.c, pf.r);
            }
            double grain = fbm(p.x / 7.0, p.y / 7.0, 3, seed);
            d *= 0.55 + 0.9 * grain;
            double edge = std::min(std::min(p.x, kSmokeW - p.x), std::min(p.y, h - p.y));
            double alpha = smoothstep(0.02, 1.1, d) * smoothstep(0.5, kSmokeEdge, edge);
            im.at(x, y).a = static_cast<float>(alpha * 0.9);
        }
    }
    return im;
}

} // namespace img
