// Patch values tuned by ear for this game; see voice.h for what each field does.
#include "instruments.h"

Patch leadPatch() {
    Patch p;
    p.wave = Wave::Pulse;
    p.pulseWidth = 0.32f;
    p.amp = {0.004f, 0.25f, 0.65f, 0.12f};
    p.cutoffHz = 2600.0f;
    p.filterEnvOct = 1.2f;
    p.filterDecay = 0.12f;
    p.resonance = 0.15f;
    p.vibratoSemis = 0.14f;
    p.vibratoHz = 5.6f;
    p.vibratoDelay = 0.3f;
    return p;
}

Patch flutePatch() {
    Patch p;
    p.wave = Wave::Triangle;
    p.amp = {0.05f, 0.4f, 0.8f, 0.2f};
    p.cutoffHz = 2400.0f;
    p.vibratoSemis = 0.12f;
    p.vibratoHz = 5.0f;
    p.vibratoDelay = 0.35f;
    return p;
}

Patch pluckPatch() {
    Patch p;
    p.wave = Wave::Saw;
    p.amp = {0.002f, 0.12f, 0.0f, 0.08f};
    p.cutoffHz = 700.0f;
    p.filterEnvOct = 3.0f;
    p.filterDecay = 0.07f;
    p.resonance = 0.3f;
    return p;
}

Patch bassPatch() {
    Patch p;
    p.wave = Wave::Saw;
    p.subLevel = 0.7f;
    p.amp = {0.003f, 0.15f, 0.55f, 0.05f};
    p.cutoffHz = 280.0f;
    p.filterEnvOct = 2.3f;
    p.filterDecay = 0.08f;
    p.resonance = 0.25f;
    return p;
}

Patch softBassPatch() {
    Patch p;
    p.wave = Wave::Triangle;
    p.subLevel = 0.5f;
    p.amp = {0.01f, 0.4f, 0.6f, 0.12f};
    p.cutoffHz = 600.0f;
    return p;
}

Patch padPatch() {
    Patch p;
    p.wave = Wave::SuperSaw;
    p.detuneCents = 11.0f;
    p.amp = {0.35f, 1.0f, 0.8f, 0.5f};
    p.cutoffHz = 1500.0f;
    p.resonance = 0.05f;
    return p;
}

Patch bellPatch() {
    Patch p;
    p.wave = Wave::Fm;
    p.fmRatio = 4.0f;
    p.fmIndex = 1.6f;
    p.fmDecay = 0.25f;
    p.amp = {0.002f, 0.5f, 0.0f, 0.35f};
    return p;
}

Patch keysPatch() {
    Patch p;
    p.wave = Wave::Fm;
    p.fmRatio = 1.0f;
    p.fmIndex = 1.3f;
    p.fmDecay = 0.45f;
    p.amp = {0.003f, 0.9f, 0.3f, 0.25f};
    p.cutoffHz = 3500.0f;
    return p;
}

Patch beepPatch() {
    Patch p;
    p.wave = Wave::Pulse;
    p.pulseWidth = 0.5f;
    p.amp = {0.002f, 0.12f, 0.5f, 0.05f};
    p.cutoffHz = 3200.0f;
    return p;
}

Patch noisePatch(float cutoffHz, float sweepOct, float sweepDecay, float attack, float decay) {
    Patch p;
    p.wave = Wave::Noise;
    p.noiseSeed = 97;
    p.amp = {attack, decay, 0.0f, 0.1f};
    p.cutoffHz = cutoffHz;
    p.filterEnvOct = sweepOct;
    p.filterDecay = sweepDecay;
    p.resonance = 0.4f;
    return p;
}

Track synthTrack(const Patch& patch, float gain, float pan, float send, float legato) {
    Track t;
    t.patch = patch;
    t.place = {gain, pan, send};
    t.legato = legato;
    return t;
}

Track drumTrack(float gain, float pan, float send) {
    Track t;
    t.drums = true;
    t.place = {gain, pan, send};
    return t;
}

void addComp(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
             const std::vector<Chord>& chords, double stepBeats, std::string_view pattern,
             int centre, float velocity) {
    for (size_t c = 0; c < chords.size(); ++c) {
        for (int interval : chords[c].intervals) {
            const int pitch = voiceNear(chords[c].root + interval, centre);
            // Each voiced tone is a one-note line: any sounding token plays its "root".
            const Chord tone{pitch % 12, {0}};
            addBass(song, track, timing, startBeat + c * beatsPerChord, beatsPerChord, {tone},
                    stepBeats, pattern, pitch - pitch % 12, velocity);
        }
    }
}
