// Each effect is a tiny song whose "beat" is one second, so event times read as seconds.
#include "sfx.h"

#include "instruments.h"
#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace {

constexpr float kEffectLoudness = -17.0f; // LUFS, matches the music
constexpr float kPeakCeilingDb = -3.0f;
constexpr size_t kEndFade = 2205;             // 50 ms: the cut at the exact length is never a step
constexpr double kCountdownStep = 1.0 / 1.65; // seconds between the on-screen digits

const Timing kSeconds{0.0, static_cast<double>(kSampleRate)};

void note(Song& s, int track, double at, double length, float pitch, float velocity) {
    addNote(s, track, kSeconds, at, length, pitch, velocity);
}

// Like note() but the pitch slides to `to` over `glide` seconds.
void glideNote(Song& s, int track, double at, double length, float from, float to, float glide,
               float velocity) {
    note(s, track, at, length, from, velocity);
    s.events.back().note.pitchEnd = to;
    s.events.back().note.glideTime = glide;
}

Song quietRoom() {
    Song s;
    s.echo = {0.11f, 0.22f, 5000.0f, 0.25f, 0.3f};
    return s;
}

Patch softBell() {
    Patch p = bellPatch();
    p.fmIndex = 0.9f;
    p.amp.decay = 0.35f;
    return p;
}

Song countdown() {
    Song s = quietRoom();
    const int beep = addTrack(s, synthTrack(beepPatch(), 0.35f, 0.0f, 0.2f));
    const int ring = addTrack(s, synthTrack(bellPatch(), 0.35f, 0.0f, 0.3f));
    for (int k = 1; k <= 2; ++k) {
        note(s, beep, k * kCountdownStep, 0.12, 81.0f, 1.0f);
        note(s, ring, k * kCountdownStep, 0.12, 81.0f, 0.6f);
    }
    // The third beat rises an octave and rings, announcing the start.
    const double last = 3 * kCountdownStep;
    glideNote(s, beep, last, 0.3, 81.0f, 93.0f, 0.22f, 1.0f);
    s.events.back().note.gate = 0.3f;
    glideNote(s, ring, last, 0.2, 81.0f, 93.0f, 0.22f, 0.9f);
    return s;
}

Song drop() {
    Song s = quietRoom();
    Patch body;
    body.wave = Wave::Sine;
    body.amp = {0.001f, 0.09f, 0.0f, 0.12f};
    const int thump = addTrack(s, synthTrack(body, 0.9f, 0.0f, 0.0f));
    const int dust =
        addTrack(s, synthTrack(noisePatch(300.0f, 2.5f, 0.03f, 0.001f, 0.06f), 0.6f, 0.0f, 0.1f));
    const int kit = addTrack(s, drumTrack(0.7f, 0.0f, 0.05f));
    glideNote(s, thump, 0.0, 0.08, 45.0f, 28.0f, 0.12f, 1.0f);
    note(s, dust, 0.0, 0.05, 60.0f, 1.0f);
    addHit(s, kit, kSeconds, 0.0, Drum::Kick, 0.8f);
    return s;
}

Song holdWhoosh() {
    Song s = quietRoom();
    Patch air = noisePatch(700.0f, 2.5f, 0.35f, 0.18f, 0.25f);
    air.amp.sustain = 0.0f;
    const int left = addTrack(s, synthTrack(air, 0.7f, -0.6f, 0.2f));
    Patch air2 = air;
    air2.noiseSeed = 131;
    air2.cutoffHz = 1000.0f;
    const int right = addTrack(s, synthTrack(air2, 0.7f, 0.6f, 0.2f));
    Patch tone;
    tone.wave = Wave::Sine;
    tone.amp = {0.08f, 0.15f, 0.0f, 0.1f};
    const int swoop = addTrack(s, synthTrack(tone, 0.2f, 0.0f, 0.3f));
    // Left then right: the piece moves across into the hold box.
    note(s, left, 0.0, 0.25, 60.0f, 1.0f);
    note(s, right, 0.09, 0.25, 60.0f, 1.0f);
    glideNote(s, swoop, 0.02, 0.2, 67.0f, 79.0f, 0.2f, 1.0f);
    return s;
}

Song lineClear() {
    Song s = quietRoom();
    const int chime = addTrack(s, synthTrack(bellPatch(), 0.4f, 0.2f, 0.35f));
    const int shine = addTrack(s, synthTrack(pluckPatch(), 0.25f, -0.25f, 0.3f));
    const int sweep =
        addTrack(s, synthTrack(noisePatch(2500.0f, 2.0f, 0.2f, 0.002f, 0.2f), 0.18f, 0.0f, 0.3f));
    const float notes[] = {84.0f, 88.0f, 91.0f, 96.0f};
    for (int i = 0; i < 4; ++i) {
        note(s, chime, 0.045 * i, 0.5, notes[i], 1.0f - 0.08f * i);
        note(s, shine, 0.045 * i, 0.08, notes[i] - 12.0f, 0.8f);
    }
    glideNote(s, shine, 0.0, 0.25, 72.0f, 96.0f, 0.25f, 0.5f);
    note(s, sweep, 0.0, 0.15, 60.0f, 1.0f);
    return s;
}

