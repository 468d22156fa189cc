// What the platform gives the controls beside raylib's keys and pads: the pointer
// (the first finger on a touch screen, else the mouse) in the game's own
// coordinates, and whether the player has left the game. Written once per platform.
#pragma once

#include <raylib.h>

struct PointerSample {
    Vector2 position{};
    bool down = false;
    bool touch = false; // a finger, not the mouse
};

// The pointer now: the first finger while one is down, else the mouse and its left button.
PointerSample samplePointer();

// Whether the player has left: in the page, it has gone to the background since
// the last call; on the desktop, the window is without the focus or minimised.
bool pageWentHidden();
