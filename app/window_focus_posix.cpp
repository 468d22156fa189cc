// The window's focus on Linux: raylib's SDL platform follows the window's
// focus and minimise events.
#include "app/window_focus.h"

#include <raylib.h>

bool windowInFront() {
    return IsWindowFocused() && !IsWindowMinimized();
}
