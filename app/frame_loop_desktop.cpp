// The frame loop on the desktop: a loop of our own, capped at 120 frames a second.
#include "app/frame_loop.h"

#include <raylib.h>

namespace {

constexpr int kTargetFps = 120;

} // namespace

const unsigned int kPlatformWindowFlags = FLAG_WINDOW_HIGHDPI;

void paceFrames() {
    SetTargetFPS(kTargetFps);
}

void endFrame(bool switchPending) {
    if (!switchPending) {
        EndDrawing();
        return;
    }
    SetTargetFPS(0);
    EndDrawing();
    SetTargetFPS(kTargetFps);
}

void runFrameLoop(SceneManager& scenes) {
    while (scenes.running && runFrame(scenes)) {
    }
    shutDown(scenes);
}
