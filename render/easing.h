// The smoothstep curve, easing in and out between 0 and 1: the hold comet flies
// along it and the music's pitch follows it as the stack rises.
#pragma once

#include <algorithm>

// t clamped to 0..1, then t * t * (3 - 2t).
inline float smoothstep(float t) {
    const float e = std::clamp(t, 0.0f, 1.0f);
    return e * e * (3.0f - 2.0f * e);
}