Song levelUp() {
    Song s = quietRoom();
    Patch square = beepPatch();
    square.amp = {0.002f, 0.08f, 0.4f, 0.06f};
    const int arp = addTrack(s, synthTrack(square, 0.3f, -0.1f, 0.3f));
    const int bell = addTrack(s, synthTrack(softBell(), 0.3f, 0.2f, 0.3f));
    const float notes[] = {72.0f, 76.0f, 79.0f, 84.0f, 88.0f};
    for (int i = 0; i < 5; ++i) {
        const double length = i == 4 ? 0.3 : 0.06;
        note(s, arp, 0.065 * i, length, notes[i], 1.0f);
        note(s, bell, 0.065 * i, length, notes[i] + 12.0f, 0.5f);
    }
    return s;
}

// Two soft notes; pause falls, resume rises over the same pair so they sound related.
Song twoNotes(float first, float second, float gain) {
    Song s = quietRoom();
    const int keys = addTrack(s, synthTrack(keysPatch(), gain, 0.0f, 0.3f));
    const int bell = addTrack(s, synthTrack(softBell(), gain * 0.5f, 0.15f, 0.3f));
    note(s, keys, 0.0, 0.1, first, 1.0f);
    note(s, bell, 0.0, 0.1, first + 12.0f, 0.7f);
    note(s, keys, 0.12, 0.3, second, 1.0f);
    note(s, bell, 0.12, 0.3, second + 12.0f, 0.7f);
    return s;
}

Song select() {
    Song s = quietRoom();
    Patch blip = softBell();
    blip.amp = {0.001f, 0.05f, 0.0f, 0.05f};
    const int tick = addTrack(s, synthTrack(blip, 0.4f, 0.0f, 0.15f));
    const int kit = addTrack(s, drumTrack(0.15f, 0.0f, 0.0f));
    note(s, tick, 0.0, 0.05, 88.0f, 1.0f);
    addHit(s, kit, kSeconds, 0.0, Drum::Rim, 1.0f);
    return s;
}

Song confirm() {
    Song s = quietRoom();
    const int chime = addTrack(s, synthTrack(softBell(), 0.4f, 0.0f, 0.3f));
    note(s, chime, 0.0, 0.06, 79.0f, 0.9f);
    note(s, chime, 0.07, 0.25, 86.0f, 1.0f);
    return s;
}

Song gameOverPhrase() {
    Song s = quietRoom();
    s.echo.delaySeconds = 0.24f;
    s.echo.feedback = 0.3f;
    const int lead = addTrack(s, synthTrack(leadPatch(), 0.35f, -0.1f, 0.35f));
    const int pad = addTrack(s, synthTrack(padPatch(), 0.12f, 0.1f, 0.3f));
    Patch dive;
    dive.wave = Wave::Triangle;
    dive.amp = {0.01f, 0.6f, 0.0f, 0.3f};
    const int fall = addTrack(s, synthTrack(dive, 0.3f, 0.0f, 0.2f));
    const float phrase[] = {79.0f, 77.0f, 75.0f, 74.0f, 72.0f};
    for (int i = 0; i < 5; ++i) {
        note(s, lead, 0.2 * i, i == 4 ? 0.7 : 0.17, phrase[i], 1.0f);
    }
    glideNote(s, fall, 1.0, 1.0, 60.0f, 36.0f, 1.0f, 1.0f);
    for (float p : {48.0f, 51.0f, 55.0f, 60.0f}) {
        note(s, pad, 1.0, 2.2, p, 1.0f);
    }
    return s;
}

const std::map<std::string, std::function<Song()>, std::less<>>& effects() {
    static const std::map<std::string, std::function<Song()>, std::less<>> table = {
        {"sfx_countdown", countdown},
        {"sfx_drop", drop},
        {"sfx_hold_block", holdWhoosh},
        {"sfx_line_clear", lineClear},
        {"sfx_level_up", levelUp},
        {"sfx_pause", [] { return twoNotes(88.0f, 81.0f, 0.4f); }},
        {"sfx_resume", [] { return twoNotes(81.0f, 88.0f, 0.4f); }},
        {"sfx_select", select},
        {"sfx_confirm", confirm},
        {"sfx_quit", [] { return twoNotes(64.0f, 57.0f, 0.45f); }},
        {"sfx_gameover", gameOverPhrase},
    };
    return table;
}

} // namespace

Stereo renderEffect(std::string_view name, size_t frames) {
    const auto it = effects().find(name);
    if (it == effects().end()) {
        throw std::runtime_error("unknown effect " + std::string(name));
    }
    Stereo out = renderSong(it->second(), frames);
    fadeEdges(out, 0, kEndFade);
    const float loud = static_cast<float>(integratedLoudness(out));
    float gain = dbToGain(kEffectLoudness - loud);
    gain = std::min(gain, dbToGain(kPeakCeilingDb) / std::max(peakAbs(out), 1e-6f));
    applyGain(out, gain);
    return out;
}
