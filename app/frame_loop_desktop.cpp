// The frame loop on the desktop: a loop of our own, capped at 120 frames a second,
// in a window the player may resize or take to full screen, the game's picture
// drawn into it as large as fits.
#include "app/frame_loop.h"

#include "app/application.h"
#include "app/controls.h"
#include "app/game_view.h"

#include <raylib.h>
#include <rlgl.h>

namespace {

constexpr int kTargetFps = 120;

} // namespace

// High DPI: on a scaled desktop the window opens at the game's size in the
// desktop's units and its drawing buffer has the display's pixels.
const unsigned int kPlatformWindowFlags = FLAG_WINDOW_HIGHDPI | FLAG_WINDOW_RESIZABLE;

void setUpWindow() {
    SetWindowMinSize(kWindowWidth / 2, kWindowHeight / 2);
}

void paceFrames() {
    SetTargetFPS(kTargetFps);
}

// Borderless at the monitor's own size: no change of display mode, and raylib
// gives back the window's size and place on the way out.
void followWindowKeys() {
    if (fullScreenKeyPressed()) {
        ToggleBorderlessWindowed();
    }
}

// raylib's own projection spans the whole window; the game's picture takes the
// part of it that fits, so whatever the game draws past its edges stays off the
// black bars. The picture is drawn at the window's pixels, never scaled up from
// a smaller one.
void placeGameView() {
    const Rectangle view = windowGameView();
    const int width = static_cast<int>(view.width);
    const int height = static_cast<int>(view.height);
    // The viewport's rows count from the bottom of the window.
    const int bottom = GetRenderHeight() - static_cast<int>(view.y) - height;
    rlViewport(static_cast<int>(view.x), bottom, width, height);
    rlMatrixMode(RL_PROJECTION);
    rlLoadIdentity();
    rlOrtho(0.0, kWindowWidth, kWindowHeight, 0.0, 0.0, 1.0);
    rlMatrixMode(RL_MODELVIEW);
    rlLoadIdentity();
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
