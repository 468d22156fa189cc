// Every screen played with a gamepad in a slot other than 0, as raylib's RGFW
// platforms place the first one: its buttons and its stick do what the keys do, a
// held direction repeats like a held key, the stick has a dead zone and must come
// back to the middle before it presses again, and a key and a button meaning the
// same thing in one frame act once. With two pads, the first to arrive is followed
// and the other takes over when it goes.
#include "test_support.h"

#include "app/scene_manager.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "scenes/game_over_scene.h"
#include "scenes/title_scene.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Sounds = std::vector<std::string>;

constexpr int kSlot = 3;
constexpr int kLeft = GAMEPAD_BUTTON_LEFT_FACE_LEFT;
constexpr int kRight = GAMEPAD_BUTTON_LEFT_FACE_RIGHT;
constexpr int kUp = GAMEPAD_BUTTON_LEFT_FACE_UP;
constexpr int kDown = GAMEPAD_BUTTON_LEFT_FACE_DOWN;
constexpr int kBottom = GAMEPAD_BUTTON_RIGHT_FACE_DOWN;
constexpr int kStart = GAMEPAD_BUTTON_MIDDLE_RIGHT;

int count(const Sounds& sounds, const std::string& name) {
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), name));
}

class GamepadTest : public KolvexTest {
protected:
    SceneManager manager;

    void SetUp() override {
        KolvexTest::SetUp();
        standin::plugGamepad(kSlot, 0);
    }

    // The stick held at (x, y) for n frames from now.
    static void stick(float x, float y, int n) {
        standin::padAxis(kSlot, GAMEPAD_AXIS_LEFT_X, x, standin::frame(), standin::frame() + n - 1);
        standin::padAxis(kSlot, GAMEPAD_AXIS_LEFT_Y, y, standin::frame(), standin::frame() + n - 1);
    }

    static void buttons(std::initializer_list<int> pressed) {
        for (int button : pressed) {
            standin::padPress(kSlot, button, standin::frame());
        }
    }

    static void place(PieceType type, int x, int y) {
        gameScene.pieceType = type;
        gameScene.pieceRotation = 0;
        gameScene.pieceX = static_cast<std::int8_t>(x);
        gameScene.pieceY = static_cast<std::int8_t>(y);
    }

    static void gameFrame(std::initializer_list<int> pressed = {}) {
        buttons(pressed);
        runGameFrames(1);
    }
};

