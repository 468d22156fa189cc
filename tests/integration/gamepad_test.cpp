// A game controller plugged in while the game runs reaches the rules: SDL's virtual
// joystick stands in for the device, and raylib opens it as gamepad 0 and turns its
// D-pad and stick into the readings the game acts on.
#include "app/scene_manager.h"
#include "game/board.h"
#include "game/game_scene.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <raylib.h>

namespace {

constexpr int kFramesToNotice = 10;

// raylib polls the devices as a frame ends; the game's update then reads them.
void frame() {
    BeginDrawing();
    EndDrawing();
    gameScene.update();
}

TEST(GamepadWithRaylib, AControllerPluggedInDuringTheRunMovesThePiece) {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "kolvex test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr) << SDL_GetError();

    SceneManager manager;
    gameScene.manager = &manager;
    resetBoard(gameScene);
    gameScene.phase = GamePhase::Playing;
    gameScene.pieceType = PieceType::O;
    gameScene.pieceX = 4;
    for (int i = 0; i < kFramesToNotice && !IsGamepadAvailable(0); ++i) {
        frame();
    }
    ASSERT_TRUE(IsGamepadAvailable(0));

    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    frame();
    EXPECT_EQ(gameScene.pieceX, 3) << "the D-pad";
    const int column = gameScene.pieceX;
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, SDL_JOYSTICK_AXIS_MAX);
    frame();
    EXPECT_EQ(gameScene.pieceX, column + 1) << "the stick";

    SDL_JoystickClose(pad);
    SDL_JoystickDetachVirtual(index);
    for (int i = 0; i < kFramesToNotice && IsGamepadAvailable(0); ++i) {
        frame();
    }
    EXPECT_FALSE(IsGamepadAvailable(0));
    gameScene = GameScene{};
    board.clear();
}

} // namespace
