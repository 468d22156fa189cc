// The pointer beside the keys and the pad: the mouse, or a finger, read once a
// frame. Menus ask what it did to their entries; the title's pages take a click or
// a tap anywhere as Back; play takes only a finger, through the touch gestures, so
// a stray click never moves a piece.
#pragma once

#include "app/controls.h"

#include <raylib.h>

#include <cstdint>
#include <span>

struct PointerState {
    Vector2 position{};
    Vector2 pressPosition{}; // where the press now down, or just ended, began
    Vector2 mousePosition{}; // the mouse's last place, so a hover follows only its moves
    int mousePlaces = 0;     // places seen since the start or the last touch, up to two
    bool down = false;
    bool pressed = false;  // went down this frame
    bool released = false; // went up this frame
    bool moved = false;    // the mouse moved, or a finger that is down moved, this frame
    bool touch = false;    // the press now down, or just ended, is a finger's
    bool touched = false;  // the game has had a touch since it started
    bool pageHidden = false;
    std::uint32_t gestures = 0; // the play actions the touch gestures made this frame
};

extern PointerState pointerState;

// Once per frame, from readControls: takes in the pointer and the page's visibility,
// and forgets the last frame's gestures.
void readPointer();

// What the pointer did to a menu whose entries answer in these areas, by index.
struct MenuPointing {
    int hovered = -1; // the entry the pointer moved onto or pressed on
    int chosen = -1;  // the entry a press began on and was released on
};
MenuPointing pointAtMenu(std::span<const Rectangle> areas);

// Whether the pointer did this this frame: Back is a release anywhere, Pause the
// page gone to the background or a tap on the pause control, the play actions the
// touch gestures'.
bool pointerFired(Action action);

// The bit of an action in `gestures`.
constexpr std::uint32_t actionBit(Action action) {
    return 1u << static_cast<std::uint32_t>(action);
}