TEST_F(GamepadTest, PlayMovesTurnsHoldsAndDropsWithThePad) {
    gameScene.enter(manager);
    gameScene.fallInterval = 100.0f; // no gravity step unless soft-dropping
    place(PieceType::O, 8, 5);
    gameFrame({kLeft, kBottom, kUp, GAMEPAD_BUTTON_LEFT_TRIGGER_1});
    stick(-1.0f, 0.0f, 3);
    runGameFrames(3);
    EXPECT_EQ(gameScene.pieceX, 8) << "nothing acts during the countdown";
    EXPECT_EQ(gameScene.pieceRotation, 0);
    EXPECT_EQ(gameScene.score, 0u);
    EXPECT_EQ(gameScene.holdTransfer.state, HoldState::Idle);
    loadRemaining(gameScene);
    gameScene.phase = GamePhase::Playing;
    runGameFrames(2); // the stick back in the middle

    // A tap moves one column; a held D-pad moves at once, waits, then repeats
    // steadily until the wall.
    gameFrame({kLeft});
    gameFrame();
    EXPECT_EQ(gameScene.pieceX, 7);
    standin::padHold(kSlot, kLeft, standin::frame(), standin::frame() + 59);
    std::vector<int> moves;
    for (int i = 0; i < 60; ++i) {
        const int before = gameScene.pieceX;
        gameFrame();
        if (gameScene.pieceX != before) {
            moves.push_back(i);
        }
    }
    EXPECT_EQ(gameScene.pieceX, 0);
    ASSERT_EQ(moves.size(), 7u);
    EXPECT_EQ(moves[0], 0);
    for (std::size_t i = 2; i < moves.size(); ++i) {
        const int gap = moves[i] - moves[i - 1];
        EXPECT_GT(moves[1] - moves[0], gap) << "the first delay is the longer";
        EXPECT_GT(gap, 1) << "repeats are spaced out, not one a frame";
        EXPECT_LE(std::abs(gap - (moves[2] - moves[1])), 1) << "the rate is steady";
    }

    // The stick: a small lean does nothing; a diagonal counts as its larger axis.
    stick(0.2f, 0.2f, 20);
    runGameFrames(20);
    EXPECT_EQ(gameScene.pieceX, 0);
    EXPECT_EQ(gameScene.pieceY, 5);
    stick(0.9f, -0.6f, 1);
    gameFrame();
    EXPECT_EQ(gameScene.pieceX, 1) << "right, and no hard drop";
    EXPECT_EQ(gameScene.score, 0u);

    // D-pad down or the stick down soft-drop while held.
    standin::padHold(kSlot, kDown, standin::frame(), standin::frame() + 11);
    runGameFrames(12);
    EXPECT_GE(gameScene.pieceY, 8);
    const int row = gameScene.pieceY;
    stick(0.0f, 1.0f, 12);
    runGameFrames(12);
    EXPECT_GE(gameScene.pieceY, row + 3);

    // The bottom face button turns, a shoulder holds; with the key in the same
    // frame each still acts once.
    place(PieceType::T, 3, 5);
    standin::pressNow(KEY_SPACE);
    standin::pressNow(KEY_RIGHT);
    stick(1.0f, 0.0f, 1);
    gameFrame({kBottom, kRight});
    EXPECT_EQ(gameScene.pieceRotation, 1);
    EXPECT_EQ(gameScene.pieceX, 4);
    standin::clearCalls();
    standin::pressNow(KEY_RIGHT_CONTROL);
    gameFrame({GAMEPAD_BUTTON_RIGHT_TRIGGER_1});
    EXPECT_NE(gameScene.holdTransfer.state, HoldState::Idle);
    EXPECT_EQ(playedSounds(), Sounds{"sfx_hold_block"});
    runGameFrames(60); // the exchange lands

    // The stick up drops once per push: rolling round the rim does not drop
    // again; back in the middle, the next push does.
    standin::clearCalls();
    stick(0.0f, -1.0f, 10);
    runGameFrames(10);
    stick(-1.0f, 0.0f, 5);
    runGameFrames(5);
    stick(0.0f, -1.0f, 10);
    runGameFrames(10);
    EXPECT_EQ(count(playedSounds(), "sfx_drop"), 1);
    runGameFrames(1);
    stick(0.0f, -1.0f, 1);
    gameFrame();
    EXPECT_EQ(count(playedSounds(), "sfx_drop"), 2);
    // The D-pad up drops once per press, and with the key at once only one piece.
    standin::pressNow(KEY_UP);
    gameFrame({kUp});
    EXPECT_EQ(count(playedSounds(), "sfx_drop"), 3);
}

TEST_F(GamepadTest, PauseMenuWithThePad) {
    gameScene.enter(manager);
    loadRemaining(gameScene);
    gameScene.phase = GamePhase::Playing;
    standin::clearCalls();
    gameFrame({kStart});
    EXPECT_EQ(gameScene.phase, GamePhase::Paused) << "the press that paused does not resume";
    EXPECT_EQ(playedSounds(), Sounds{"sfx_pause"});

    // Left or right, on the D-pad, the stick or the keys, switch once a frame.
    standin::pressNow(KEY_LEFT);
    stick(-1.0f, 0.0f, 1);
    gameFrame({kRight});
    EXPECT_EQ(gameScene.pauseSelection, 1);
    gameFrame({kLeft});
    EXPECT_EQ(gameScene.pauseSelection, 0);
    gameFrame({kBottom});
    EXPECT_EQ(gameScene.phase, GamePhase::Playing);

    gameFrame({kStart});
    gameFrame({kRight});
    gameFrame({kStart});
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Title);
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_pause", "sfx_select", "sfx_select", "sfx_resume",
                                      "sfx_pause", "sfx_select", "sfx_quit"}));
}

