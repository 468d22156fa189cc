// Whether the game's window is the one the player is using, asked of the
// window system (window_focus_posix.cpp, window_focus_windows.cpp).
#pragma once

// True while the window has the keyboard's focus and is not minimised.
bool windowInFront();
