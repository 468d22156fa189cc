// The window's focus on Windows: raylib's RGFW platform does not follow focus
// events, so the window system is asked directly. raylib.h and windows.h name
// some of the same things, so only raylib's window handle is declared here.
#include "app/window_focus.h"

#include <windows.h>

extern "C" void* GetWindowHandle(void);

bool windowInFront() {
    const HWND window = static_cast<HWND>(GetWindowHandle());
    return window != nullptr && GetForegroundWindow() == window && IsIconic(window) == FALSE;
}