TEST_F(GamepadTest, TitleMenuAndPagesWithThePad) {
    manager.enterScene();
    const auto frame = [](std::initializer_list<int> pressed = {}) {
        buttons(pressed);
        titleScene.update();
        standin::nextFrame();
    };

    // One move per press: a held D-pad or stick does not repeat in a menu.
    standin::padHold(kSlot, kDown, standin::frame(), standin::frame() + 30);
    for (int i = 0; i < 31; ++i) {
        frame();
    }
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay);
    stick(0.1f, 0.2f, 5);
    for (int i = 0; i < 5; ++i) {
        frame();
    }
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay) << "inside the dead zone";
    stick(0.0f, 1.0f, 30);
    for (int i = 0; i < 30; ++i) {
        frame();
    }
    EXPECT_EQ(titleScene.item, MenuItem::Credits);
    frame();
    stick(0.3f, 0.8f, 1);
    frame();
    EXPECT_EQ(titleScene.item, MenuItem::Quit);
    frame({kDown});
    EXPECT_EQ(titleScene.item, MenuItem::Quit) << "no wrap-around";

    // With the key in the same frame: one move. A move with the confirm button
    // carries out the entry highlighted before the move.
    standin::pressNow(KEY_UP);
    frame({kUp});
    EXPECT_EQ(titleScene.item, MenuItem::Credits);
    frame();
    frame({kUp, kBottom});
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay);
    EXPECT_EQ(titleScene.page, TitlePage::Credits);
    frame();
    frame({kBottom, kStart, kUp});
    EXPECT_EQ(titleScene.page, TitlePage::Credits) << "only the right face button leaves";
    frame({GAMEPAD_BUTTON_RIGHT_FACE_RIGHT});
    EXPECT_EQ(titleScene.page, TitlePage::Menu);

    frame({kUp});
    frame({kStart});
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Game);
    EXPECT_EQ(playedSounds(),
              (Sounds{"sfx_select", "sfx_select", "sfx_select", "sfx_select", "sfx_select",
                      "sfx_confirm", "sfx_quit", "sfx_select", "sfx_confirm"}));
}

TEST_F(GamepadTest, GameOverMenuWithThePadAfterTheDelay) {
    TempWorkingDir dir;
    manager.current = SceneId::GameOver;
    testing::internal::CaptureStdout();
    manager.enterScene();
    testing::internal::GetCapturedStdout();
    const auto frame = [](std::initializer_list<int> pressed = {}) {
        buttons(pressed);
        gameOverScene.update();
        standin::nextFrame();
    };

    standin::setFrameTime(0.5f);
    for (int i = 0; i < 10; ++i) {
        stick(0.0f, i % 2 == 0 ? 1.0f : 0.0f, 1);
        if (i % 2 == 0) {
            buttons({kDown, kBottom, kStart});
        }
        frame();
    }
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    EXPECT_FALSE(manager.switchPending);
    EXPECT_EQ(playedSounds(), Sounds{"sfx_gameover"}) << "ignored for the first five seconds";

    standin::setFrameTime(1.0f / 60.0f);
    frame({kDown});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit);
    stick(0.0f, -1.0f, 1);
    frame();
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    standin::pressNow(KEY_DOWN);
    frame({kDown, kStart});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit);
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Game) << "Start confirms the entry the frame began with";
    EXPECT_EQ(playedSounds(),
              (Sounds{"sfx_gameover", "sfx_select", "sfx_select", "sfx_select", "sfx_confirm"}));
}

TEST_F(GamepadTest, TheFirstPadToArriveIsFollowedAndTheNextTakesOver) {
    gameScene.enter(manager);
    gameScene.phase = GamePhase::Playing;
    gameScene.fallInterval = 100.0f;
    place(PieceType::T, 4, 5);
    gameFrame();
    standin::plugGamepad(0, standin::frame()); // a lower slot, but later
    standin::padPress(0, kLeft, standin::frame());
    gameFrame();
    EXPECT_EQ(gameScene.pieceX, 4) << "only the first pad is read";

    standin::unplugGamepad(kSlot, standin::frame());
    standin::padPress(0, kLeft, standin::frame());
    gameFrame();
    EXPECT_EQ(gameScene.pieceX, 3);
    standin::padHold(0, kBottom, standin::frame(), standin::frame() + 29);
    runGameFrames(30);
    EXPECT_EQ(gameScene.pieceRotation, 1) << "a held button acts once";
}

} // namespace
