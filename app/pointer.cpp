// The pointer read as the game's actions. The platform gives a sample a frame; a
// finger that lifts is taken up where it last was (the desktop then reports the
// mouse), and the mouse's first sample, at start-up or after a touch, is no move:
// a mouse resting over an entry changes nothing on screen, and on the web, where a
// finger on the canvas also moves raylib's mouse, a lifted finger hovers nothing.
#include "app/pointer.h"

#include "app/platform_input.h"

PointerState pointerState;

namespace {

bool samePlace(Vector2 a, Vector2 b) {
    return a.x == b.x && a.y == b.y;
}

int entryAt(std::span<const Rectangle> areas, Vector2 at) {
    for (std::size_t i = 0; i < areas.size(); ++i) {
        if (CheckCollisionPointRec(at, areas[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

void readPointer() {
    PointerState& p = pointerState;
    PointerSample sample = samplePointer();
    if (!sample.down && p.down && p.touch && !sample.touch) {
        sample.position = p.position;
        sample.touch = true;
    }
    p.pressed = sample.down && !p.down;
    p.released = !sample.down && p.down;
    if (sample.touch) {
        p.moved = sample.down && !samePlace(sample.position, p.position);
        p.mouseRead = false;
    } else {
        p.moved = p.mouseRead && !samePlace(sample.position, p.mousePosition);
        p.mousePosition = sample.position;
        p.mouseRead = true;
    }
    if (p.pressed) {
        p.pressPosition = sample.position;
        p.touch = sample.touch;
        p.touched = p.touched || sample.touch;
    }
    p.position = sample.position;
    p.down = sample.down;
    p.pageHidden = pageWentHidden();
    p.gestures = 0;
}

MenuPointing pointAtMenu(std::span<const Rectangle> areas) {
    const PointerState& p = pointerState;
    MenuPointing pointing;
    if (p.moved || p.pressed) {
        pointing.hovered = entryAt(areas, p.position);
    }
    if (p.released) {
        const int at = entryAt(areas, p.position);
        if (at == entryAt(areas, p.pressPosition)) {
            pointing.chosen = at;
        }
    }
    return pointing;
}

bool pointerFired(Action action) {
    const PointerState& p = pointerState;
    switch (action) {
    case Action::Back:
        return p.released;
    case Action::Pause:
        return p.pageHidden || (p.gestures & actionBit(action)) != 0;
    default:
        return (p.gestures & actionBit(action)) != 0;
    }
}
