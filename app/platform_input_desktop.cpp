// The desktop's pointer: raylib's touch points and mouse, from the window's
// units into the game's picture; and the player leaving the window.
#include "app/platform_input.h"

#include "app/game_view.h"
#include "app/window_focus.h"

#include <algorithm>

namespace {

// raylib reports the pointer in the window's desktop units and the drawing
// buffer in pixels, which differ on a scaled desktop.
Vector2 inGame(Vector2 at) {
    const float xPixels =
        static_cast<float>(GetRenderWidth()) / static_cast<float>(std::max(1, GetScreenWidth()));
    const float yPixels =
        static_cast<float>(GetRenderHeight()) / static_cast<float>(std::max(1, GetScreenHeight()));
    return toGamePoint(windowGameView(), Vector2{at.x * xPixels, at.y * yPixels});
}

} // namespace

PointerSample samplePointer() {
    if (GetTouchPointCount() > 0) {
        return PointerSample{inGame(GetTouchPosition(0)), true, true};
    }
    return PointerSample{inGame(GetMousePosition()), IsMouseButtonDown(MOUSE_BUTTON_LEFT), false};
}

// For as long as the window is away, so play that starts while the player is
// elsewhere pauses at once.
bool pageWentHidden() {
    return !windowInFront();
}
