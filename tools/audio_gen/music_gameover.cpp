// Game-over piece: C minor, about 104 bpm in a relaxed half-time feel, eight bars that loop whole.
#include "instruments.h"
#include "music.h"

namespace {

constexpr double kBar = 4.0;
constexpr double kEighth = 0.5;
constexpr double kSixteenth = 0.25;
constexpr int kBars = 8;

constexpr const char* kChords = "Cm Ab Eb Bb Fm Cm Ab G";
constexpr const char* kMelody = "G4 - - - C5 - Eb5 - | Eb5 - - - C5 - - - | "
                                "Bb4 - - - G4 - Bb4 - | D5 - - - - - . . | "
                                "C5 - - - Ab4 - C5 - | Eb5 - D5 - C5 - G4 - | "
                                "Ab4 - - - C5 - Eb5 - | D5 - - - B4 - - - ";
constexpr const char* kComp = "x - - - x - - -";
constexpr const char* kBass = "R - - - - - 5 -";
constexpr const char* kKick = "X . . . . . . . . . . x . . . .";
constexpr const char* kRim = ". . . . . . . . x . . . . . . .";
constexpr const char* kShaker = ". . o . . . o . . . o . . . o .";

constexpr int kKeysCentre = 62;
constexpr int kPadCentre = 58;
constexpr int kBassLowest = 31;

} // namespace

Score composeGameOver(size_t loopFrames) {
    Score score;
    Song& s = score.loop;
    const int lead = addTrack(s, synthTrack(flutePatch(), 0.36f, -0.1f, 0.45f, 0.95f));
    const int keys = addTrack(s, synthTrack(keysPatch(), 0.2f, 0.2f, 0.3f, 0.85f));
    const int bass = addTrack(s, synthTrack(softBassPatch(), 0.4f, 0.0f, 0.0f, 0.9f));
    const int pad = addTrack(s, synthTrack(padPatch(), 0.06f, -0.3f, 0.35f, 0.98f));
    const int kick = addTrack(s, drumTrack(0.45f, 0.0f, 0.0f));
    const int rim = addTrack(s, drumTrack(0.13f, -0.2f, 0.3f));
    const int shaker = addTrack(s, drumTrack(0.09f, 0.35f, 0.15f));

    const Timing t{0.0, static_cast<double>(loopFrames) / (kBars * kBar)};
    // A long, dark echo a dotted quarter apart makes the sparse melody feel far away.
    s.echo = {static_cast<float>(1.5 * t.framesPerBeat / kSampleRate), 0.38f, 2500.0f, 0.5f, 0.5f};
    const auto chords = parseChords(kChords);
    addComp(s, keys, t, 0, kBar, chords, kEighth, kComp, kKeysCentre, 1.0f);
    addPad(s, pad, t, 0, kBar, chords, kPadCentre, 1.0f);
    addBass(s, bass, t, 0, kBar, chords, kEighth, kBass, kBassLowest, 1.0f);
    addMelody(s, lead, t, 0, kEighth, kMelody, 1.0f);
    addDrums(s, kick, t, 0, kSixteenth, Drum::Kick, kKick, kBars);
    addDrums(s, rim, t, 0, kSixteenth, Drum::Rim, kRim, kBars);
    addDrums(s, shaker, t, 0, kSixteenth, Drum::Shaker, kShaker, kBars);
    return score;
}
