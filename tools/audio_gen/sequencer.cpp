// Turns written note data into timed events, and events into sound.
#include "sequencer.h"

#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

namespace {

constexpr float kAccent = 1.0f;
constexpr float kNormal = 0.72f;
constexpr float kGhost = 0.38f;

std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        size_t j = i;
        while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j]))) {
            ++j;
        }
        if (j > i && text.substr(i, j - i) != "|") {
            out.push_back(text.substr(i, j - i));
        }
        i = j;
    }
    return out;
}

int pitchClass(char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    case 'A':
        return 9;
    case 'B':
        return 11;
    default:
        throw std::runtime_error("bad note letter");
    }
}

// Parses "C#" / "Bb" / "F" at the start of `text`; returns characters consumed.
size_t parseRoot(std::string_view text, int& pc) {
    pc = pitchClass(text.at(0));
    size_t used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pc += text[1] == '#' ? 1 : -1;
        used = 2;
    }
    pc = (pc + 12) % 12;
    return used;
}

int parseNote(std::string_view token) {
    int pc = 0;
    const size_t used = parseRoot(token, pc);
    const int octave = std::stoi(std::string(token.substr(used)));
    return 12 * (octave + 1) + pc;
}

float velocityOf(std::string_view token) {
    if (token == "X") {
        return kAccent;
    }
    if (token == "x") {
        return kNormal;
    }
    if (token == "o") {
        return kGhost;
    }
    throw std::runtime_error("bad drum token");
}

std::vector<int> intervalsFor(std::string_view quality) {
    static const std::map<std::string_view, std::vector<int>> table = {
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}}, {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},   {"dim", {0, 3, 6}},      {"add9", {0, 4, 7, 14}},
    };
    const auto it = table.find(quality);
    if (it == table.end()) {
        throw std::runtime_error("bad chord quality");
    }
    return it->second;
}

int chordTone(const Chord& chord, int index, int lowest) {
    const int size = static_cast<int>(chord.intervals.size());
    int base = lowest + ((chord.root - lowest) % 12 + 12) % 12;
    return base + chord.intervals[index % size] + 12 * (index / size);
}

// Shared walker for chord-driven parts: calls `emit(step, token, chord, steps held)`.
template <typename Emit>
void walkChords(const std::vector<Chord>& chords, double beatsPerChord, double stepBeats,
                std::string_view pattern, Emit emit) {
    const auto steps = tokens(pattern);
    const int perChord = static_cast<int>(std::lround(beatsPerChord / stepBeats));
    for (size_t c = 0; c < chords.size(); ++c) {
        for (int s = 0; s < perChord; ++s) {
            const auto tok = steps[s % steps.size()];
            if (tok == "-" || tok == ".") {
                continue;
            }
            int held = 1;
            while (s + held < perChord && steps[(s + held) % steps.size()] == "-") {
                ++held;
            }
            emit(c * beatsPerChord + s * stepBeats, tok, chords[c], held);
        }
    }
}

} // namespace

double frameAt(const Timing& timing, double beat) {
    return timing.startFrame + beat * timing.framesPerBeat;
}

int addTrack(Song& song, const Track& track) {
    song.tracks.push_back(track);
    return static_cast<int>(song.tracks.size()) - 1;
}

void addNote(Song& song, int track, const Timing& timing, double beat, double beats, float pitch,
             float velocity) {
    Event e;
    e.startFrame = frameAt(timing, beat);
    e.track = track;
    e.note.pitch = pitch;
    e.note.pitchEnd = pitch;
    e.note.gate =
        static_cast<float>(beats * timing.framesPerBeat * song.tracks[track].legato / kSampleRate);
    e.note.velocity = velocity;
    song.events.push_back(e);
}

void addHit(Song& song, int track, const Timing& timing, double beat, Drum drum, float velocity) {
    Event e;
    e.startFrame = frameAt(timing, beat);
    e.track = track;
    e.drum = drum;
    e.note.velocity = velocity;
    song.events.push_back(e);
}

