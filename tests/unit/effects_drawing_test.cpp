// Drawing the effects as the stand-in records it: particle opacity and the plain
// squares of missing pictures, the row flashes' bars, and the hold comet with the
// dimming of each of its states.
#include "test_support.h"

#include "game/game_scene.h"
#include "render/effects_drawing.h"

#include <string>
#include <vector>

namespace {

class EffectsDrawingTest : public KolvexTest {
protected:
    void SetUp() override {
        KolvexTest::SetUp();
        gameScene.cellSize = 29;
        gameScene.sparkleFrames = {Texture2D{21, 32, 32, 1, 0}, Texture2D{22, 32, 32, 1, 0}};
        gameScene.smokeFrames = {Texture2D{31, 32, 38, 1, 0}, Texture2D{0, 0, 0, 0, 0}};
    }
};

Particle particle(Vector2 at, float life, float size, int frame, int frameSet) {
    return Particle{
        at, {}, Color{255, 203, 0, 200}, life, size, static_cast<std::int8_t>(frame), frameSet};
}

TEST_F(EffectsDrawingTest, ParticlesFadeOverTheirLastHalfSecondInArrayOrder) {
    struct Case {
        float life;
        int alpha;
    };
    const std::vector<Case> cases = {{2.0f, 200}, {0.5f, 200}, {0.25f, 100}, {0.1f, 40}};
    for (const Case& c : cases) {
        gameScene.particles.push_back(particle({100, 50}, c.life, 16, 1, kSparkleFrameSet));
    }
    gameScene.particles.push_back(particle({300, 80}, 1.0f, 10, 0, kSmokeFrameSet));
    drawParticles(gameScene);

    const std::vector<standin::Call> calls = drawCalls();
    ASSERT_EQ(calls.size(), cases.size() + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(calls[i].fn, "DrawTexturePro");
        EXPECT_EQ(calls[i].handle, 22u) << "frame 1 of the sparkle pool";
        expectNums(calls[i].num, {0, 0, 32, 32, 92, 42, 16, 16, 0, 0, 0});
        EXPECT_EQ(rgba(calls[i].color), (std::vector<int>{255, 203, 0, cases[i].alpha}))
            << "life " << cases[i].life;
    }
    // Smoke comes from its own pool, its taller picture squeezed into the square.
    EXPECT_EQ(calls.back().handle, 31u);
    expectNums(calls.back().num, {0, 0, 32, 38, 295, 75, 10, 10, 0, 0, 0});
}

TEST_F(EffectsDrawingTest, MissingPicturesDrawPlainSquaresAndFrameMinusOneNothing) {
    gameScene.particles = {
        particle({100.7f, 50.2f}, 1.0f, 13, 1, kSmokeFrameSet), // id 0: a truncated square
        particle({2.0f, 3.0f}, 0.25f, 9, 1, kSmokeFrameSet),    // truncated towards zero
        particle({200, 200}, 1.0f, 12, -1, kSparkleFrameSet),   // no picture at all
        particle({200, 200}, 1.0f, 12, 5, kSparkleFrameSet),    // past the end of its pool
    };
    drawParticles(gameScene);

    const std::vector<standin::Call> calls = drawCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].fn, "DrawRectangle");
    expectNums(calls[0].num, {94, 43, 13, 13});
    EXPECT_EQ(rgba(calls[0].color), (std::vector<int>{255, 203, 0, 200}));
    EXPECT_EQ(calls[1].fn, "DrawRectangle");
    expectNums(calls[1].num, {-2, -1, 9, 9});
    EXPECT_EQ(calls[1].color.a, 100);
}

TEST_F(EffectsDrawingTest, RowFlashesAreBarsFourPixelsWiderThanTheRowFadingFrom85Percent) {
    gameScene.rowFlashes = {RowFlash{0, 0.18f}, RowFlash{19, 0.09f}, RowFlash{19, 0.0f}};
    drawRowFlashes(gameScene, Vector2{45, 57});

    const std::vector<standin::Call> calls = drawCalls();
    ASSERT_EQ(calls.size(), 3u);
    for (const standin::Call& call : calls) {
        EXPECT_EQ(call.fn, "DrawRectangleRec");
    }
    expectNums(calls[0].num, {41, 53, 298, 37});
    EXPECT_EQ(rgba(calls[0].color), (std::vector<int>{255, 255, 255, 216}));
    expectNums(calls[1].num, {41, 604, 298, 37});
    EXPECT_EQ(calls[1].color.a, 108);
    EXPECT_EQ(calls[2].color.a, 0);
}

// The dimming covers the game's picture, whatever the window's size.
TEST_F(EffectsDrawingTest, HoldCometFollowsItsSmoothstepAndDimsByState) {
    standin::setScreenSize(1000, 800);
    const Vector2 start{185, 103};
    const Vector2 target{453.5f, 323.5f};
    const auto along = [&](float s) {
        return Vector2{start.x + (target.x - start.x) * s, start.y + (target.y - start.y) * s};
    };
    struct Case {
        HoldState state;
        float timer;
        Vector2 head;
        int dimAlpha;
    };
    const std::vector<Case> cases = {
        {HoldState::Lift, 0.0f, start, 0},
        {HoldState::Lift, 0.04f, along(0.175407f), 95},
        {HoldState::Fly, 0.0f, start, 165},
        {HoldState::Fly, 0.075f, along(0.5f), 165},
        {HoldState::Fly, 0.15f, target, 165},
        {HoldState::Fly, 0.3f, target, 165},
        {HoldState::Settle, 0.0f, start, 191},
        {HoldState::Settle, 0.04f, along(0.175407f), 95},
        {HoldState::Settle, 0.08f, along(0.549926f), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.state)) + " at " + std::to_string(c.timer));
        gameScene.holdTransfer = HoldTransfer{c.state, c.timer, start, target};
        standin::clearCalls();
        drawHoldTransfer(gameScene);
        const std::vector<standin::Call> calls = drawCalls();
        ASSERT_EQ(calls.size(), 6u);
        const std::vector<std::pair<float, int>> lines = {{18, 51}, {8, 204}, {3, 255}};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(calls[i].fn, "DrawLineEx");
            expectNums(calls[i].num, {start.x, start.y, c.head.x, c.head.y, lines[i].first});
            EXPECT_EQ(rgba(calls[i].color), (std::vector<int>{102, 191, 255, lines[i].second}));
        }
        EXPECT_EQ(calls[3].fn, "DrawCircleV");
        expectNums(calls[3].num, {c.head.x, c.head.y, 12});
        EXPECT_EQ(rgba(calls[3].color), (std::vector<int>{102, 191, 255, 255}));
        EXPECT_EQ(calls[4].fn, "DrawCircleV");
        expectNums(calls[4].num, {c.head.x, c.head.y, 24});
        EXPECT_EQ(calls[4].color.a, 63);
        EXPECT_EQ(calls[5].fn, "DrawRectangle");
        expectNums(calls[5].num, {0, 0, 900, 700});
        EXPECT_EQ(rgba(calls[5].color), (std::vector<int>{0, 0, 0, c.dimAlpha}));
    }

    gameScene.holdTransfer = HoldTransfer{HoldState::Idle, 0.05f, start, target};
    standin::clearCalls();
    drawHoldTransfer(gameScene);
    EXPECT_TRUE(drawCalls().empty());
}

} // namespace
