// The player's controls: the keyboard and one gamepad read together as the game's
// actions, so the scenes ask what the player did, never which key or button did it,
// and a key and a button that mean the same action in one frame count once. The pad
// followed is the first that became available, in whichever slot raylib put it.
#pragma once

#include <array>
#include <cstdint>

enum class Action : std::int32_t {
    MoveLeft,  // a press, then repeating while held
    MoveRight, // a press, then repeating while held
    SoftDrop,  // for as long as it is held
    HardDrop,
    Turn,
    Hold,
    Pause,
    MenuUp,
    MenuDown,
    MenuLeft,
    MenuRight,
    MenuFirst,
    MenuLast,
    Confirm,
    Back,
};

enum class PadDirection : std::int8_t { None, Left, Right, Up, Down };

// raylib's gamepad slots (its MAX_GAMEPADS, which raylib.h does not publish).
constexpr int kPadSlots = 4;
constexpr int kNoPad = -1;

// The available pads' slots, in the order they became available.
struct PadArrivals {
    std::array<std::int8_t, kPadSlots> slots{};
    int count = 0;
};

// What the followed gamepad did this frame, read once at the start of the frame's update.
struct PadState {
    PadArrivals arrivals;
    int pad = kNoPad;                       // the slot followed
    std::uint32_t downButtons = 0;          // one bit per raylib button number
    std::uint32_t pressedButtons = 0;       // down now and not in the frame before
    PadDirection held = PadDirection::None; // the D-pad's, else the stick's
    std::uint8_t pressedDirections = 0;     // one bit per PadDirection
    bool stickCentred = true;               // back near the middle since its last press
    PadDirection repeatDirection = PadDirection::None;
    float untilRepeat = 0.0f;
    bool repeatDue = false;
};

extern PadState padState;

// Once per frame, first in the update step of the scene that runs: finds the pad to
// follow, takes it in and advances its held-direction repeat by the frame time.
void readControls();

// Whether the player did this this frame, on the keyboard, the pad or the pointer.
bool fired(Action action);

// F11, or Alt with either Enter: the window's full-screen key, in every scene.
bool fullScreenKeyPressed();

// The pad buttons behind this action do nothing more this frame: one press of a
// button that means two things in a row (Start pauses, then confirms) acts once.
void spend(Action action);
