// Play by touch, anywhere on the play area: a tap turns clockwise, a sideways drag
// moves a column for each cell width the finger travels, a quick downward flick
// hard-drops, a finger held down after a downward drag soft-drops, an upward flick
// holds, and a tap on the pause control pauses. Only a finger counts, and only a
// press made in play, so a tap during the countdown starts nothing.
#pragma once

#include <raylib.h>

#include <cstdint>

enum class GestureAxis : std::int8_t { Undecided, Sideways, Upright };

struct TouchSample {
    float age = 0.0f; // seconds since the press
    float y = 0.0f;
};

constexpr int kTouchHistory = 32;

struct TouchGesture {
    bool following = false;
    bool onPauseControl = false;
    bool softDropping = false;
    GestureAxis axis = GestureAxis::Undecided;
    Vector2 start{};
    float age = 0.0f;
    int columnsCrossed = 0; // whole cell widths the finger is sideways of its press
    int columnsOwed = 0;    // moves still to make, one a frame: right above 0, left below
    TouchSample history[kTouchHistory]{};
    int samples = 0; // taken since the press; the newest at (samples - 1) % kTouchHistory
};

extern TouchGesture touchGesture;

// Once per frame of play, after readControls and before the actions are read: the
// finger's path so far, measured in the well's cell width, turned into this frame's
// actions in `pointerState.gestures`.
void followTouch(float cellWidth, Rectangle pauseControl);
