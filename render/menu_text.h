// The text routines of every menu and page: a pulsing, marked menu item and two
// plain white labels, centred on a point or anchored at their left edge.
#pragma once

#include <raylib.h>

void drawMenuItem(Font font, const char* text, Vector2 centre, bool selected, float baseSize,
                  Color colour);
void drawCenteredLabel(Font font, const char* text, Vector2 centre);
void drawLeftLabel(Font font, const char* text, Vector2 leftMiddle);
