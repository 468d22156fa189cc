// Small deterministic PRNG so every render produces identical noise on every run and machine.
#pragma once

#include <cstdint>

struct Rng {
    uint64_t state;
};

// SplitMix64: tiny, fast and well distributed; enough for audio noise.
inline uint64_t nextU64(Rng& rng) {
    uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Uniform float in [-1, 1).
inline float nextBipolar(Rng& rng) {
    return static_cast<float>(static_cast<double>(nextU64(rng) >> 11) * 0x1.0p-53 * 2.0 - 1.0);
}
