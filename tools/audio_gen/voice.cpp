// Oscillators, envelope and filter behind every pitched sound in the game.
#include "voice.h"

#include "buffer.h"
#include "rng.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
constexpr float kMinAttack = 0.002f; // shorter attacks click
constexpr float kFilterBypassHz = 19999.0f;
constexpr int kFilterUpdateEvery = 8; // tan() per sample is needless; cutoff moves slowly
constexpr float kSuperSawMix = 0.6f;

// Removes the step discontinuity of naive saw/square waves (band-limits the edge).
float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float sawAt(float phase, float dt) {
    return 2.0f * phase - 1.0f - polyBlep(phase, dt);
}

float pulseAt(float phase, float dt, float width) {
    float shifted = phase + (1.0f - width);
    shifted -= std::floor(shifted);
    return sawAt(phase, dt) - sawAt(shifted, dt) + (2.0f * width - 1.0f);
}

float envelopeAt(const Envelope& env, float t, float gate) {
    const float attack = std::max(env.attack, kMinAttack);
    auto held = [&](float u) {
        if (u < attack) {
            return u / attack;
        }
        return env.sustain + (1.0f - env.sustain) * std::exp(-(u - attack) / env.decay);
    };
    if (t < gate) {
        return held(t);
    }
    const float release = std::max(env.release, kMinAttack);
    const float u = (t - gate) / release;
    if (u >= 1.0f) {
        return 0.0f;
    }
    const float fall = 1.0f - u;
    return held(gate) * fall * fall * fall;
}

// Topology-preserving state-variable low-pass: stays stable while the cutoff sweeps.
struct LowPass {
    float ic1 = 0.0f, ic2 = 0.0f;
    float a1 = 1.0f, a2 = 0.0f, a3 = 0.0f, k = 2.0f;
};

void setCutoff(LowPass& f, float hz, float resonance) {
    const float clamped = std::clamp(hz, 20.0f, 0.45f * kSampleRate);
    const float g = std::tan(std::numbers::pi_v<float> * clamped / kSampleRate);
    f.k = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.95f);
    f.a1 = 1.0f / (1.0f + g * (g + f.k));
    f.a2 = g * f.a1;
    f.a3 = g * f.a2;
}

float process(LowPass& f, float x) {
    const float v3 = x - f.ic2;
    const float v1 = f.a1 * f.ic1 + f.a2 * v3;
    const float v2 = f.ic2 + f.a2 * f.ic1 + f.a3 * v3;
    f.ic1 = 2.0f * v1 - f.ic1;
    f.ic2 = 2.0f * v2 - f.ic2;
    return v2;
}

struct OscState {
    float phase[3] = {0.0f, 0.37f, 0.71f}; // fixed offsets so detuned layers don't cancel at onset
    float modPhase = 0.0f;
    float subPhase = 0.0f;
    Rng noise{1};
};

float oscillate(const Patch& p, OscState& s, float hz, float t) {
    const float dt = hz / kSampleRate;
    float out = 0.0f;
    switch (p.wave) {
    case Wave::Sine:
        out = std::sin(kTwoPi * s.phase[0]);
        break;
    case Wave::Triangle:
        out = 1.0f - 4.0f * std::fabs(s.phase[0] - 0.5f);
        break;
    case Wave::Saw:
        out = sawAt(s.phase[0], dt);
        break;
    case Wave::Square:
        out = pulseAt(s.phase[0], dt, 0.5f);
        break;
    case Wave::Pulse:
        out = pulseAt(s.phase[0], dt, p.pulseWidth);
        break;
    case Wave::SuperSaw: {
        const float spread = std::exp2(p.detuneCents / 1200.0f);
        out = sawAt(s.phase[0], dt) +
              kSuperSawMix * (sawAt(s.phase[1], dt * spread) + sawAt(s.phase[2], dt / spread));
        out *= 0.5f;
        break;
    }
    case Wave::Fm: {
        const float index = p.fmIndex * std::exp(-t / p.fmDecay);
        out = std::sin(kTwoPi * s.phase[0] + index * std::sin(kTwoPi * s.modPhase));
        s.modPhase += dt * p.fmRatio;
        s.modPhase -= std::floor(s.modPhase);
        break;
    }
    case Wave::Noise:
        out = nextBipolar(s.noise);
        break;
    }
    if (p.subLevel > 0.0f) {
        out += p.subLevel * std::sin(kTwoPi * s.subPhase);
        s.subPhase += dt * 0.5f;
        s.subPhase -= std::floor(s.subPhase);
    }
    const float spread = std::exp2(p.detuneCents / 1200.0f);
    const float steps[3] = {dt, dt * spread, dt / spread};
    for (int i = 0; i < 3; ++i) {
        s.phase[i] += steps[i];
        s.phase[i] -= std::floor(s.phase[i]);
    }
    return out;
}

float pitchAt(const NoteShape& n, const Patch& p, float t) {
    float pitch = n.pitch;
    if (n.glideTime > 0.0f) {
        pitch += (n.pitchEnd - n.pitch) * std::min(t / n.glideTime, 1.0f);
    }
    if (p.vibratoSemis > 0.0f) {
        const float depth = p.vibratoSemis * std::min(t / std::max(p.vibratoDelay, 1e-3f), 1.0f);
        pitch += depth * std::sin(kTwoPi * p.vibratoHz * t);
    }
    return pitch;
}

} // namespace

float midiToHz(float pitch) {
    return 440.0f * std::exp2((pitch - 69.0f) / 12.0f);
}

std::vector<float> renderVoice(const Patch& patch, const NoteShape& note) {
    const float seconds = note.gate + std::max(patch.amp.release, kMinAttack);
    const size_t frames = static_cast<size_t>(std::ceil(seconds * kSampleRate));
    std::vector<float> out(frames, 0.0f);
    OscState osc;
    osc.noise.state = patch.noiseSeed;
    LowPass filter;
    const bool filtered = patch.cutoffHz < kFilterBypassHz || patch.filterEnvOct > 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        const float hz = midiToHz(pitchAt(note, patch, t));
        float x = oscillate(patch, osc, hz, t);
        if (filtered) {
            if (i % kFilterUpdateEvery == 0) {
                const float oct = patch.filterEnvOct * std::exp(-t / patch.filterDecay);
                setCutoff(filter, patch.cutoffHz * std::exp2(oct), patch.resonance);
            }
            x = process(filter, x);
        }
        out[i] = x * envelopeAt(patch.amp, t, note.gate) * note.velocity;
    }
    return out;
}
