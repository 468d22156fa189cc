// Mix bus: places mono sounds in the stereo field and feeds an echo/room send.
#pragma once

#include "buffer.h"

#include <vector>

struct Placement {
    float gain = 1.0f;
    float pan = 0.0f;  // -1 left .. +1 right, constant power
    float send = 0.0f; // amount sent to the echo/room effects
};

struct EchoSettings {
    float delaySeconds = 0.3f;
    float feedback = 0.3f;     // each repeat is this much quieter and bounces to the other side
    float dampingHz = 4000.0f; // repeats get darker, like a tape echo
    float echoLevel = 0.5f;
    float roomLevel = 0.3f; // short diffuse room after the echo, for depth
};

struct Mix {
    Stereo dry;
    Stereo send;
};

Mix makeMix(size_t frames);

// Adds `mono` starting at frame `start`; samples falling past the end are dropped.
void place(Mix& mix, const std::vector<float>& mono, size_t start, const Placement& where);

// Runs the send through echo and room and returns dry + wet. Purely linear and time-invariant, so
// a loop's spill-over can be folded back onto its start afterwards.
Stereo finishMix(const Mix& mix, const EchoSettings& echo);
