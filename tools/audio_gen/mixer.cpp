// Panning, ping-pong echo and a small room reverb on a send bus.
#include "mixer.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
// Comb and all-pass lengths (frames) with no common factors so the room doesn't ring at one pitch.
constexpr std::array<size_t, 4> kCombLengths = {1117, 1277, 1423, 1559};
constexpr std::array<size_t, 2> kAllPassLengths = {347, 113};
constexpr float kCombFeedback = 0.72f;
constexpr float kAllPassGain = 0.5f;
constexpr size_t kRightSpread = 23; // right channel comb offset, for width

float onePoleCoefficient(float hz) {
    return 1.0f - std::exp(-kTwoPi * hz / kSampleRate);
}

void pingPong(const Stereo& in, Stereo& out, const EchoSettings& e) {
    const size_t n = frameCount(in);
    const size_t delay = static_cast<size_t>(e.delaySeconds * kSampleRate);
    const float damp = onePoleCoefficient(e.dampingHz);
    std::vector<float> lineL(n, 0.0f), lineR(n, 0.0f);
    float lpL = 0.0f, lpR = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        const float tapL = i >= delay ? lineL[i - delay] : 0.0f;
        const float tapR = i >= delay ? lineR[i - delay] : 0.0f;
        lpL += damp * (tapL - lpL);
        lpR += damp * (tapR - lpR);
        // Input enters on the left only; feedback crosses sides so repeats bounce left-right.
        lineL[i] = 0.5f * (in.left[i] + in.right[i]) + e.feedback * lpR;
        lineR[i] = e.feedback * lpL;
        out.left[i] += e.echoLevel * lpL;
        out.right[i] += e.echoLevel * lpR;
    }
}

std::vector<float> roomChannel(const std::vector<float>& in, size_t spread) {
    const size_t n = in.size();
    std::vector<float> acc(n, 0.0f);
    for (size_t length : kCombLengths) {
        const size_t d = length + spread;
        std::vector<float> line(n, 0.0f);
        float lp = 0.0f;
        for (size_t i = 0; i < n; ++i) {
            const float tap = i >= d ? line[i - d] : 0.0f;
            lp += 0.4f * (tap - lp);
            line[i] = in[i] + kCombFeedback * lp;
            acc[i] += tap;
        }
    }
    for (size_t length : kAllPassLengths) {
        std::vector<float> line(n, 0.0f), out(n, 0.0f);
        for (size_t i = 0; i < n; ++i) {
            const float tap = i >= length ? line[i - length] : 0.0f;
            line[i] = acc[i] + kAllPassGain * tap;
            out[i] = tap - kAllPassGain * line[i];
        }
        acc.swap(out);
    }
    return acc;
}

void room(const Stereo& in, Stereo& out, float level) {
    std::vector<float> mono(frameCount(in));
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = 0.5f * (in.left[i] + in.right[i]);
    }
    const auto l = roomChannel(mono, 0);
    const auto r = roomChannel(mono, kRightSpread);
    const float g = level / static_cast<float>(kCombLengths.size());
    for (size_t i = 0; i < mono.size(); ++i) {
        out.left[i] += g * l[i];
        out.right[i] += g * r[i];
    }
}

} // namespace

Mix makeMix(size_t frames) {
    return Mix{makeStereo(frames), makeStereo(frames)};
}

void place(Mix& mix, const std::vector<float>& mono, size_t start, const Placement& where) {
    const float angle = (where.pan + 1.0f) * std::numbers::pi_v<float> / 4.0f;
    const float gl = where.gain * std::cos(angle) * std::numbers::sqrt2_v<float>;
    const float gr = where.gain * std::sin(angle) * std::numbers::sqrt2_v<float>;
    const size_t n = frameCount(mix.dry);
    for (size_t i = 0; i < mono.size() && start + i < n; ++i) {
        const float l = mono[i] * gl;
        const float r = mono[i] * gr;
        mix.dry.left[start + i] += l;
        mix.dry.right[start + i] += r;
        mix.send.left[start + i] += l * where.send;
        mix.send.right[start + i] += r * where.send;
    }
}

Stereo finishMix(const Mix& mix, const EchoSettings& echo) {
    Stereo out = mix.dry;
    pingPong(mix.send, out, echo);
    room(mix.send, out, echo.roomLevel);
    return out;
}
