// Stereo sample buffers and the whole-buffer operations the generator needs (gain, peak, loop
// fold).
#pragma once

#include <cstddef>
#include <vector>

inline constexpr int kSampleRate = 44100;

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
};

Stereo makeStereo(size_t frames);
size_t frameCount(const Stereo& s);
void addInto(Stereo& dst, const Stereo& src, float gain);
void applyGain(Stereo& s, float gain);
float peakAbs(const Stereo& s);

// Adds everything past `length` back onto the start (wrapping as often as needed) and truncates, so
// releases and echoes that ring past the loop end continue seamlessly after the loop restarts.
void foldLoop(Stereo& s, size_t length);

// Keeps the first `length` frames, zero-padding if shorter.
void truncateTo(Stereo& s, size_t length);

// Short linear fade at the very start and end so a one-shot never begins or ends on a step.
void fadeEdges(Stereo& s, size_t fadeIn, size_t fadeOut);

float dbToGain(float db);
float gainToDb(float gain);
