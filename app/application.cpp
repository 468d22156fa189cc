// Start-up, the frame loop and shutdown, in the order the scenes rely on.
#include "app/application.h"

#include "app/closed_output.h"
#include "app/frame_loop.h"
#include "app/heap_policy.h"
#include "app/scene_manager.h"
#include "app/window_icon.h"
#include "assets/asset_catalogue.h"
#include "assets/asset_loading.h"
#include "assets/audio_manager.h"

#include <raylib.h>

namespace {

constexpr const char* kWindowTitle = "コルベクス";

void startUp(SceneManager& scenes) {
    ignoreClosedOutput();
    keepFreedMemory();
    SetConfigFlags(kPlatformWindowFlags);
    InitWindow(kWindowWidth, kWindowHeight, kWindowTitle);
    setUpWindow();
    setWindowIcon();
    AudioManager::instance().init();
    SetExitKey(KEY_NULL); // Escape belongs to the scenes: pause and back
    paceFrames();

    scenes.current = SceneId::Title;
    scenes.next = SceneId::Title;
    scenes.enterScene();
}

} // namespace

bool runFrame(SceneManager& scenes) {
    if (WindowShouldClose()) {
        return false;
    }
    if (IsKeyPressed(KEY_Q)) {
        scenes.running = false;
    }
    followWindowKeys();
    if (scenes.switchPending) {
        scenes.exitScene();
        scenes.enterScene();
    }
    scenes.updateScene();

    BeginDrawing();
    ClearBackground(BLACK);
    placeGameView();
    scenes.drawScene();
    endFrame(scenes.switchPending);
    // After the drawing, so the web page's first frame is on screen before the
    // rest of the assets is asked for.
    receiveAssetPacks();
    startArrivedMusic();
    return true;
}

void shutDown(SceneManager& scenes) {
    scenes.exitScene();
    AudioManager::instance().shutdown();
    CloseWindow();
}

int runApplication() {
    static SceneManager scenes;
    startUp(scenes);
    runFrameLoop(scenes);
    return 0;
}
