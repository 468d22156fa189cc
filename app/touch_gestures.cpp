// The finger's path turned into play actions. A touch is a tap until it strays,
// then it keeps the axis it first strayed along, so a flick that leans a little
// never moves the piece sideways and a drag never drops it.
#include "app/touch_gestures.h"

#include "app/pointer.h"

#include <cmath>

TouchGesture touchGesture;

namespace {

// Distances are in cell widths of the well as drawn, so every threshold follows the
// canvas's size on screen: on a phone the canvas is about 0.43 of its size and a
// cell some 2 mm, on a touch monitor about 8 mm. A fingertip wanders about a
// millimetre while it taps (the touch slop of phone toolkits), so half a cell
// still reads as a tap there; a tap is also shorter than a phone's long press,
// half a second: a finger that rests longer and lifts does nothing. A flick is a fast stroke at the
// end of a touch: three cells within the last 0.15 s, at least 40 mm/s on a phone, where a slow
// drag that stops before the finger lifts is not one. A soft drop begins one cell below the press,
// a clear downward intent.
constexpr float kTapReach = 0.5f;
constexpr float kTapTime = 0.5f;
constexpr float kFlickReach = 3.0f;
constexpr float kFlickTime = 0.15f;
constexpr float kSoftDropReach = 1.0f;

void fire(Action action) {
    pointerState.gestures |= actionBit(action);
}

void record(TouchGesture& g, float y) {
    g.history[g.samples % kTouchHistory] = TouchSample{g.age, y};
    ++g.samples;
}

void begin(TouchGesture& g, Vector2 at, Rectangle pauseControl) {
    g.following = true;
    g.onPauseControl = CheckCollisionPointRec(at, pauseControl);
    g.softDropping = false;
    g.axis = GestureAxis::Undecided;
    g.start = at;
    g.age = 0.0f;
    g.columnsCrossed = 0;
    g.samples = 0;
    record(g, at.y);
}

// How far down the finger went over the flick time before now, from the newest
// sample at least that old (a long frame cannot hide the stroke); up is negative.
float recentDrop(const TouchGesture& g) {
    const TouchSample& now = g.history[(g.samples - 1) % kTouchHistory];
    const int kept = g.samples < kTouchHistory ? g.samples : kTouchHistory;
    TouchSample from = now;
    for (int back = 1; back < kept && now.age - from.age < kFlickTime; ++back) {
        from = g.history[(g.samples - 1 - back) % kTouchHistory];
    }
    return now.y - from.y;
}

void decideAxis(TouchGesture& g, Vector2 travel, float cell) {
    if (g.axis != GestureAxis::Undecided || std::hypot(travel.x, travel.y) <= kTapReach * cell) {
        return;
    }
    g.axis =
        std::fabs(travel.x) >= std::fabs(travel.y) ? GestureAxis::Sideways : GestureAxis::Upright;
}

void finish(TouchGesture& g, float cell) {
    g.following = false;
    if (g.axis == GestureAxis::Undecided && g.age < kTapTime) {
        fire(Action::Turn);
    } else if (g.axis == GestureAxis::Upright) {
        const float drop = recentDrop(g);
        if (drop >= kFlickReach * cell) {
            fire(Action::HardDrop);
        } else if (drop <= -kFlickReach * cell) {
            fire(Action::Hold);
        }
    }
}

void track(TouchGesture& g, float cell) {
    const PointerState& p = pointerState;
    g.age += GetFrameTime();
    record(g, p.position.y);
    if (g.onPauseControl) {
        g.following = p.down;
        return;
    }
    const Vector2 travel{p.position.x - g.start.x, p.position.y - g.start.y};
    decideAxis(g, travel, cell);
    if (g.axis == GestureAxis::Sideways) {
        const int crossed = static_cast<int>(travel.x / cell);
        g.columnsOwed += crossed - g.columnsCrossed;
        g.columnsCrossed = crossed;
    }
    if (g.axis == GestureAxis::Upright && travel.y >= kSoftDropReach * cell) {
        g.softDropping = true;
    }
    if (p.down) {
        if (g.softDropping) {
            fire(Action::SoftDrop);
        }
        return;
    }
    finish(g, cell);
}

void makeOwedMove(TouchGesture& g) {
    if (g.columnsOwed > 0) {
        fire(Action::MoveRight);
        --g.columnsOwed;
    } else if (g.columnsOwed < 0) {
        fire(Action::MoveLeft);
        ++g.columnsOwed;
    }
}

} // namespace

void followTouch(float cellWidth, Rectangle pauseControl) {
    const PointerState& p = pointerState;
    TouchGesture& g = touchGesture;
    if (p.pressed && p.touch) {
        begin(g, p.position, pauseControl);
    } else if (g.following && !p.down && !p.released) {
        g.following = false; // lifted while play was not looking
    } else if (g.following) {
        const bool tapsControl =
            g.onPauseControl && p.released && CheckCollisionPointRec(p.position, pauseControl);
        track(g, cellWidth);
        if (tapsControl) {
            fire(Action::Pause);
        }
    }
    makeOwedMove(g);
}
