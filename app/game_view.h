// Where the game's own picture lies in a window of any size. Every screen is laid
// out and drawn at kWindowWidth x kWindowHeight; the window shows that picture as
// large as fits, centred and in its own shape, black around it, and a point of
// the window maps back into the picture the same way.
#pragma once

#include <raylib.h>

// The picture's place in a window of this many pixels: whole pixels, so its
// edges are sharp, and never less than one.
Rectangle fitGameView(int windowWidth, int windowHeight);

// The picture's place in the window as it is now, in the window's pixels.
Rectangle windowGameView();

// A point in window pixels, in the picture's own coordinates.
Vector2 toGamePoint(Rectangle view, Vector2 windowPoint);
