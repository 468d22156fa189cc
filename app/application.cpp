// Start-up, the frame loop and shutdown, in the order the scenes rely on.
#include "app/application.h"

#include "app/heap_policy.h"
#include "app/scene_manager.h"
#include "app/window_icon.h"
#include "assets/audio_manager.h"

#include <raylib.h>

#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>

#include <cstdlib>
#endif

namespace {

constexpr const char* kWindowTitle = "コルベクス";
constexpr int kTargetFps = 120;
#if defined(__EMSCRIPTEN__)
// The browser scales the page for the display itself, and raylib's web
// platform, asked for high DPI, reads a display scale of zero before its canvas
// exists and makes the canvas empty.
constexpr unsigned int kWindowFlags = 0;
// The browser calls the frame function once per displayed frame.
constexpr int kBrowserPacesFrames = 0;
constexpr bool kNeverReturn = true;
#else
constexpr unsigned int kWindowFlags = FLAG_WINDOW_HIGHDPI;
#endif

void startUp(SceneManager& scenes) {
    keepFreedMemory();
    SetConfigFlags(kWindowFlags);
    InitWindow(kWindowWidth, kWindowHeight, kWindowTitle);
    setWindowIcon();
    AudioManager::instance().init();
    SetExitKey(KEY_NULL); // Escape belongs to the scenes: pause and back
    SetTargetFPS(kTargetFps);

    scenes.current = SceneId::Title;
    scenes.next = SceneId::Title;
    scenes.enterScene();
}

// One pass of the frame loop; false when the window's close button was used.
bool runFrame(SceneManager& scenes) {
    if (WindowShouldClose()) {
        return false;
    }
    if (IsKeyPressed(KEY_Q)) {
        scenes.running = false;
    }
    if (scenes.switchPending) {
        scenes.exitScene();
        scenes.enterScene();
    }
    scenes.updateScene();

    BeginDrawing();
    ClearBackground(BLACK);
    scenes.drawScene();
    EndDrawing();
    return true;
}

void shutDown(SceneManager& scenes) {
    scenes.exitScene();
    AudioManager::instance().shutdown();
    CloseWindow();
}

#if defined(__EMSCRIPTEN__)
// The browser calls this once per displayed frame; a page cannot block in a
// loop of its own. When the loop would have ended, the exit steps run here and
// the program exits, which tells the page that the game is over.
void runBrowserFrame(void* context) {
    SceneManager& scenes = *static_cast<SceneManager*>(context);
    if (scenes.running && runFrame(scenes)) {
        return;
    }
    emscripten_cancel_main_loop();
    shutDown(scenes);
    std::exit(0);
}
#endif

} // namespace

int runApplication() {
    static SceneManager scenes;
    startUp(scenes);
#if defined(__EMSCRIPTEN__)
    emscripten_set_main_loop_arg(runBrowserFrame, &scenes, kBrowserPacesFrames, kNeverReturn);
#else
    while (scenes.running && runFrame(scenes)) {
    }
    shutDown(scenes);
#endif
    return 0;
}
