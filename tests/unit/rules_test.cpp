// The rules of play through the scene's update: moves, the hard drop, gravity
// with the soft drop, hold, scoring with levels and speed, and the music pitch.
#include "test_support.h"

#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "game/rules.h"

#include <algorithm>
#include <cmath>

namespace {

int countOf(const std::vector<std::string>& names, const std::string& name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

class RulesTest : public KolvexTest {
protected:
    SceneManager manager;

    void SetUp() override {
        KolvexTest::SetUp();
        gameScene.enter(manager);
        loadRemaining(gameScene);
        gameScene.phase = GamePhase::Playing;
        standin::clearCalls();
    }

    void place(PieceType type, int rotation, int x, int y) {
        gameScene.pieceType = type;
        gameScene.pieceRotation = static_cast<std::int8_t>(rotation);
        gameScene.pieceX = static_cast<std::int8_t>(x);
        gameScene.pieceY = static_cast<std::int8_t>(y);
    }

    void step() { runGameFrames(1); }
    void steps(int n) { runGameFrames(n); }
};

TEST_F(RulesTest, SidewaysMovesRepeatAndStopAtTheWalls) {
    place(PieceType::O, 0, 4, 5);
    standin::press(KEY_LEFT, 0);
    standin::repeat(KEY_LEFT, 2);
    standin::repeat(KEY_A, 3);
    steps(4);
    EXPECT_EQ(gameScene.pieceX, 1);

    // Both directions in one frame cancel out.
    standin::pressNow(KEY_LEFT);
    standin::pressNow(KEY_D);
    step();
    EXPECT_EQ(gameScene.pieceX, 1);

    for (int i = 0; i < 3; ++i) {
        standin::pressNow(KEY_LEFT);
        step();
    }
    EXPECT_EQ(gameScene.pieceX, 0) << "stopped by the wall";
    // Against the wall, left fails and right still moves.
    standin::pressNow(KEY_LEFT);
    standin::pressNow(KEY_RIGHT);
    step();
    EXPECT_EQ(gameScene.pieceX, 1);
}

TEST_F(RulesTest, HardDropScoresTwoPerRowAndLocksAtOnce) {
    nextPieceType = PieceType::T;
    place(PieceType::O, 0, 3, 0);
    standin::pressNow(KEY_UP);
    standin::pressNow(KEY_SPACE); // no turn in the frame of a hard drop
    step();
    EXPECT_EQ(gameScene.score, 36u) << "18 rows fallen";
    EXPECT_EQ(board[18][3], 2);
    EXPECT_EQ(board[19][4], 2);
    EXPECT_EQ(countOf(playedSounds(), "sfx_drop"), 1);
    EXPECT_EQ(gameScene.particles.size(), 28u);
    EXPECT_GT(gameScene.shakeTime, 0.0f);
    EXPECT_EQ(gameScene.pieceType, PieceType::T);
    EXPECT_EQ(gameScene.pieceRotation, 0);
    EXPECT_EQ(gameScene.pieceY, 0);

    // A piece already at rest locks without smoke, shake or sound.
    gameScene.particles.clear();
    gameScene.shakeTime = 0.0f;
    standin::clearCalls();
    place(PieceType::O, 0, 3, 16);
    standin::pressNow(KEY_W);
    step();
    EXPECT_EQ(gameScene.score, 36u);
    EXPECT_EQ(board[16][3], 2);
    EXPECT_TRUE(playedSounds().empty());
    EXPECT_TRUE(gameScene.particles.empty());
    EXPECT_EQ(gameScene.shakeTime, 0.0f);
}

TEST_F(RulesTest, ClearsScoreBySquaresAndRaiseLevelsBackgroundsAndSpeed) {
    scoreClear(gameScene, 1);
    EXPECT_EQ(gameScene.score, 100u);
    EXPECT_EQ(gameScene.level, 1);
    EXPECT_FLOAT_EQ(gameScene.fallInterval, kFirstLevelInterval);
    EXPECT_EQ(TextureStore::instance().currentBackground, "bg_beach");

    gameScene.lines = 9;
    scoreClear(gameScene, 1);
    EXPECT_EQ(gameScene.lines, 10);
    EXPECT_EQ(gameScene.level, 2);
    EXPECT_EQ(TextureStore::instance().currentBackground, "bg_city");
    EXPECT_EQ(countOf(playedSounds(), "sfx_level_up"), 1);
    EXPECT_NEAR(gameScene.fallInterval, 0.73f, 1e-6);

    // Eight lines and a four-row clear: twelve lines, one level, one sound.
    gameScene = GameScene{};
    gameScene.lines = 8;
    standin::clearCalls();
    scoreClear(gameScene, 4);
    EXPECT_EQ(gameScene.lines, 12);
    EXPECT_EQ(gameScene.level, 2);
    EXPECT_EQ(gameScene.score, 1600u);
    EXPECT_EQ(countOf(playedSounds(), "sfx_level_up"), 1);

    struct Case {
        int linesBefore;
        int level;
        const char* background;
        float interval;
    };
    const Case cases[] = {{19, 3, "bg_mount", 0.66f},   {49, 6, "bg_waterfall", 0.45f},
                          {59, 7, "bg_beach", 0.38f},   {89, 10, "bg_road", 0.17f},
                          {99, 11, "bg_sunset", 0.15f}, {109, 12, "bg_waterfall", 0.15f},
                          {389, 40, "bg_road", 0.15f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        gameScene.lines = static_cast<std::uint16_t>(c.linesBefore);
        gameScene.level = static_cast<std::uint16_t>(c.linesBefore / 10 + 1);
        scoreClear(gameScene, 1);
        EXPECT_EQ(gameScene.level, c.level);
        EXPECT_EQ(TextureStore::instance().currentBackground, c.background);
        EXPECT_EQ(gameScene.backgroundNames[gameScene.backgroundIndex], c.background);
        EXPECT_NEAR(gameScene.fallInterval, c.interval, 1e-5);
    }
}

TEST_F(RulesTest, GravityStepsOncePerIntervalAndSoftDropAtAnyLevel) {
    standin::setFrameTime(0.03f);
    place(PieceType::T, 0, 3, 0);
    steps(26); // 0.78 s
    EXPECT_EQ(gameScene.pieceY, 0);
    step(); // 0.81 s: one row, the time beyond the interval dropped
    EXPECT_EQ(gameScene.pieceY, 1);
    EXPECT_FLOAT_EQ(gameScene.fallTimer, 0.0f);

    // Soft drop: one row per 0.05 s at level 1 and at level 11 alike.
    for (const float interval : {kFirstLevelInterval, 0.15f}) {
        place(PieceType::T, 0, 3, 0);
        gameScene.fallTimer = 0.0f;
        gameScene.fallInterval = interval;
        standin::setFrameTime(0.02f);
        standin::hold(KEY_DOWN, standin::frame(), standin::frame() + 11);
        steps(12);
        EXPECT_EQ(gameScene.pieceY, 4) << "every third frame of 0.02 s";
        EXPECT_EQ(gameScene.score, 0u) << "the soft drop scores nothing";
    }

    // However long the frame, one row per frame.
    place(PieceType::T, 0, 3, 0);
    standin::setFrameTime(2.0f);
    standin::hold(KEY_S, standin::frame(), standin::frame() + 2);
    steps(3);
    EXPECT_EQ(gameScene.pieceY, 3);

    // A piece at rest locks at the next step.
    nextPieceType = PieceType::I;
    place(PieceType::T, 0, 3, 18);
    step();
    EXPECT_EQ(board[19][4], 5);
    EXPECT_EQ(gameScene.pieceType, PieceType::I);
}

TEST_F(RulesTest, HoldWorksOncePerPieceAndASecondPressOnlyReplaysItsSound) {
    standin::setFrameTime(0.02f);
    nextPieceType = PieceType::S;
    place(PieceType::T, 0, 3, 5);
    standin::pressNow(KEY_LEFT_CONTROL);
    step();
    EXPECT_EQ(gameScene.holdTransfer.state, HoldState::Lift);
    standin::pressNow(KEY_RIGHT_CONTROL); // during the transfer
    step();
    EXPECT_EQ(countOf(playedSounds(), "sfx_hold_block"), 2);
    EXPECT_NEAR(gameScene.holdTransfer.timer, 0.04f, 1e-6) << "the second press did not restart it";
    steps(4);
    EXPECT_EQ(gameScene.holdTransfer.state, HoldState::Fly);
    steps(8);
    EXPECT_EQ(gameScene.holdType, PieceType::T);
    EXPECT_EQ(gameScene.pieceType, PieceType::S);
    EXPECT_FALSE(gameScene.canHold);
    steps(5);
    EXPECT_EQ(gameScene.holdTransfer.state, HoldState::Idle);

    // Before the next lock the hold key does nothing at all.
    standin::clearCalls();
    standin::pressNow(KEY_LEFT_CONTROL);
    step();
    EXPECT_TRUE(playedSounds().empty());
    EXPECT_EQ(gameScene.holdTransfer.state, HoldState::Idle);

    // After a lock the held piece comes back at the spawn position.
    nextPieceType = PieceType::Z;
    standin::pressNow(KEY_UP);
    step();
    EXPECT_TRUE(gameScene.canHold);
    standin::pressNow(KEY_LEFT_CONTROL);
    steps(15);
    EXPECT_EQ(gameScene.pieceType, PieceType::T);
    EXPECT_EQ(gameScene.holdType, PieceType::Z);
    EXPECT_EQ(gameScene.pieceX, 3);
    EXPECT_EQ(gameScene.pieceY, 0);
}

TEST_F(RulesTest, HoldThenHardDropHoldsThePieceThatEnteredAfterTheLock) {
    standin::setFrameTime(0.02f);
    nextPieceType = PieceType::L;
    place(PieceType::O, 0, 3, 0);
    standin::pressNow(KEY_LEFT_CONTROL);
    step();
    standin::press(KEY_UP, standin::frame() + 2);
    steps(3);
    EXPECT_EQ(board[19][3], 2) << "the dropped O is locked";
    EXPECT_EQ(gameScene.pieceType, PieceType::L);
    nextPieceType = PieceType::J;
    steps(12);
    EXPECT_EQ(gameScene.holdType, PieceType::L);
    EXPECT_EQ(gameScene.pieceType, PieceType::J);
}

TEST_F(RulesTest, HoldIntoAnEmptySlotWhoseNextPieceDoesNotFitEndsTheGame) {
    standin::setFrameTime(0.05f);
    board[1][4] = 7; // blocks every piece at the spawn position
    place(PieceType::I, 0, 3, 10);
    nextPieceType = PieceType::T;
    standin::pressNow(KEY_LEFT_CONTROL);
    steps(5);
    EXPECT_EQ(gameScene.holdType, PieceType::I);
    EXPECT_TRUE(gameScene.toppedOut);
    EXPECT_FALSE(manager.switchPending);
    step();
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::GameOver);
}

TEST_F(RulesTest, AHeldPieceReturningOverTheStackEndsTheGameAndOverwritesNothing) {
    for (int row = 1; row < 20; ++row) {
        board[row].assign(10, 6);
        board[row][row % 10] = 0;
    }
    const auto before = board;
    gameScene.holdType = PieceType::O;
    place(PieceType::I, 1, -2, -3); // upright above the stack, against the wall
    // 0.1 s frames: Fly from the first, the exchange in the third, and gravity
    // (every 0.25 s) due in that same frame.
    standin::setFrameTime(0.1f);
    gameScene.fallInterval = 0.25f;
    standin::pressNow(KEY_LEFT_CONTROL);
    steps(2);
    EXPECT_EQ(gameScene.holdType, PieceType::O);
    step();
    EXPECT_EQ(gameScene.pieceType, PieceType::O);
    EXPECT_EQ(gameScene.holdType, PieceType::I);
    EXPECT_TRUE(gameScene.toppedOut);
    EXPECT_FALSE(manager.switchPending);
    step();
    EXPECT_EQ(manager.next, SceneId::GameOver);
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(board, before);
}

TEST_F(RulesTest, PitchTargetFollowsTheStackHeight) {
    struct Case {
        int rows;
        float target;
    };
    const Case cases[] = {{0, 1.0f},    {9, 1.0f},    {10, 1.005f}, {12, 1.037f},
                          {14, 1.086f}, {15, 1.114f}, {17, 1.164f}, {20, 1.2f}};
    for (const Case& c : cases) {
        EXPECT_NEAR(musicPitchTarget(c.rows), c.target, 1e-3) << c.rows << " rows";
    }
    EXPECT_FLOAT_EQ(musicPitchTarget(9), 1.0f);
    EXPECT_FLOAT_EQ(musicPitchTarget(20), 1.2f);

    // Eased at 3.5 per second from the stack in the well, and sent to the music.
    board[8][0] = 1; // topmost cell in row 8: 12 rows high
    standin::setFrameTime(0.1f);
    gameScene.musicPitch = 1.0f;
    updateMusicPitch(gameScene);
    EXPECT_NEAR(gameScene.musicPitch, 1.0f + (musicPitchTarget(12) - 1.0f) * 0.35f, 1e-6);
    const auto pitches = standin::callsNamed("SetMusicPitch");
    ASSERT_EQ(pitches.size(), 1u);
    EXPECT_FLOAT_EQ(pitches[0].num[0], gameScene.musicPitch);

    // A frame longer than the easing step lands on the target instead of beyond it.
    board[0][9] = 1;
    standin::setFrameTime(1.5f);
    for (int i = 0; i < 5; ++i) {
        updateMusicPitch(gameScene);
    }
    EXPECT_FLOAT_EQ(gameScene.musicPitch, 1.2f);
}

} // namespace
