// Note data for compositions: tracks, timed events, step patterns and chord helpers, and the
// renderer that turns them into a stereo mix.
#pragma once

#include "buffer.h"
#include "drums.h"
#include "mixer.h"
#include "voice.h"

#include <string_view>
#include <vector>

// Maps beats to frames for one stretch of a piece. Fractional frames per beat let an integer
// number of bars fill an exact frame count.
struct Timing {
    double startFrame = 0.0;
    double framesPerBeat = 22050.0;
};

struct Track {
    Patch patch;
    Placement place;
    bool drums = false;
    float legato = 0.9f; // fraction of a written note's length the key is held
};

struct Event {
    double startFrame = 0.0;
    int track = 0;
    NoteShape note;
    Drum drum = Drum::Kick;
};

struct Song {
    std::vector<Track> tracks;
    std::vector<Event> events;
    EchoSettings echo;
};

struct Chord {
    int root = 0; // MIDI pitch class 0..11
    std::vector<int> intervals;
};

double frameAt(const Timing& timing, double beat);
int addTrack(Song& song, const Track& track);

void addNote(Song& song, int track, const Timing& timing, double beat, double beats, float pitch,
             float velocity);
void addHit(Song& song, int track, const Timing& timing, double beat, Drum drum, float velocity);

// One token per step: a note name ("C5", "F#4", "Bb3"), "-" to hold the previous note a step
// longer, "." for a rest; "|" marks bars for the reader and takes no time.
void addMelody(Song& song, int track, const Timing& timing, double startBeat, double stepBeats,
               std::string_view pattern, float velocity, int transpose = 0);

// One token per step: "X" accent, "x" normal, "o" ghost, "." rest; "|" takes no time.
void addDrums(Song& song, int track, const Timing& timing, double startBeat, double stepBeats,
              Drum drum, std::string_view pattern, int repeats);

// Space separated chord symbols: root, then "", "m", "7", "m7", "maj7", "sus2", "sus4", "dim".
std::vector<Chord> parseChords(std::string_view symbols);

// Holds each chord for `beatsPerChord`, voiced close around `centre`.
// The same pitch class, moved by octaves into the six semitones either side of centre.
int voiceNear(int pitch, int centre);

void addPad(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
            const std::vector<Chord>& chords, int centre, float velocity);

// Walks chord tones per step; tokens are chord-tone indices (0 = root, 3 = root an octave up
// for triads), "." rests. The pattern restarts on each chord.
void addArp(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
            const std::vector<Chord>& chords, double stepBeats, std::string_view pattern,
            int lowest, float velocity);

// Bass line from chord roots; tokens "R" root, "O" octave up, "5" fifth, "3" third, "-" hold,
// "." rest. The pattern restarts on each chord.
void addBass(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
             const std::vector<Chord>& chords, double stepBeats, std::string_view pattern,
             int lowest, float velocity);

// Renders every event into a mix of `frames` frames (events past the end are cut) and runs the
// effects.
Stereo renderSong(const Song& song, size_t frames);
