// Game controllers plugged in while the game runs reach the rules: SDL's virtual
// joysticks stand in for the devices, raylib opens them as gamepads 0 and 1, and
// the game follows the first; unplugged, the second takes over from slot 1, where
// raylib's SDL platform no longer keeps the previous buttons, and a held button
// still acts once.
#include "app/scene_manager.h"
#include "game/board.h"
#include "game/game_scene.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <raylib.h>

namespace {

constexpr int kFramesToNotice = 10;
constexpr int kHeldFrames = 6;

// raylib polls the devices as a frame ends; the game's update then reads them.
void frame() {
    BeginDrawing();
    EndDrawing();
    gameScene.update();
}

int attachPad() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "kolvex test pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}

// Unplugs the virtual pad; its device index moves as others come and go.
void detachPad(SDL_Joystick* pad) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    SDL_JoystickClose(pad);
    for (int index = 0; index < SDL_NumJoysticks(); ++index) {
        if (SDL_JoystickGetDeviceInstanceID(index) == id) {
            SDL_JoystickDetachVirtual(index);
        }
    }
}

void framesUntil(bool (*done)()) {
    for (int i = 0; i < kFramesToNotice && !done(); ++i) {
        frame();
    }
}

TEST(GamepadWithRaylib, TheSecondControllerTakesOverWhenTheFirstIsUnplugged) {
    const int firstIndex = attachPad();
    ASSERT_GE(firstIndex, 0) << SDL_GetError();
    SDL_Joystick* first = SDL_JoystickOpen(firstIndex);
    ASSERT_NE(first, nullptr) << SDL_GetError();
    const int secondIndex = attachPad();
    ASSERT_GE(secondIndex, 0) << SDL_GetError();
    SDL_Joystick* second = SDL_JoystickOpen(secondIndex);
    ASSERT_NE(second, nullptr) << SDL_GetError();

    SceneManager manager;
    gameScene.manager = &manager;
    resetBoard(gameScene);
    gameScene.phase = GamePhase::Playing;
    gameScene.fallInterval = 100.0f;
    gameScene.pieceType = PieceType::T;
    gameScene.pieceX = 4;
    gameScene.pieceY = 5;
    framesUntil([] { return IsGamepadAvailable(0) && IsGamepadAvailable(1); });
    ASSERT_TRUE(IsGamepadAvailable(0) && IsGamepadAvailable(1));

    SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    frame();
    EXPECT_EQ(gameScene.pieceX, 3) << "the first pad's D-pad";
    SDL_JoystickSetVirtualButton(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    frame();
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    frame();
    EXPECT_EQ(gameScene.pieceX, 3) << "the second pad is not followed";

    detachPad(first);
    framesUntil([] { return !IsGamepadAvailable(0); });
    ASSERT_FALSE(IsGamepadAvailable(0));
    ASSERT_TRUE(IsGamepadAvailable(1));

    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 1);
    for (int i = 0; i < kHeldFrames; ++i) {
        frame();
    }
    EXPECT_EQ(gameScene.pieceRotation, 1) << "a held button turns once";
    SDL_JoystickSetVirtualButton(second, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualAxis(second, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MIN);
    frame();
    EXPECT_EQ(gameScene.pieceX, 2) << "the second pad's stick";

    detachPad(second);
    framesUntil([] { return !IsGamepadAvailable(1); });
    EXPECT_FALSE(IsGamepadAvailable(1));
    gameScene = GameScene{};
    board.clear();
}

} // namespace
