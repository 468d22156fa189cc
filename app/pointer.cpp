// The pointer read as the game's actions. The platform gives a sample a frame; a
// finger that lifts is taken up where it last was (the desktop then reports the
// mouse). The mouse moves only from its second known place on: the first is where
// raylib starts it, the second where the system first reports a pointer resting
// over the window (or, on the web, where a lifted finger left raylib's mouse), so
// a mouse that no one moved changes nothing on screen.
#include "app/pointer.h"

#include "app/platform_input.h"

#include <algorithm>

PointerState pointerState;

namespace {

constexpr int kSettledPlaces = 2;

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
        p.mousePlaces = 0;
    } else {
        const bool changed = !samePlace(sample.position, p.mousePosition);
        p.moved = changed && p.mousePlaces >= kSettledPlaces;
        if (changed || p.mousePlaces == 0) {
            p.mousePlaces = std::min(p.mousePlaces + 1, kSettledPlaces);
        }
        p.mousePosition = sample.position;
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
