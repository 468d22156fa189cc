// Drum synthesis: kick and tom are pitch-dropping sines, the rest are shaped, filtered noise.
#include "drums.h"

#include "buffer.h"
#include "rng.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kEdgeFade = 0.004f; // seconds of fade at a hit's end so it never stops on a step

// First-order filters are enough to colour noise for drums.
struct OnePole {
    float state = 0.0f;
};

float lowPass(OnePole& f, float x, float hz) {
    const float a = 1.0f - std::exp(-kTwoPi * hz / kSampleRate);
    f.state += a * (x - f.state);
    return f.state;
}

float highPass(OnePole& f, float x, float hz) {
    return x - lowPass(f, x, hz);
}

std::vector<float> blank(float seconds) {
    return std::vector<float>(static_cast<size_t>(seconds * kSampleRate), 0.0f);
}

void fadeTail(std::vector<float>& v) {
    const size_t n = static_cast<size_t>(kEdgeFade * kSampleRate);
    for (size_t i = 0; i < n && i < v.size(); ++i) {
        v[v.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(n);
    }
}

// Sine whose pitch falls exponentially from `fromHz` to `toHz`: the body of kicks and toms.
void addSweptSine(std::vector<float>& v, float fromHz, float toHz, float sweepTau, float decayTau,
                  float gain) {
    float phase = 0.0f;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float hz = toHz + (fromHz - toHz) * std::exp(-t / sweepTau);
        v[i] += gain * std::sin(kTwoPi * phase) * std::exp(-t / decayTau);
        phase += hz / kSampleRate;
        phase -= std::floor(phase);
    }
}

// Noise through a band (high-pass then low-pass) with an exponential decay.
void addNoise(std::vector<float>& v, uint64_t seed, float lowHz, float highHz, float decayTau,
              float gain) {
    Rng rng{seed};
    OnePole hp, lp1, lp2;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        float x = highPass(hp, nextBipolar(rng), lowHz);
        x = lowPass(lp2, lowPass(lp1, x, highHz), highHz);
        v[i] += gain * x * std::exp(-t / decayTau);
    }
}

std::vector<float> kick() {
    auto v = blank(0.45f);
    addSweptSine(v, 160.0f, 48.0f, 0.035f, 0.16f, 1.0f);
    addNoise(v, 11, 1500.0f, 6000.0f, 0.004f, 0.5f); // beater click
    return v;
}

std::vector<float> snare() {
    auto v = blank(0.32f);
    addSweptSine(v, 260.0f, 185.0f, 0.02f, 0.06f, 0.55f);
    addNoise(v, 23, 1200.0f, 9000.0f, 0.09f, 1.1f);
    return v;
}

std::vector<float> rim() {
    auto v = blank(0.12f);
    addSweptSine(v, 820.0f, 760.0f, 0.01f, 0.018f, 0.6f);
    addNoise(v, 29, 2000.0f, 7000.0f, 0.012f, 0.6f);
    return v;
}

std::vector<float> hat(float seconds, float decayTau, uint64_t seed) {
    auto v = blank(seconds);
    addNoise(v, seed, 7000.0f, 16000.0f, decayTau, 1.6f);
    return v;
}

std::vector<float> clap() {
    auto v = blank(0.3f);
    const float burstGap = 0.011f;
    for (int b = 0; b < 3; ++b) {
        std::vector<float> burst = blank(0.3f - b * burstGap);
        addNoise(burst, 31 + b, 900.0f, 5000.0f, b == 2 ? 0.08f : 0.01f, 1.2f);
        const size_t offset = static_cast<size_t>(b * burstGap * kSampleRate);
        for (size_t i = 0; i + offset < v.size() && i < burst.size(); ++i) {
            v[i + offset] += burst[i];
        }
    }
    return v;
}

std::vector<float> crash() {
    auto v = blank(2.2f);
    addNoise(v, 37, 4000.0f, 14000.0f, 0.55f, 1.0f);
    addNoise(v, 41, 2500.0f, 8000.0f, 0.12f, 0.5f);
    return v;
}

std::vector<float> shaker() {
    auto v = blank(0.1f);
    Rng rng{43};
    OnePole hp, lp;
    for (size_t i = 0; i < v.size(); ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float env = std::min(t / 0.012f, 1.0f) * std::exp(-t / 0.03f);
        v[i] = 1.2f * env * lowPass(lp, highPass(hp, nextBipolar(rng), 5000.0f), 12000.0f);
    }
    return v;
}

std::vector<float> tom() {
    auto v = blank(0.4f);
    addSweptSine(v, 220.0f, 120.0f, 0.06f, 0.14f, 0.9f);
    addNoise(v, 47, 500.0f, 4000.0f, 0.01f, 0.2f);
    return v;
}

} // namespace

std::vector<float> renderDrum(Drum kind, float velocity) {
    std::vector<float> v;
    switch (kind) {
    case Drum::Kick:
        v = kick();
        break;
    case Drum::Snare:
        v = snare();
        break;
    case Drum::Rim:
        v = rim();
        break;
    case Drum::ClosedHat:
        v = hat(0.09f, 0.018f, 17);
        break;
    case Drum::OpenHat:
        v = hat(0.4f, 0.12f, 19);
        break;
    case Drum::Clap:
        v = clap();
        break;
    case Drum::Crash:
        v = crash();
        break;
    case Drum::Shaker:
        v = shaker();
        break;
    case Drum::Tom:
        v = tom();
        break;
    }
    fadeTail(v);
    for (float& s : v) {
        s *= velocity;
    }
    return v;
}
