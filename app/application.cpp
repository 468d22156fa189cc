// Start-up, the frame loop and shutdown, in the order the scenes rely on.
#include "app/application.h"

#include "app/heap_policy.h"
#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"

#include <raylib.h>

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 700;
constexpr const char* kWindowTitle = "コルベクス";
constexpr int kTargetFps = 120;

void setWindowIcon() {
    Image icon = LoadImageFromMemory(".png", icon_png, static_cast<int>(icon_png_len));
    SetWindowIcon(icon);
    UnloadImage(icon);
}

} // namespace

int runApplication() {
    // Initialization
    keepFreedMemory();
    SetConfigFlags(FLAG_WINDOW_HIGHDPI);
    InitWindow(kWindowWidth, kWindowHeight, kWindowTitle);
    setWindowIcon();
    AudioManager::instance().init();
    SetExitKey(KEY_NULL); // Escape belongs to the scenes: pause and back
    SetTargetFPS(kTargetFps);

    SceneManager scenes;
    scenes.current = SceneId::Title;
    scenes.next = SceneId::Title;
    scenes.enterScene();

    // Main loop
    while (scenes.running) {
        if (WindowShouldClose()) {
            break;
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
    }

    // De-initialization
    scenes.exitScene();
    AudioManager::instance().shutdown();
    CloseWindow();
    return 0;
}
