// Building blocks shared by the landscape backgrounds: skies, sun discs and glows, puffy clouds,
// mountain ridges and soft foliage. Everything is smooth and flat-shaded on purpose: the game
// decodes these large pictures at start-up, and calm shapes decode much faster than noise.
#pragma once

#include "noise.h"
#include "raster.h"

#include <vector>

namespace img {

// The game squeezes 1280x1280 into 900x700, so vertical sizes are stretched by this factor for
// round things to look round on screen.
inline constexpr double kTall = (1280.0 / 700.0) / (1280.0 / 900.0);

void fill_sky(Image& im, const std::vector<Stop>& stops, int y0, int y1);
void add_glow(Image& im, Vec2 c, double rx, double ry, Color colour, double strength);
void draw_sun(Image& im, Vec2 c, double r, Color inner, Color outer);

struct Puffs {
    std::vector<Vec2> centre;
    std::vector<double> radius;
    double base; // flat underside of a cloud, or the ground line of a bush
};

Puffs make_puffs(Rng& rng, Vec2 centre, double width, double height, int count);
double sd_puffs(const Puffs& p, Vec2 q);
// Draws the puffs lit from above-left: top colour fading into the underside colour.
void draw_puffs(Image& im, const Puffs& p, Color top, Color under, double soft);

// A long, thin evening cloud: a soft band that swells in the middle and frays at both ends.
void draw_streak(Image& im, Vec2 centre, double length, double thickness, Color top, Color under,
                 uint32_t seed);

struct Peak {
    double x;
    double top;   // y of the summit
    double width; // half width at the base line
};

struct Range {
    std::vector<Peak> peaks;
    double base;      // y where the range meets the land in front
    double roughness; // pixels of small-scale ridge detail
    uint32_t seed;
};

double ridge_height(const Range& r, double x);
// How much of a peak's flank faces the light (from the left) at p, blended smoothly across
// valleys so neighbouring peaks never meet in a hard vertical seam.
double flank_light(const Range& r, Vec2 p);

} // namespace img
