// Instrument presets shared by the pieces and effects, so the set sounds like one game.
#pragma once

#include "sequencer.h"

Patch leadPatch();     // bright pulse lead with delayed vibrato
Patch flutePatch();    // soft breathy sine lead
Patch pluckPatch();    // short filtered saw for arpeggios
Patch bassPatch();     // saw plus sub with a snappy filter
Patch softBassPatch(); // round triangle bass for the calm pieces
Patch padPatch();      // slow detuned saws behind everything
Patch bellPatch();     // FM bell/celesta
Patch keysPatch();     // FM electric-piano style comping
Patch beepPatch();     // plain pulse beep for interface sounds
Patch noisePatch(float cutoffHz, float sweepOct, float sweepDecay, float attack, float decay);

Track synthTrack(const Patch& patch, float gain, float pan, float send, float legato = 0.9f);
Track drumTrack(float gain, float pan, float send);

// Plays the whole chord at each "x" of `pattern` ("-" holds, "." rests), voiced around `centre`.
void addComp(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
             const std::vector<Chord>& chords, double stepBeats, std::string_view pattern,
             int centre, float velocity);