void addMelody(Song& song, int track, const Timing& timing, double startBeat, double stepBeats,
               std::string_view pattern, float velocity, int transpose) {
    const auto steps = tokens(pattern);
    for (size_t s = 0; s < steps.size(); ++s) {
        if (steps[s] == "-" || steps[s] == ".") {
            continue;
        }
        size_t held = 1;
        while (s + held < steps.size() && steps[s + held] == "-") {
            ++held;
        }
        addNote(song, track, timing, startBeat + s * stepBeats, held * stepBeats,
                static_cast<float>(parseNote(steps[s]) + transpose), velocity);
    }
}

void addDrums(Song& song, int track, const Timing& timing, double startBeat, double stepBeats,
              Drum drum, std::string_view pattern, int repeats) {
    const auto steps = tokens(pattern);
    for (int r = 0; r < repeats; ++r) {
        for (size_t s = 0; s < steps.size(); ++s) {
            if (steps[s] == ".") {
                continue;
            }
            const double beat = startBeat + (r * steps.size() + s) * stepBeats;
            addHit(song, track, timing, beat, drum, velocityOf(steps[s]));
        }
    }
}

std::vector<Chord> parseChords(std::string_view symbols) {
    std::vector<Chord> out;
    for (const auto tok : tokens(symbols)) {
        Chord c;
        const size_t used = parseRoot(tok, c.root);
        c.intervals = intervalsFor(tok.substr(used));
        out.push_back(c);
    }
    return out;
}

int voiceNear(int pitch, int centre) {
    while (pitch < centre - 6) {
        pitch += 12;
    }
    while (pitch >= centre + 6) {
        pitch -= 12;
    }
    return pitch;
}

void addPad(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
            const std::vector<Chord>& chords, int centre, float velocity) {
    for (size_t c = 0; c < chords.size(); ++c) {
        for (int interval : chords[c].intervals) {
            const int pitch = voiceNear(chords[c].root + interval, centre);
            addNote(song, track, timing, startBeat + c * beatsPerChord, beatsPerChord,
                    static_cast<float>(pitch), velocity);
        }
    }
}

void addArp(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
            const std::vector<Chord>& chords, double stepBeats, std::string_view pattern,
            int lowest, float velocity) {
    walkChords(chords, beatsPerChord, stepBeats, pattern,
               [&](double beat, std::string_view tok, const Chord& chord, int held) {
                   const int index = std::stoi(std::string(tok));
                   addNote(song, track, timing, startBeat + beat, held * stepBeats,
                           static_cast<float>(chordTone(chord, index, lowest)), velocity);
               });
}

void addBass(Song& song, int track, const Timing& timing, double startBeat, double beatsPerChord,
             const std::vector<Chord>& chords, double stepBeats, std::string_view pattern,
             int lowest, float velocity) {
    walkChords(chords, beatsPerChord, stepBeats, pattern,
               [&](double beat, std::string_view tok, const Chord& chord, int held) {
                   const int root = chordTone(chord, 0, lowest);
                   int pitch = root;
                   if (tok == "O") {
                       pitch = root + 12;
                   } else if (tok == "5") {
                       pitch = root + 7;
                   } else if (tok == "3") {
                       pitch = chordTone(chord, 1, lowest);
                   }
                   addNote(song, track, timing, startBeat + beat, held * stepBeats,
                           static_cast<float>(pitch), velocity);
               });
}

Stereo renderSong(const Song& song, size_t frames) {
    Mix mix = makeMix(frames);
    std::map<int, std::vector<float>> drumCache;
    for (const Event& e : song.events) {
        const Track& track = song.tracks[e.track];
        const auto start = static_cast<long long>(std::llround(e.startFrame));
        if (start < 0 || static_cast<size_t>(start) >= frames) {
            continue;
        }
        if (track.drums) {
            auto& hit = drumCache[static_cast<int>(e.drum)];
            if (hit.empty()) {
                hit = renderDrum(e.drum, 1.0f);
            }
            Placement where = track.place;
            where.gain *= e.note.velocity;
            place(mix, hit, static_cast<size_t>(start), where);
        } else {
            place(mix, renderVoice(track.patch, e.note), static_cast<size_t>(start), track.place);
        }
    }
    return finishMix(mix, song.echo);
}
