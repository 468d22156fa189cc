// Synth voices: oscillators with an amplitude envelope and an enveloped low-pass filter.
#pragma once

#include <vector>

enum class Wave { Sine, Triangle, Saw, Square, Pulse, SuperSaw, Fm, Noise };

struct Envelope {
    float attack = 0.005f; // seconds, linear rise
    float decay = 0.2f;    // seconds, time constant of the fall towards sustain
    float sustain = 0.7f;  // level held while the gate is open
    float release = 0.15f; // seconds, smooth fall to exact silence
};

struct Patch {
    Wave wave = Wave::Saw;
    Envelope amp;
    float cutoffHz = 20000.0f; // 20 kHz or more means the filter is bypassed
    float filterEnvOct = 0.0f; // extra cutoff at note start, in octaves
    float filterDecay = 0.2f;  // seconds, time constant of that extra cutoff
    float resonance = 0.1f;    // 0..0.95
    float detuneCents = 0.0f;  // spread of the second/third oscillator
    float subLevel = 0.0f;     // sine one octave down, for bass weight
    float fmRatio = 1.0f;      // modulator/carrier ratio for Wave::Fm
    float fmIndex = 0.0f;      // modulation depth at note start
    float fmDecay = 0.3f;      // seconds, time constant of the index fall
    float vibratoSemis = 0.0f; // depth once faded in
    float vibratoHz = 5.5f;
    float vibratoDelay = 0.25f; // seconds before vibrato is fully in
    float pulseWidth = 0.5f;    // for Wave::Pulse
    unsigned noiseSeed = 1;     // for Wave::Noise
};

struct NoteShape {
    float pitch = 69.0f;    // MIDI note number; fractional allowed
    float pitchEnd = 69.0f; // glides linearly (in semitones) towards this over glideTime
    float glideTime = 0.0f; // seconds; 0 = no glide
    float gate = 0.2f;      // seconds the key is held
    float velocity = 1.0f;
};

float midiToHz(float pitch);

// Renders one note, including its release, as mono samples at kSampleRate.
std::vector<float> renderVoice(const Patch& patch, const NoteShape& note);
