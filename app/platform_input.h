// What the platform gives the controls beside raylib's keys and pads: the pointer
// (the first finger on a touch screen, else the mouse) in the window's drawing
// pixels, and whether the page went to the background. Written once per platform.
#pragma once

#include <raylib.h>

struct PointerSample {
    Vector2 position{};
    bool down = false;
    bool touch = false; // a finger, not the mouse
};

// The pointer now: the first finger while one is down, else the mouse and its left button.
PointerSample samplePointer();

// Whether the page has gone to the background since the last call; never on the desktop.
bool pageWentHidden();
