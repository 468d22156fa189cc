// The window's icon: the embedded badge pictures, smallest first, handed to the
// window system in the sizes the platform takes.
#pragma once

#include <raylib.h>

void setWindowIcon();

// The platform's part: gives the window the pictures it takes from `icons`.
void handWindowIcons(Image* icons, int count);
