// PRNG and value noise. Integer hashing keeps results identical on every platform.
#include "noise.h"

#include <cmath>

namespace img {

namespace {
constexpr double kInv24 = 1.0 / 16777216.0;
constexpr double kOctaveGain = 0.5;
constexpr double kOctaveLacunarity = 2.03;

double fade(double t) {
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}
double lattice(int32_t x, int32_t y, uint32_t seed) {
    return (hash2(x, y, seed) >> 8) * kInv24;
}
} // namespace

uint32_t next_u32(Rng& rng) {
    // splitmix64: tiny, well mixed, and defined purely by integer arithmetic.
    uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

double uniform(Rng& rng) {
    return (next_u32(rng) >> 8) * kInv24;
}
double uniform(Rng& rng, double lo, double hi) {
    return lo + (hi - lo) * uniform(rng);
}

uint32_t hash2(int32_t x, int32_t y, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h = (h ^ (h >> 13)) * 0x297A2D39u;
    return h ^ (h >> 16);
}

double value_noise(double x, double y, uint32_t seed) {
    double fx = std::floor(x);
    double fy = std::floor(y);
    int32_t ix = static_cast<int32_t>(fx);
    int32_t iy = static_cast<int32_t>(fy);
    double tx = fade(x - fx);
    double ty = fade(y - fy);
    double a = lattice(ix, iy, seed);
    double b = lattice(ix + 1, iy, seed);
    double c = lattice(ix, iy + 1, seed);
    double d = lattice(ix + 1, iy + 1, seed);
    double top = a + (b - a) * tx;
    double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double fbm(double x, double y, int octaves, uint32_t seed) {
    double sum = 0.0;
    double amp = 1.0;
    double norm = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * value_noise(x, y, seed + 101u * i);
        norm += amp;
        amp *= kOctaveGain;
        x *= kOctaveLacunarity;
        y *= kOctaveLacunarity;
    }
    return sum / norm;
}

double noise1(double x, uint32_t seed) {
    return value_noise(x, 0.5, seed);
}

double fbm1(double x, int octaves, uint32_t seed) {
    return fbm(x, 0.5, octaves, seed);
}

} // namespace img
