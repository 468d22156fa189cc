// The three pieces of music: scores written as note data, and how they become intro/loop files.
#pragma once

#include "buffer.h"
#include "sequencer.h"

#include <cstddef>

// A piece is an optional intro followed by a loop. Both share the same tracks.
struct Score {
    Song intro;
    Song loop;
};

Score composeGame(size_t introFrames, size_t loopFrames);
Score composeTitle(size_t introFrames, size_t loopFrames);
Score composeGameOver(size_t loopFrames);

struct RenderedPiece {
    Stereo intro;       // empty when the piece has no intro
    Stereo loop;        // already folded: its end flows into its own start
    float seamMismatch; // largest difference between the intro's spill and the loop's wrap
    double loudness;    // LUFS of the loop after levelling
    float peak;         // linear peak over intro and loop
};

// Renders, folds the loop, and levels the piece to the shared music loudness.
RenderedPiece renderPiece(const Score& score, size_t introFrames, size_t loopFrames);
