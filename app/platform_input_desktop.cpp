// The desktop's pointer: raylib's touch points and mouse, both in window pixels.
#include "app/platform_input.h"

PointerSample samplePointer() {
    if (GetTouchPointCount() > 0) {
        return PointerSample{GetTouchPosition(0), true, true};
    }
    return PointerSample{GetMousePosition(), IsMouseButtonDown(MOUSE_BUTTON_LEFT), false};
}

bool pageWentHidden() {
    return false;
}
