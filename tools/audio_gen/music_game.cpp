// In-game piece: A minor, about 146 bpm, driving. Intro of 24 bars, loop of 31 bars. Both end on
// the same two-bar turnaround (played at the loop's tempo, at the same offset from the end) so
// the intro spills exactly what the loop's own end spills into the loop's start.
#include "instruments.h"
#include "music.h"

namespace {

constexpr int kBeatsPerBar = 4;
constexpr double kEighth = 0.5;
constexpr double kSixteenth = 0.25;
constexpr double kDottedEighth = 0.75;
constexpr int kIntroBars = 24;
constexpr int kLoopBars = 31;
constexpr int kTurnaroundBars = 2;
constexpr double kBar = kBeatsPerBar;

struct Parts {
    int lead, bell, arp, bass, pad, kick, snare, clap, hat, openHat, crash;
};

Parts addTracks(Song& song) {
    Parts p{};
    p.lead = addTrack(song, synthTrack(leadPatch(), 0.30f, -0.15f, 0.28f, 0.92f));
    p.bell = addTrack(song, synthTrack(bellPatch(), 0.22f, 0.3f, 0.35f));
    p.arp = addTrack(song, synthTrack(pluckPatch(), 0.20f, 0.4f, 0.3f, 0.7f));
    p.bass = addTrack(song, synthTrack(bassPatch(), 0.42f, 0.0f, 0.0f, 0.8f));
    p.pad = addTrack(song, synthTrack(padPatch(), 0.07f, -0.3f, 0.25f, 0.97f));
    p.kick = addTrack(song, drumTrack(0.75f, 0.0f, 0.0f));
    p.snare = addTrack(song, drumTrack(0.38f, 0.05f, 0.12f));
    p.clap = addTrack(song, drumTrack(0.22f, -0.1f, 0.15f));
    p.hat = addTrack(song, drumTrack(0.14f, 0.35f, 0.0f));
    p.openHat = addTrack(song, drumTrack(0.12f, 0.35f, 0.05f));
    p.crash = addTrack(song, drumTrack(0.16f, -0.4f, 0.1f));
    return p;
}

// Melody A: the main theme over Am F C G Am F G E, in eighths.
constexpr const char* kThemeA = "E5 - A4 - C5 - E5 D5 | C5 - A4 - F4 - A4 C5 | "
                                "E5 - G5 - E5 D5 C5 D5 | D5 - - - B4 - G4 . | "
                                "E5 - A5 - G5 E5 D5 C5 | A4 - C5 - F5 - E5 D5 | "
                                "D5 - B4 - D5 - G5 F5 | E5 - - - G#4 - B4 - ";
// Theme A again, with a rising close that lands on the tonic.
constexpr const char* kThemeAEnd = "E5 - A4 - C5 - E5 D5 | C5 - A4 - F4 - A4 C5 | "
                                   "E5 - G5 - E5 D5 C5 D5 | D5 - - - B4 - G4 . | "
                                   "E5 - A5 - G5 E5 D5 C5 | A4 - C5 - F5 - E5 D5 | "
                                   "D5 - B4 - G5 - B5 - | A5 - - - - - . . ";
// Melody B: a lift towards the relative major over F G Em Am Dm G C E.
constexpr const char* kThemeB = "A5 - - G5 F5 - C5 - | D5 - G5 - B5 - A5 G5 | "
                                "G5 - - E5 B4 - E5 - | C6 - B5 A5 E5 - - - | "
                                "F5 - A5 - D6 - C6 A5 | B5 - - G5 D5 - G5 - | "
                                "E5 - G5 C6 - B5 G5 E5 | G#5 - - - E5 - B4 - ";
constexpr const char* kBridgeBells = "F5 - - - A5 - - - | G5 - - - B5 - - - | "
                                     "A5 - - - C6 - - - | B5 - - - D6 - - - | "
                                     "C6 - - - E6 - - - ";
constexpr const char* kTurnaroundLead = "A5 - G5 F5 E5 - D5 C5 | B4 - - - G#4 - B4 D5";

constexpr const char* kChordsA = "Am F C G Am F G E";
constexpr const char* kChordsAEnd = "Am F C G Am F G Am";
constexpr const char* kChordsB = "F G Em Am Dm G C E";
constexpr const char* kChordsBridge = "Dm Em F G Am";
constexpr const char* kChordsTurnaround = "F E";

constexpr const char* kArp = "0 1 2 3 4 3 2 1";
constexpr const char* kBassDrive = "R R O R R R O R";
constexpr const char* kBassHeld = "R - - - - - - -";
constexpr const char* kKick = "X . . . . . x . X . . . . . x .";
constexpr const char* kSnare = ". . . . X . . . . . . . X . . o";
constexpr const char* kHats = "x . x . x . x . x . x . x . . .";
constexpr const char* kHatsBusy = "x o x o x o x o x o x o x o . .";
constexpr const char* kOpenHat = ". . . . . . . . . . . . . . x .";
constexpr const char* kFourFloor = "X . . . x . . . X . . . x . . .";
constexpr const char* kBuildSnare = "x . x . x . x . x . x . x . x .";
constexpr const char* kRollSnare = "x o x o x o x o X x X x X X X X";
constexpr const char* kFillSnare = ". . . . X . . . x o x o X x X X";

constexpr int kArpLowest = 57;
constexpr int kBassLowest = 33;
constexpr int kPadCentre = 64;

// The full band groove for `bars` bars starting at `bar`.
void groove(Song& s, const Parts& p, const Timing& t, int bar, int bars, bool busy) {
    const double at = bar * kBar;
    addDrums(s, p.kick, t, at, kSixteenth, Drum::Kick, kKick, bars);
    addDrums(s, p.snare, t, at, kSixteenth, Drum::Snare, kSnare, bars);
    addDrums(s, p.hat, t, at, kSixteenth, Drum::ClosedHat, busy ? kHatsBusy : kHats, bars);
    addDrums(s, p.openHat, t, at, kSixteenth, Drum::OpenHat, kOpenHat, bars);
    if (busy) {
        addDrums(s, p.clap, t, at, kSixteenth, Drum::Clap, kSnare, bars);
    }
}

void harmony(Song& s, const Parts& p, const Timing& t, int bar, const char* chords,
             const char* bass) {
    const auto c = parseChords(chords);
    addArp(s, p.arp, t, bar * kBar, kBar, c, kSixteenth, kArp, kArpLowest, 0.8f);
    addPad(s, p.pad, t, bar * kBar, kBar, c, kPadCentre, 1.0f);
    if (bass) {
        addBass(s, p.bass, t, bar * kBar, kBar, c, kEighth, bass, kBassLowest, 1.0f);
    }
}

// The last two bars of intro and loop alike: F then E with a snare fill back to the top.
void turnaround(Song& s, const Parts& p, const Timing& t) {
    harmony(s, p, t, 0, kChordsTurnaround, kBassDrive);
    addMelody(s, p.lead, t, 0, kEighth, kTurnaroundLead, 1.0f);
    addDrums(s, p.kick, t, 0, kSixteenth, Drum::Kick, kKick, 2);
    addDrums(s, p.snare, t, 0, kSixteenth, Drum::Snare, kSnare, 1);
    addDrums(s, p.snare, t, kBar, kSixteenth, Drum::Snare, kFillSnare, 1);
    addDrums(s, p.hat, t, 0, kSixteenth, Drum::ClosedHat, kHatsBusy, 2);
}

Timing turnaroundTiming(size_t endFrame, double framesPerBeat) {
    return Timing{static_cast<double>(endFrame) - kTurnaroundBars * kBar * framesPerBeat,
                  framesPerBeat};
}

void composeIntro(Song& s, const Parts& p, size_t frames, double loopFramesPerBeat) {
    const Timing end = turnaroundTiming(frames, loopFramesPerBeat);
    const int bodyBars = kIntroBars - kTurnaroundBars;
    const Timing t{0.0, end.startFrame / (bodyBars * kBar)};
    harmony(s, p, t, 0, "Am F C G", nullptr);
    addDrums(s, p.hat, t, 2 * kBar, kSixteenth, Drum::ClosedHat, kHats, 2);
    addDrums(s, p.kick, t, 2 * kBar, kSixteenth, Drum::Kick, kFourFloor, 2);
    harmony(s, p, t, 4, kChordsA, kBassDrive);
    groove(s, p, t, 4, 8, false);
    addHit(s, p.crash, t, 4 * kBar, Drum::Crash, 1.0f);
    harmony(s, p, t, 12, kChordsA, kBassDrive);
    groove(s, p, t, 12, 8, true);
    addHit(s, p.crash, t, 12 * kBar, Drum::Crash, 1.0f);
    addMelody(s, p.bell, t, 12 * kBar, kEighth, kThemeA, 1.0f);
    harmony(s, p, t, 20, "Dm Em", kBassDrive);
    addDrums(s, p.kick, t, 20 * kBar, kSixteenth, Drum::Kick, kFourFloor, 2);
    addDrums(s, p.snare, t, 20 * kBar, kSixteenth, Drum::Snare, kBuildSnare, 1);
    addDrums(s, p.snare, t, 21 * kBar, kSixteenth, Drum::Snare, kRollSnare, 1);
    addDrums(s, p.hat, t, 20 * kBar, kSixteenth, Drum::ClosedHat, kHats, 2);
    turnaround(s, p, end);
}

void composeLoop(Song& s, const Parts& p, size_t frames) {
    const Timing t{0.0, static_cast<double>(frames) / (kLoopBars * kBar)};
    addHit(s, p.crash, t, 0, Drum::Crash, 1.0f);
    harmony(s, p, t, 0, kChordsA, kBassDrive);
    groove(s, p, t, 0, 8, false);
    addMelody(s, p.lead, t, 0, kEighth, kThemeA, 1.0f);

    addHit(s, p.crash, t, 8 * kBar, Drum::Crash, 0.8f);
    harmony(s, p, t, 8, kChordsB, kBassDrive);
    groove(s, p, t, 8, 8, true);
    addMelody(s, p.lead, t, 8 * kBar, kEighth, kThemeB, 1.0f);

    addHit(s, p.crash, t, 16 * kBar, Drum::Crash, 1.0f);
    harmony(s, p, t, 16, kChordsAEnd, kBassDrive);
    groove(s, p, t, 16, 8, true);
    addMelody(s, p.lead, t, 16 * kBar, kEighth, kThemeAEnd, 1.0f);
    addMelody(s, p.bell, t, 16 * kBar, kEighth, kThemeAEnd, 0.6f, 12);

    // Breakdown: bells over held bass, the kick thins out, then the snare builds.
    harmony(s, p, t, 24, kChordsBridge, kBassHeld);
    addMelody(s, p.bell, t, 24 * kBar, kEighth, kBridgeBells, 1.0f);
    addDrums(s, p.kick, t, 24 * kBar, kSixteenth, Drum::Kick, "X . . . . . . . . . . . . . . .", 4);
    addDrums(s, p.hat, t, 24 * kBar, kSixteenth, Drum::ClosedHat, kHats, 5);
    addDrums(s, p.kick, t, 28 * kBar, kSixteenth, Drum::Kick, kFourFloor, 1);
    addDrums(s, p.snare, t, 28 * kBar, kSixteenth, Drum::Snare, kBuildSnare, 1);

    turnaround(s, p, turnaroundTiming(frames, t.framesPerBeat));
}

} // namespace

Score composeGame(size_t introFrames, size_t loopFrames) {
    Score score;
    const Parts parts = addTracks(score.loop);
    score.intro.tracks = score.loop.tracks;
    const double framesPerBeat = static_cast<double>(loopFrames) / (kLoopBars * kBar);
    // Dotted-eighth echo: the repeats fall between the driving eighths instead of on them.
    const auto delay = static_cast<float>(kDottedEighth * framesPerBeat / kSampleRate);
    score.loop.echo = {delay, 0.3f, 4200.0f, 0.45f, 0.35f};
    score.intro.echo = score.loop.echo;
    composeLoop(score.loop, parts, loopFrames);
    composeIntro(score.intro, parts, introFrames, framesPerBeat);
    return score;
}
