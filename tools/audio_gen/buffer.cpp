// Whole-buffer helpers shared by music and effects rendering.
#include "buffer.h"

#include <algorithm>
#include <cmath>

Stereo makeStereo(size_t frames) {
    return Stereo{std::vector<float>(frames, 0.0f), std::vector<float>(frames, 0.0f)};
}

size_t frameCount(const Stereo& s) {
    return s.left.size();
}

void addInto(Stereo& dst, const Stereo& src, float gain) {
    const size_t n = std::min(frameCount(dst), frameCount(src));
    for (size_t i = 0; i < n; ++i) {
        dst.left[i] += src.left[i] * gain;
        dst.right[i] += src.right[i] * gain;
    }
}

void applyGain(Stereo& s, float gain) {
    for (size_t i = 0; i < frameCount(s); ++i) {
        s.left[i] *= gain;
        s.right[i] *= gain;
    }
}

float peakAbs(const Stereo& s) {
    float peak = 0.0f;
    for (size_t i = 0; i < frameCount(s); ++i) {
        peak = std::max({peak, std::fabs(s.left[i]), std::fabs(s.right[i])});
    }
    return peak;
}

void foldLoop(Stereo& s, size_t length) {
    for (size_t i = length; i < frameCount(s); ++i) {
        s.left[i % length] += s.left[i];
        s.right[i % length] += s.right[i];
    }
    truncateTo(s, length);
}

void truncateTo(Stereo& s, size_t length) {
    s.left.resize(length, 0.0f);
    s.right.resize(length, 0.0f);
}

void fadeEdges(Stereo& s, size_t fadeIn, size_t fadeOut) {
    const size_t n = frameCount(s);
    for (size_t i = 0; i < std::min(fadeIn, n); ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fadeIn);
        s.left[i] *= g;
        s.right[i] *= g;
    }
    for (size_t i = 0; i < std::min(fadeOut, n); ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fadeOut);
        s.left[n - 1 - i] *= g;
        s.right[n - 1 - i] *= g;
    }
}

float dbToGain(float db) {
    return std::pow(10.0f, db / 20.0f);
}

float gainToDb(float gain) {
    return 20.0f * std::log10(std::max(gain, 1e-9f));
}
