// The reference for the start-up figure: a bare raylib window under the game's
// title, clearing to red every frame, with nothing of the game in it. The gap
// between its start-up and the game's is what the game itself adds.
#include <raylib.h>

int main() {
    SetConfigFlags(FLAG_WINDOW_HIGHDPI);
    InitWindow(900, 700, "コルベクス");
    SetTargetFPS(120);
    while (!WindowShouldClose()) {
        BeginDrawing();
        ClearBackground(RED);
        EndDrawing();
    }
    CloseWindow();
    return 0;
}
