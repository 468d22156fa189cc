// The effects' logic: what each spawner appends and in which order it draws its
// random values, the particles' motion and removal, the shake and the hold
// transfer's three timed states.
#include "test_support.h"

#include "app/scene_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/effects.h"
#include "render/playfield_layout.h"

#include <algorithm>
#include <utility>

namespace {

using Range = std::pair<int, int>;

std::vector<Range> rangesFrom(std::size_t first) {
    std::vector<Range> out;
    const auto& requests = standin::randomRequests();
    for (std::size_t i = first; i < requests.size(); ++i) {
        out.emplace_back(requests[i].min, requests[i].max);
    }
    return out;
}

std::vector<Range> repeated(const std::vector<Range>& pattern, int times) {
    std::vector<Range> out;
    for (int i = 0; i < times; ++i) {
        out.insert(out.end(), pattern.begin(), pattern.end());
    }
    return out;
}

class EffectsTest : public KolvexTest {
protected:
    SceneManager manager;

    void SetUp() override {
        KolvexTest::SetUp();
        gameScene.enter(manager); // 900 x 700: cells of 29, the well at (40, 60)
        loadRemaining(gameScene);
        standin::clearCalls();
    }

    std::size_t drawsSoFar() { return standin::randomRequests().size(); }
};

TEST_F(EffectsTest, ARowClearAppends42SparklesFromEightDrawsEachAndAFlash) {
    const std::size_t before = drawsSoFar();
    standin::queueRandom({100, 7, -50, 30, 210, 60, 12, 9});
    spawnRowClearEffect(gameScene, 5);

    EXPECT_EQ(
        rangesFrom(before),
        repeated(
            {{0, 290}, {0, 29}, {-120, 120}, {-220, 60}, {200, 255}, {35, 65}, {8, 18}, {0, 15}},
            42));
    ASSERT_EQ(gameScene.particles.size(), 42u);
    const Particle& p = gameScene.particles[0];
    EXPECT_FLOAT_EQ(p.position.x, 140.0f);
    EXPECT_FLOAT_EQ(p.position.y, 60.0f + 5 * 29 + 7);
    EXPECT_FLOAT_EQ(p.velocity.x, -50.0f);
    EXPECT_FLOAT_EQ(p.velocity.y, 30.0f);
    EXPECT_EQ((std::vector<int>{p.color.r, p.color.g, p.color.b, p.color.a}),
              (std::vector<int>{255, 203, 0, 210}));
    EXPECT_FLOAT_EQ(p.life, 1.0f);
    EXPECT_FLOAT_EQ(p.size, 12.0f);
    EXPECT_EQ(p.frame, 9);
    EXPECT_EQ(p.frameSet, kSparkleFrameSet);
    ASSERT_EQ(gameScene.rowFlashes.size(), 1u);
    EXPECT_EQ(gameScene.rowFlashes[0].row, 5);
    EXPECT_FLOAT_EQ(gameScene.rowFlashes[0].timeLeft, kRowFlashTime);

    // With an empty pool the frame is not drawn for and the sparkle stays invisible.
    gameScene.sparkleFrames.clear();
    gameScene.particles.clear();
    const std::size_t again = drawsSoFar();
    spawnRowClearEffect(gameScene, 0);
    EXPECT_EQ(drawsSoFar() - again, 42u * 7u);
    EXPECT_TRUE(std::all_of(gameScene.particles.begin(), gameScene.particles.end(),
                            [](const Particle& s) { return s.frame == -1; }));
}

TEST_F(EffectsTest, DropSmokeAppends28PuffsInThePieceColourAndStartsTheShake) {
    gameScene.pieceType = PieceType::Z;
    gameScene.pieceY = 17;
    const std::size_t before = drawsSoFar();
    standin::queueRandom({0, 180, -80, 160, 45, 18, 15});
    spawnDropSmoke(gameScene);

    EXPECT_EQ(
        rangesFrom(before),
        repeated({{0, 290}, {-180, 180}, {-80, 40}, {160, 255}, {25, 45}, {8, 18}, {0, 15}}, 28));
    ASSERT_EQ(gameScene.particles.size(), 28u);
    for (const Particle& p : gameScene.particles) {
        EXPECT_FLOAT_EQ(p.position.y, 60.0f + 19 * 29) << "below the landing row";
        EXPECT_EQ((std::vector<int>{p.color.r, p.color.g, p.color.b}),
                  (std::vector<int>{230, 41, 55}));
        EXPECT_EQ(p.frameSet, kSmokeFrameSet);
    }
    const Particle& p = gameScene.particles[0];
    EXPECT_FLOAT_EQ(p.position.x, 40.0f);
    EXPECT_FLOAT_EQ(p.velocity.x, 180.0f);
    EXPECT_EQ(p.color.a, 160);
    EXPECT_FLOAT_EQ(p.life, 0.75f);
    EXPECT_EQ(p.frame, 15);
    EXPECT_FLOAT_EQ(gameScene.shakeTime, 0.18f);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_drop"}));
}

TEST_F(EffectsTest, ParticlesMoveFallAndExpireInOrder) {
    const float lives[] = {0.5f, 0.01f, 0.3f, 0.005f, 0.2f};
    for (const float life : lives) {
        Particle p;
        p.position = {100.0f, 200.0f};
        p.velocity = {50.0f, -100.0f};
        p.life = life;
        p.size = life; // tells them apart
        gameScene.particles.push_back(p);
    }
    gameScene.rowFlashes = {{19, 0.18f}, {3, 0.01f}, {11, 0.1f}};
    standin::setFrameTime(0.02f);
    updateEffects(gameScene);

    ASSERT_EQ(gameScene.particles.size(), 3u);
    EXPECT_FLOAT_EQ(gameScene.particles[0].size, 0.5f);
    EXPECT_FLOAT_EQ(gameScene.particles[1].size, 0.3f);
    EXPECT_FLOAT_EQ(gameScene.particles[2].size, 0.2f);
    const Particle& p = gameScene.particles[0];
    EXPECT_FLOAT_EQ(p.position.x, 101.0f);
    EXPECT_FLOAT_EQ(p.position.y, 198.0f) << "moved with the velocity before gravity";
    EXPECT_FLOAT_EQ(p.velocity.y, -100.0f + 0.02f * 280.0f);
    EXPECT_FLOAT_EQ(p.life, 0.48f);

    ASSERT_EQ(gameScene.rowFlashes.size(), 2u);
    EXPECT_EQ(gameScene.rowFlashes[0].row, 19);
    EXPECT_EQ(gameScene.rowFlashes[1].row, 11);
    EXPECT_FLOAT_EQ(gameScene.rowFlashes[0].timeLeft, 0.16f);
}

TEST_F(EffectsTest, ShakeTakesNewValuesEachFrameAndSnapsBackWhenItEnds) {
    gameScene.shakeTime = 0.05f;
    standin::setFrameTime(0.02f);
    const std::size_t before = drawsSoFar();
    standin::queueRandom({5, -3, -6, 4, 2, 2});
    updateEffects(gameScene);
    EXPECT_FLOAT_EQ(gameScene.shakeOffset.x, 5.0f);
    EXPECT_FLOAT_EQ(gameScene.shakeOffset.y, -3.0f);
    updateEffects(gameScene);
    EXPECT_FLOAT_EQ(gameScene.shakeOffset.x, -6.0f);
    EXPECT_FLOAT_EQ(gameScene.shakeOffset.y, 4.0f);
    updateEffects(gameScene); // the shake runs out in this frame
    EXPECT_LE(gameScene.shakeTime, 0.0f);
    EXPECT_FLOAT_EQ(gameScene.shakeOffset.x, 0.0f);
    EXPECT_FLOAT_EQ(gameScene.shakeOffset.y, 0.0f);
    updateEffects(gameScene);
    EXPECT_EQ(rangesFrom(before), repeated({{-6, 6}, {-4, 4}}, 3)) << "no draws once still";
}

TEST_F(EffectsTest, HoldTransferLiftsFliesExchangesAndSettles) {
    gameScene.pieceType = PieceType::T;
    gameScene.pieceX = 3;
    gameScene.pieceY = 0;
    nextPieceType = PieceType::J;
    startHoldTransfer(gameScene);
    const HoldTransfer& t = gameScene.holdTransfer;
    EXPECT_EQ(t.state, HoldState::Lift);
    // The centre of the T's cells: columns 4.5 on average, rows 1.25.
    EXPECT_FLOAT_EQ(t.start.x, 40.0f + 29.0f * 4.5f);
    EXPECT_FLOAT_EQ(t.start.y, 60.0f + 29.0f * 1.25f);
    EXPECT_FLOAT_EQ(t.target.x, 410.0f + 2.0f * 21.75f);
    EXPECT_FLOAT_EQ(t.target.y, 280.0f + 2.0f * 21.75f);

    struct Step {
        float dt;
        HoldState state;
        PieceType held;
    };
    const Step script[] = {
        {0.07f, HoldState::Lift, PieceType::None}, {0.02f, HoldState::Fly, PieceType::None},
        {0.14f, HoldState::Fly, PieceType::None},  {0.02f, HoldState::Settle, PieceType::T},
        {0.07f, HoldState::Settle, PieceType::T},  {0.02f, HoldState::Idle, PieceType::T},
        {0.5f, HoldState::Idle, PieceType::T},
    };
    for (const Step& s : script) {
        standin::setFrameTime(s.dt);
        updateEffects(gameScene);
        EXPECT_EQ(t.state, s.state);
        EXPECT_EQ(gameScene.holdType, s.held);
        if (s.state != HoldState::Idle && s.state != script[0].state) {
            EXPECT_LE(t.timer, s.dt) << "each state starts its timer from 0";
        }
    }
    EXPECT_EQ(gameScene.pieceType, PieceType::J) << "exchanged exactly once";
}

TEST_F(EffectsTest, FramePoolsHoldSixteenPicturesEachEvenWhenTheyFail) {
    gameScene.sparkleFrames.clear();
    gameScene.smokeFrames.clear();
    TextureStore::instance().unloadAll();
    standin::failImageDecodes(true);
    loadEffectFrames(gameScene);
    ASSERT_EQ(gameScene.sparkleFrames.size(), 16u);
    ASSERT_EQ(gameScene.smokeFrames.size(), 16u);
    EXPECT_EQ(gameScene.sparkleFrames[3].id, 0u);
    EXPECT_EQ(standin::logLines().back().text, "テキスチャーの読み込みに失敗： vfx_smoke16");
}

} // namespace
