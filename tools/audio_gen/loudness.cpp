// K-weighting filters and block gating for integrated loudness at 44.1 kHz.
#include "loudness.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kShelfGainDb = 3.999843853973347;
constexpr double kShelfHz = 1681.974450955533;
constexpr double kShelfQ = 0.7071752369554196;
constexpr double kHighPassHz = 38.13547087602444;
constexpr double kHighPassQ = 0.5003270373238773;
constexpr double kBlockSeconds = 0.4;
constexpr double kBlockStep = 0.1; // 75 % overlap
constexpr double kAbsoluteGate = -70.0;
constexpr double kRelativeGate = -10.0;
constexpr double kOffset = -0.691;

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
};

double run(Biquad& f, double x) {
    const double y = f.b0 * x + f.z1;
    f.z1 = f.b1 * x - f.a1 * y + f.z2;
    f.z2 = f.b2 * x - f.a2 * y;
    return y;
}

Biquad shelf() {
    const double a = std::pow(10.0, kShelfGainDb / 40.0);
    const double w0 = 2.0 * std::numbers::pi * kShelfHz / kSampleRate;
    const double alpha = std::sin(w0) / (2.0 * kShelfQ);
    const double c = std::cos(w0), sa = 2.0 * std::sqrt(a) * alpha;
    const double a0 = (a + 1) - (a - 1) * c + sa;
    return Biquad{a * ((a + 1) + (a - 1) * c + sa) / a0, -2 * a * ((a - 1) + (a + 1) * c) / a0,
                  a * ((a + 1) + (a - 1) * c - sa) / a0, 2 * ((a - 1) - (a + 1) * c) / a0,
                  ((a + 1) - (a - 1) * c - sa) / a0};
}

Biquad highPass() {
    const double w0 = 2.0 * std::numbers::pi * kHighPassHz / kSampleRate;
    const double alpha = std::sin(w0) / (2.0 * kHighPassQ);
    const double c = std::cos(w0), a0 = 1.0 + alpha;
    return Biquad{(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
}

std::vector<double> weightedSquares(const std::vector<float>& channel) {
    Biquad s = shelf(), h = highPass();
    std::vector<double> out(channel.size());
    for (size_t i = 0; i < channel.size(); ++i) {
        const double y = run(h, run(s, channel[i]));
        out[i] = y * y;
    }
    return out;
}

double toLufs(double meanSquare) {
    return kOffset + 10.0 * std::log10(std::max(meanSquare, 1e-20));
}

} // namespace

double integratedLoudness(const Stereo& s) {
    const auto l = weightedSquares(s.left);
    const auto r = weightedSquares(s.right);
    const size_t block = static_cast<size_t>(kBlockSeconds * kSampleRate);
    const size_t step = static_cast<size_t>(kBlockStep * kSampleRate);
    std::vector<double> blocks;
    for (size_t start = 0; start + block <= l.size(); start += step) {
        double sum = 0.0;
        for (size_t i = start; i < start + block; ++i) {
            sum += l[i] + r[i];
        }
        blocks.push_back(sum / block);
    }
    auto gatedMean = [&](double gate) {
        double sum = 0.0;
        size_t count = 0;
        for (double z : blocks) {
            if (toLufs(z) > gate) {
                sum += z;
                ++count;
            }
        }
        return count ? sum / count : 0.0;
    };
    const double ungated = gatedMean(kAbsoluteGate);
    if (ungated <= 0.0) {
        return -100.0;
    }
    return toLufs(gatedMean(toLufs(ungated) + kRelativeGate));
}
