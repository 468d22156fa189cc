// Rendering a piece so every seam is continuous, then levelling it with one constant gain.
#include "music.h"

#include "loudness.h"

#include <algorithm>
#include <cmath>

namespace {

// Long enough for the longest release, echo and room tail to die away below -80 dB.
constexpr size_t kTailFrames = 6 * kSampleRate;
constexpr float kMusicLoudness = -17.0f; // LUFS shared by all pieces
constexpr float kPeakCeilingDb = -2.5f;  // leaves room for the encoder's overshoot

float largestDifference(const Stereo& a, size_t aFrom, const Stereo& b, size_t bFrom,
                        size_t frames) {
    float worst = 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        worst = std::max(worst, std::fabs(a.left[aFrom + i] - b.left[bFrom + i]));
        worst = std::max(worst, std::fabs(a.right[aFrom + i] - b.right[bFrom + i]));
    }
    return worst;
}

} // namespace

RenderedPiece renderPiece(const Score& score, size_t introFrames, size_t loopFrames) {
    RenderedPiece out{};
    Stereo loop = renderSong(score.loop, loopFrames + kTailFrames);
    const Stereo unfolded = loop;
    foldLoop(loop, loopFrames);
    if (introFrames > 0) {
        Stereo intro = renderSong(score.intro, introFrames + kTailFrames);
        // The loop's first pass follows the intro, later passes follow the loop itself; both
        // predecessors must spill the same sound into the loop's start.
        out.seamMismatch = largestDifference(intro, introFrames, unfolded, loopFrames, kTailFrames);
        truncateTo(intro, introFrames);
        out.intro = std::move(intro);
    }
    out.loop = std::move(loop);

    float gain = dbToGain(kMusicLoudness - static_cast<float>(integratedLoudness(out.loop)));
    const float peak = std::max(peakAbs(out.loop), peakAbs(out.intro));
    gain = std::min(gain, dbToGain(kPeakCeilingDb) / peak);
    applyGain(out.loop, gain);
    applyGain(out.intro, gain);
    out.seamMismatch *= gain;
    out.loudness = integratedLoudness(out.loop);
    out.peak = peak * gain;
    return out;
}
