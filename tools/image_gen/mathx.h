// Deterministic maths for the picture generator. libm's sin/exp/atan may round differently
// between library versions, which would change pixels; these use only + - * / floor and sqrt,
// all of which IEEE 754 defines exactly, so the output is byte-identical everywhere.
#pragma once

#include <cmath>

namespace img {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kLn2 = 0.69314718055994530942;

inline double clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}
inline double clampd(double v, double lo, double hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}
inline double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

inline double smoothstep(double e0, double e1, double x) {
    double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

inline double dsin(double x) {
    x -= std::floor(x / (2.0 * kPi) + 0.5) * 2.0 * kPi;
    if (x > kPi / 2.0) {
        x = kPi - x;
    } else if (x < -kPi / 2.0) {
        x = -kPi - x;
    }
    double x2 = x * x;
    double p = 1.0 / 6227020800.0 - x2 / 1307674368000.0;
    p = -1.0 / 39916800.0 + x2 * p;
    p = 1.0 / 362880.0 + x2 * p;
    p = -1.0 / 5040.0 + x2 * p;
    p = 1.0 / 120.0 + x2 * p;
    p = -1.0 / 6.0 + x2 * p;
    return x * (1.0 + x2 * p);
}

inline double dcos(double x) {
    return dsin(x + kPi / 2.0);
}

inline double dexp(double x) {
    if (x < -700.0) {
        return 0.0;
    }
    double k = std::floor(x / kLn2 + 0.5);
    double r = x - k * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int i = 1; i < 14; ++i) {
        term *= r / i;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

// atan for any x: two half-angle reductions bring |x| below ~0.2, where the series converges.
inline double datan(double x) {
    bool invert = std::fabs(x) > 1.0;
    double v = invert ? 1.0 / x : x;
    v = v / (1.0 + std::sqrt(1.0 + v * v));
    v = v / (1.0 + std::sqrt(1.0 + v * v));
    double v2 = v * v;
    double term = v;
    double sum = v;
    for (int i = 1; i < 12; ++i) {
        term *= -v2;
        sum += term / (2 * i + 1);
    }
    sum *= 4.0;
    if (invert) {
        return (x > 0 ? kPi / 2.0 : -kPi / 2.0) - sum;
    }
    return sum;
}

inline double datan2(double y, double x) {
    if (x > 0.0) {
        return datan(y / x);
    }
    if (x < 0.0) {
        return datan(y / x) + (y >= 0.0 ? kPi : -kPi);
    }
    return y > 0.0 ? kPi / 2.0 : (y < 0.0 ? -kPi / 2.0 : 0.0);
}

} // namespace img
