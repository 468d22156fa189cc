// Title piece: D major waltz (3/4) at about 132 bpm, inviting. The intro is a one-beat pickup and
// ten bars; the loop is twenty bars. Both end on the same two-bar turnaround at the loop's tempo.
#include "instruments.h"
#include "music.h"

namespace {

constexpr int kBeatsPerBar = 3;
constexpr double kBar = kBeatsPerBar;
constexpr double kEighth = 0.5;
constexpr int kPickupBeats = 1;
constexpr int kIntroBars = 10;
constexpr int kLoopBars = 20;
constexpr int kTurnaroundBars = 2;
constexpr double kQuarter = 1.0;

struct Parts {
    int flute, bell, keys, bass, pad, kick, rim, shaker, openHat;
};

Parts addTracks(Song& song) {
    Parts p{};
    p.flute = addTrack(song, synthTrack(flutePatch(), 0.42f, -0.1f, 0.35f, 0.95f));
    p.bell = addTrack(song, synthTrack(bellPatch(), 0.24f, 0.35f, 0.4f));
    p.keys = addTrack(song, synthTrack(keysPatch(), 0.16f, 0.2f, 0.25f, 0.8f));
    p.bass = addTrack(song, synthTrack(softBassPatch(), 0.42f, 0.0f, 0.0f, 0.9f));
    p.pad = addTrack(song, synthTrack(padPatch(), 0.06f, -0.35f, 0.3f, 0.98f));
    p.kick = addTrack(song, drumTrack(0.55f, 0.0f, 0.0f));
    p.rim = addTrack(song, drumTrack(0.16f, -0.2f, 0.2f));
    p.shaker = addTrack(song, drumTrack(0.13f, 0.4f, 0.1f));
    p.openHat = addTrack(song, drumTrack(0.07f, 0.3f, 0.1f));
    return p;
}

constexpr const char* kLoopChords = "D Bm G A D F#m G A Bm G D A G A F#m Bm Em A";
constexpr const char* kLoopMelody =
    "F#5 - - - E5 F#5 | D5 - - - B4 - | D5 - E5 - G5 - | F#5 - - - E5 - | "
    "A5 - - - F#5 A5 | C#6 - B5 - A5 - | B5 - - - G5 - | A5 - - - - - | "
    "B5 - - - F#5 - | G5 - A5 - B5 - | A5 - - - F#5 - | E5 - - - C#5 - | "
    "D5 - E5 - G5 - | F#5 - E5 - C#5 - | F#5 - - - C#5 - | D5 - - - - - | "
    "G5 - - - E5 G5 | F#5 - E5 - C#5 - ";
constexpr const char* kTurnaroundChords = "G A";
constexpr const char* kTurnaroundMelody = "B4 - D5 - G5 - | E5 - - - C#5 -";
constexpr const char* kIntroChords = "D Bm G A D Bm G A";
constexpr const char* kIntroBells = "A5 - F#5 - D5 - | F#5 - D5 - B4 - | G5 - D5 - B4 - | "
                                    "E5 - C#5 - A4 - ";
constexpr const char* kIntroMelody = "D5 - - - F#5 A5 | B5 - - - A5 F#5 | G5 - - - E5 D5 | "
                                     "E5 - - - - - ";
constexpr const char* kPickup = "A4 C#5";

constexpr const char* kWaltzComp = ". . x - x -";
constexpr const char* kWaltzBass = "R - - - 5 -";
constexpr const char* kBellArp = "3 . 4 . 5 .";
constexpr const char* kKick = "X . . . . .";
constexpr const char* kRim = ". . x . x .";
constexpr const char* kShaker = "x o x o x o";
constexpr const char* kOpenHat = ". . . . . x";

constexpr int kKeysCentre = 66;
constexpr int kPadCentre = 62;
constexpr int kBassLowest = 38;
constexpr int kBellLowest = 62;

void accompany(Song& s, const Parts& p, const Timing& t, double at, const char* chords,
               bool withBass) {
    const auto c = parseChords(chords);
    addComp(s, p.keys, t, at, kBar, c, kEighth, kWaltzComp, kKeysCentre, 1.0f);
    addPad(s, p.pad, t, at, kBar, c, kPadCentre, 1.0f);
    if (withBass) {
        addBass(s, p.bass, t, at, kBar, c, kEighth, kWaltzBass, kBassLowest, 1.0f);
    }
}

void drums(Song& s, const Parts& p, const Timing& t, double at, int bars, bool full) {
    addDrums(s, p.kick, t, at, kEighth, Drum::Kick, kKick, bars);
    addDrums(s, p.shaker, t, at, kEighth, Drum::Shaker, kShaker, bars);
    if (full) {
        addDrums(s, p.rim, t, at, kEighth, Drum::Rim, kRim, bars);
        addDrums(s, p.openHat, t, at, kEighth, Drum::OpenHat, kOpenHat, bars);
    }
}

void turnaround(Song& s, const Parts& p, const Timing& t) {
    accompany(s, p, t, 0, kTurnaroundChords, true);
    addMelody(s, p.flute, t, 0, kEighth, kTurnaroundMelody, 1.0f);
    drums(s, p, t, 0, kTurnaroundBars, true);
}

Timing turnaroundTiming(size_t endFrame, double framesPerBeat) {
    return Timing{static_cast<double>(endFrame) - kTurnaroundBars * kBar * framesPerBeat,
                  framesPerBeat};
}

void composeIntro(Song& s, const Parts& p, size_t frames, double loopFramesPerBeat) {
    const Timing end = turnaroundTiming(frames, loopFramesPerBeat);
    const double bodyBeats = kPickupBeats + (kIntroBars - kTurnaroundBars) * kBar;
    const Timing t{0.0, end.startFrame / bodyBeats};
    addMelody(s, p.bell, t, 0, kEighth, kPickup, 0.8f);
    const double bar1 = kPickupBeats;
    accompany(s, p, t, bar1, kIntroChords, false);
    addMelody(s, p.bell, t, bar1, kEighth, kIntroBells, 1.0f);
    addBass(s, p.bass, t, bar1 + 4 * kBar, kBar, parseChords("D Bm G A"), kEighth, kWaltzBass,
            kBassLowest, 1.0f);
    addMelody(s, p.flute, t, bar1 + 4 * kBar, kEighth, kIntroMelody, 1.0f);
    drums(s, p, t, bar1 + 4 * kBar, 4, false);
    turnaround(s, p, end);
}

void composeLoop(Song& s, const Parts& p, size_t frames) {
    const Timing t{0.0, static_cast<double>(frames) / (kLoopBars * kBar)};
    const int body = kLoopBars - kTurnaroundBars;
    accompany(s, p, t, 0, kLoopChords, true);
    addMelody(s, p.flute, t, 0, kEighth, kLoopMelody, 1.0f);
    drums(s, p, t, 0, 8, false);
    drums(s, p, t, 8 * kBar, body - 8, true);
    // Celesta answers the flute in the middle eight.
    const auto middle = parseChords("Bm G D A G A F#m Bm");
    addArp(s, p.bell, t, 8 * kBar, kBar, middle, kEighth, kBellArp, kBellLowest, 0.55f);
    addHit(s, p.openHat, t, body * kBar - kQuarter, Drum::OpenHat, 0.8f);
    turnaround(s, p, turnaroundTiming(frames, t.framesPerBeat));
}

} // namespace

Score composeTitle(size_t introFrames, size_t loopFrames) {
    Score score;
    const Parts parts = addTracks(score.loop);
    score.intro.tracks = score.loop.tracks;
    const double framesPerBeat = static_cast<double>(loopFrames) / (kLoopBars * kBar);
    // Echo on the beat keeps the waltz lilt instead of blurring it.
    const auto delay = static_cast<float>(framesPerBeat / kSampleRate);
    score.loop.echo = {delay, 0.32f, 3500.0f, 0.4f, 0.45f};
    score.intro.echo = score.loop.echo;
    composeLoop(score.loop, parts, loopFrames);
    composeIntro(score.intro, parts, introFrames, framesPerBeat);
    return score;
}
