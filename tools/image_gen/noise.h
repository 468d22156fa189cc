// Seeded randomness for the pictures: an integer PRNG and lattice value noise, both exact so that
// every run draws the same scene.
#pragma once

#include <cstdint>

namespace img {

struct Rng {
    uint64_t state;
};

uint32_t next_u32(Rng& rng);
double uniform(Rng& rng); // [0, 1)
double uniform(Rng& rng, double lo, double hi);

uint32_t hash2(int32_t x, int32_t y, uint32_t seed);
double value_noise(double x, double y, uint32_t seed); // smooth, in [0, 1]
double fbm(double x, double y, int octaves, uint32_t seed);
double noise1(double x, uint32_t seed); // 1-D smooth noise in [0, 1]
double fbm1(double x, int octaves, uint32_t seed);

} // namespace img
