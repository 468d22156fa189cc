// Synthesised drum kit: each hit is built from swept sines and filtered noise.
#pragma once

#include <vector>

enum class Drum { Kick, Snare, Rim, ClosedHat, OpenHat, Clap, Crash, Shaker, Tom };

// Renders one hit as mono samples. Every hit of a kind uses the same noise seed, so identical
// patterns render identically wherever they fall (loop ends and intro ends match exactly).
std::vector<float> renderDrum(Drum kind, float velocity);
