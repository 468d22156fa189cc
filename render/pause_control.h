// The pause control of touch play: a small button in the window's top right
// corner, drawn once the game has had a touch, and the area a finger taps it in.
#pragma once

#include <raylib.h>

// The area that answers a finger: the drawn button with a fingertip's margin.
Rectangle pauseControlArea();
void drawPauseControl();
