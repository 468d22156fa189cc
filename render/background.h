// The current full-window background, as the texture store names it.
#pragma once

#include <raylib.h>

void drawBackground(Color tint);
