// The keyboard and the followed gamepad read as the game's actions. The keyboard is
// asked directly, as raylib keeps its presses and its repeat; the pad is read once a
// frame into `padState`, because its stick has no presses of its own, a held
// direction needs a repeat that only the keyboard gets from the system, and raylib's
// SDL platform keeps a pad's previous buttons only in the first slots (as many as
// pads are attached), so its own presses repeat every frame in a slot left alone.
#include "app/controls.h"

#include "app/pointer.h"

#include <raylib.h>

#include <algorithm>
#include <cmath>

PadState padState;

namespace {

// A held direction moves at once, again after the first delay, then at the steady
// rate. The delay is well beyond a deliberate tap, so a tap never moves two columns,
// yet short enough that holding feels immediate; at the rate a piece crosses the
// ten-column well in under half a second, three columns per row even at the fastest
// fall, and a player can still let go on the column they mean.
constexpr float kRepeatDelay = 0.17f;
constexpr float kRepeatInterval = 0.05f;

// The stick points once pushed past half way, clear of a worn stick's drift and of
// the small sideways lean of a push up or down. It counts as back in the middle,
// free to press again, only below a quarter, so a stick resting near the edge cannot
// press twice.
constexpr float kStickEngage = 0.5f;
constexpr float kStickCentre = 0.25f;

constexpr std::uint32_t bit(int button) {
    return 1u << button;
}

constexpr std::uint32_t kBottomFace = bit(GAMEPAD_BUTTON_RIGHT_FACE_DOWN);
constexpr std::uint32_t kRightFace = bit(GAMEPAD_BUTTON_RIGHT_FACE_RIGHT);
constexpr std::uint32_t kShoulders =
    bit(GAMEPAD_BUTTON_LEFT_TRIGGER_1) | bit(GAMEPAD_BUTTON_RIGHT_TRIGGER_1);
constexpr std::uint32_t kStart = bit(GAMEPAD_BUTTON_MIDDLE_RIGHT);

std::uint8_t directionBit(PadDirection direction) {
    return static_cast<std::uint8_t>(1u << static_cast<int>(direction));
}

int dpadButton(PadDirection direction) {
    switch (direction) {
    case PadDirection::Left:
        return GAMEPAD_BUTTON_LEFT_FACE_LEFT;
    case PadDirection::Right:
        return GAMEPAD_BUTTON_LEFT_FACE_RIGHT;
    case PadDirection::Up:
        return GAMEPAD_BUTTON_LEFT_FACE_UP;
    case PadDirection::Down:
        return GAMEPAD_BUTTON_LEFT_FACE_DOWN;
    case PadDirection::None:
        break;
    }
    return GAMEPAD_BUTTON_UNKNOWN;
}

bool dpadDown(const PadState& pad, PadDirection direction) {
    return (pad.downButtons & bit(dpadButton(direction))) != 0;
}

// A diagonal on the D-pad is its sideways half: a thumb rolling across the pad
// while moving a piece never drops it by accident.
PadDirection dpadDirection(const PadState& pad) {
    const bool left = dpadDown(pad, PadDirection::Left);
    if (left != dpadDown(pad, PadDirection::Right)) {
        return left ? PadDirection::Left : PadDirection::Right;
    }
    const bool up = dpadDown(pad, PadDirection::Up);
    if (up != dpadDown(pad, PadDirection::Down)) {
        return up ? PadDirection::Up : PadDirection::Down;
    }
    return PadDirection::None;
}

// A diagonal on the stick is the axis pushed further, sideways on a tie.
PadDirection stickDirection(float x, float y) {
    if (std::fmax(std::fabs(x), std::fabs(y)) <= kStickEngage) {
        return PadDirection::None;
    }
    if (std::fabs(x) >= std::fabs(y)) {
        return x < 0.0f ? PadDirection::Left : PadDirection::Right;
    }
    return y < 0.0f ? PadDirection::Up : PadDirection::Down;
}

// Drops the pads gone since the last frame, keeping the order, and adds the new ones.
void trackArrivals(PadArrivals& arrivals) {
    int kept = 0;
    for (int i = 0; i < arrivals.count; ++i) {
        if (IsGamepadAvailable(arrivals.slots[i])) {
            arrivals.slots[kept++] = arrivals.slots[i];
        }
    }
    arrivals.count = kept;
    for (int slot = 0; slot < kPadSlots; ++slot) {
        const auto end = arrivals.slots.begin() + arrivals.count;
        if (IsGamepadAvailable(slot) && std::find(arrivals.slots.begin(), end, slot) == end) {
            arrivals.slots[arrivals.count++] = static_cast<std::int8_t>(slot);
        }
    }
}

void readButtons(PadState& pad) {
    std::uint32_t down = 0;
    for (int button = GAMEPAD_BUTTON_LEFT_FACE_UP; button <= GAMEPAD_BUTTON_RIGHT_THUMB; ++button) {
        if (IsGamepadButtonDown(pad.pad, button)) {
            down |= bit(button);
        }
    }
    pad.pressedButtons = down & ~pad.downButtons;
    pad.downButtons = down;
}

void readDirections(PadState& pad) {
    pad.pressedDirections = 0;
    const PadDirection dpad = dpadDirection(pad);
    if (dpad != PadDirection::None && (pad.pressedButtons & bit(dpadButton(dpad))) != 0) {
        pad.pressedDirections |= directionBit(dpad);
    }
    const float x = GetGamepadAxisMovement(pad.pad, GAMEPAD_AXIS_LEFT_X);
    const float y = GetGamepadAxisMovement(pad.pad, GAMEPAD_AXIS_LEFT_Y);
    const PadDirection stick = stickDirection(x, y);
    // One press per push: the stick must come back to the middle before the next.
    if (stick != PadDirection::None && pad.stickCentred) {
        pad.pressedDirections |= directionBit(stick);
        pad.stickCentred = false;
    } else if (std::fmax(std::fabs(x), std::fabs(y)) < kStickCentre) {
        pad.stickCentred = true;
    }
    pad.held = dpad != PadDirection::None ? dpad : stick;
}

// Any change of the held direction starts its repeat afresh.
void advanceRepeat(PadState& pad) {
    pad.repeatDue = false;
    if (pad.held != pad.repeatDirection) {
        pad.repeatDirection = pad.held;
        pad.untilRepeat = kRepeatDelay;
        return;
    }
    if (pad.held != PadDirection::Left && pad.held != PadDirection::Right) {
        return;
    }
    pad.untilRepeat -= GetFrameTime();
    if (pad.untilRepeat > 0.0f) {
        return;
    }
    pad.repeatDue = true;
    pad.untilRepeat += kRepeatInterval;
    // A long frame brings one move, not a burst of the ones it spanned.
    if (pad.untilRepeat <= 0.0f) {
        pad.untilRepeat = kRepeatInterval;
    }
}

std::uint32_t padButtons(Action action) {
    switch (action) {
    case Action::Turn:
        return kBottomFace;
    case Action::Hold:
        return kShoulders;
    case Action::Pause:
        return kStart;
    case Action::Confirm:
        return kBottomFace | kStart;
    case Action::Back:
        return kRightFace;
    default:
        return 0;
    }
}

bool padPressed(PadDirection direction) {
    return (padState.pressedDirections & directionBit(direction)) != 0;
}

bool padMoves(PadDirection direction) {
    return padPressed(direction) || (padState.repeatDue && padState.repeatDirection == direction);
}

bool keyPressed(int key, int altKey) {
    return IsKeyPressed(key) || IsKeyPressed(altKey);
}

bool keyMoves(int key, int altKey) {
    return keyPressed(key, altKey) || IsKeyPressedRepeat(key) || IsKeyPressedRepeat(altKey);
}

bool altHeld() {
    return IsKeyDown(KEY_LEFT_ALT) || IsKeyDown(KEY_RIGHT_ALT);
}

bool keyFired(Action action) {
    // Alt with Enter is the window's full-screen key, never a menu's Enter.
    if (action == Action::Confirm && altHeld()) {
        return false;
    }
    switch (action) {
    case Action::MoveLeft:
        return keyMoves(KEY_LEFT, KEY_A);
    case Action::MoveRight:
        return keyMoves(KEY_RIGHT, KEY_D);
    case Action::SoftDrop:
        return IsKeyDown(KEY_DOWN) || IsKeyDown(KEY_S);
    case Action::HardDrop:
    case Action::MenuUp:
        return keyPressed(KEY_UP, KEY_W);
    case Action::MenuDown:
        return keyPressed(KEY_DOWN, KEY_S);
    case Action::MenuLeft:
        return keyPressed(KEY_LEFT, KEY_A);
    case Action::MenuRight:
        return keyPressed(KEY_RIGHT, KEY_D);
    case Action::Turn:
        return IsKeyPressed(KEY_SPACE);
    case Action::Hold:
        return keyPressed(KEY_LEFT_CONTROL, KEY_RIGHT_CONTROL);
    case Action::Pause:
    case Action::Back:
        return IsKeyPressed(KEY_ESCAPE);
    case Action::MenuFirst:
        return IsKeyPressed(KEY_HOME);
    case Action::MenuLast:
        return IsKeyPressed(KEY_END);
    case Action::Confirm:
        return keyPressed(KEY_ENTER, KEY_KP_ENTER);
    }
    return false;
}

bool padFired(Action action) {
    switch (action) {
    case Action::MoveLeft:
        return padMoves(PadDirection::Left);
    case Action::MoveRight:
        return padMoves(PadDirection::Right);
    case Action::SoftDrop:
        return padState.held == PadDirection::Down;
    case Action::HardDrop:
    case Action::MenuUp:
        return padPressed(PadDirection::Up);
    case Action::MenuDown:
        return padPressed(PadDirection::Down);
    case Action::MenuLeft:
        return padPressed(PadDirection::Left);
    case Action::MenuRight:
        return padPressed(PadDirection::Right);
    default:
        return (padState.pressedButtons & padButtons(action)) != 0;
    }
}

} // namespace

void readControls() {
    readPointer();
    trackArrivals(padState.arrivals);
    const int followed = padState.arrivals.count > 0 ? padState.arrivals.slots[0] : kNoPad;
    // A pad taking over starts from rest: nothing held, the stick centred, no repeat.
    if (followed != padState.pad) {
        padState = PadState{.arrivals = padState.arrivals, .pad = followed};
    }
    if (padState.pad == kNoPad) {
        return;
    }
    readButtons(padState);
    readDirections(padState);
    advanceRepeat(padState);
}

bool fired(Action action) {
    return keyFired(action) || padFired(action) || pointerFired(action);
}

bool fullScreenKeyPressed() {
    return IsKeyPressed(KEY_F11) || (altHeld() && keyPressed(KEY_ENTER, KEY_KP_ENTER));
}

void spend(Action action) {
    padState.pressedButtons &= ~padButtons(action);
}
