// The save path's way into the browser's storage (see browser_storage.js).
#include "save/browser_storage.h"

#include "save/high_score.h"

#include <emscripten/emscripten.h>

namespace {

// Written by browser_storage.js: this page's bests, to merge into kolvex.sav.
const char* const kOurBests = "kolvex.sav.ours";

} // namespace

void syncBrowserStorage() {
    EM_ASM(kolvexSyncSaveFolder());
}

// Called by browser_storage.js when kolvex.sav holds bests stored by another
// page (or left by a page that went away): ours are merged in the way a game's
// results are, so each best is the higher one.
extern "C" EMSCRIPTEN_KEEPALIVE void kolvexMergeOurBests() {
    const HighScoreRecord ours = parseHighScore(readFilePrefix(kOurBests));
    saveHighScore(ours.bestScore, ours.bestLines, ours.bestLevel);
}
