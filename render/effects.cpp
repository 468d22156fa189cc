// Starting and advancing the effects the rules set off: the sparkle burst and
// flash of a cleared row, the smoke and shake of a hard drop, and the hold
// transfer whose arrival makes the pieces change place.
#include "render/effects.h"

#include "assets/asset_catalogue.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "game/rules.h"
#include "render/playfield_layout.h"

#include <algorithm>

namespace {

constexpr const char* kSparklePrefix = "vfx_sparkle";
constexpr const char* kSmokePrefix = "vfx_smoke";
constexpr int kSparklesPerRow = 42;
constexpr int kSmokePerDrop = 28;
constexpr Color kSparkleColor = {255, 203, 0, 255}; // GOLD
constexpr float kFramesPerSecond = 60.0f;
constexpr float kShakeTime = 0.18f;
constexpr int kShakeReachX = 6;
constexpr int kShakeReachY = 4;
constexpr float kParticleGravity = 280.0f;

float randomFloat(int min, int max) {
    return static_cast<float>(GetRandomValue(min, max));
}

unsigned char randomAlpha(int min, int max) {
    return static_cast<unsigned char>(GetRandomValue(min, max));
}

// A picture from the pool, or -1 when the pool is empty (the particle stays invisible).
std::int8_t randomFrame(const std::vector<Texture2D>& pool) {
    if (pool.empty()) {
        return -1;
    }
    return static_cast<std::int8_t>(GetRandomValue(0, static_cast<int>(pool.size()) - 1));
}

void loadFrameSet(const char* prefix, std::vector<Texture2D>& pool) {
    for (const AssetFile& file : assetFiles(prefix)) {
        pool.push_back(TextureStore::instance().load(file.name, file.bytes, file.length));
    }
}

// Each field is its own statement: the draws must come in this order.
Particle makeSparkle(const GameScene& game, int row) {
    const int c = game.cellSize;
    Particle p;
    p.position.x = playfieldLayout.boardOriginX + randomFloat(0, c * game.boardWidth);
    p.position.y = playfieldLayout.boardOriginY + static_cast<float>(row * c) + randomFloat(0, c);
    p.velocity.x = randomFloat(-120, 120);
    p.velocity.y = randomFloat(-220, 60);
    p.color = kSparkleColor;
    p.color.a = randomAlpha(200, 255);
    p.life = randomFloat(35, 65) / kFramesPerSecond;
    p.size = randomFloat(8, 18);
    p.frame = randomFrame(game.sparkleFrames);
    p.frameSet = kSparkleFrameSet;
    return p;
}

Particle makeSmoke(const GameScene& game) {
    const int c = game.cellSize;
    Particle p;
    p.position.x = playfieldLayout.boardOriginX + randomFloat(0, c * game.boardWidth);
    p.position.y = playfieldLayout.boardOriginY + static_cast<float>((game.pieceY + 2) * c);
    p.velocity.x = randomFloat(-180, 180);
    p.velocity.y = randomFloat(-80, 40);
    p.color = kPieceColors[pieceIndex(game.pieceType)];
    p.color.a = randomAlpha(160, 255);
    p.life = randomFloat(25, 45) / kFramesPerSecond;
    p.size = randomFloat(8, 18);
    p.frame = randomFrame(game.smokeFrames);
    p.frameSet = kSmokeFrameSet;
    return p;
}

void updateParticles(GameScene& game, float dt) {
    for (Particle& p : game.particles) {
        p.position.x += dt * p.velocity.x;
        p.position.y += dt * p.velocity.y;
        p.velocity.y += dt * kParticleGravity;
        p.life -= dt;
    }
    std::erase_if(game.particles, [](const Particle& p) { return p.life <= 0.0f; });
}

void updateShake(GameScene& game, float dt) {
    if (game.shakeTime <= 0.0f) {
        game.shakeOffset = {0.0f, 0.0f};
        return;
    }
    game.shakeTime -= dt;
    game.shakeOffset.x = randomFloat(-kShakeReachX, kShakeReachX);
    game.shakeOffset.y = randomFloat(-kShakeReachY, kShakeReachY);
    // The well is back in place in the very frame the shake runs out.
    if (game.shakeTime <= 0.0f) {
        game.shakeOffset = {0.0f, 0.0f};
    }
}

void updateRowFlashes(GameScene& game, float dt) {
    for (RowFlash& flash : game.rowFlashes) {
        flash.timeLeft -= dt;
    }
    std::erase_if(game.rowFlashes, [](const RowFlash& flash) { return flash.timeLeft <= 0.0f; });
}

void updateHoldTransfer(GameScene& game, float dt) {
    HoldTransfer& transfer = game.holdTransfer;
    if (transfer.state == HoldState::Idle) {
        return;
    }
    transfer.timer += dt;
    switch (transfer.state) {
    case HoldState::Lift:
        if (transfer.timer >= kHoldLiftTime) {
            transfer.state = HoldState::Fly;
            transfer.timer = 0.0f;
        }
        break;
    case HoldState::Fly:
        if (transfer.timer >= kHoldFlyTime) {
            exchangeHold(game);
            transfer.state = HoldState::Settle;
            transfer.timer = 0.0f;
        }
        break;
    case HoldState::Settle:
        if (transfer.timer >= kHoldSettleTime) {
            transfer.state = HoldState::Idle;
        }
        break;
    case HoldState::Idle:
        break;
    }
}

} // namespace

void loadEffectFrames(GameScene& game) {
    loadFrameSet(kSparklePrefix, game.sparkleFrames);
    loadFrameSet(kSmokePrefix, game.smokeFrames);
}

bool effectFramesHere() {
    return assetsHere(kSparklePrefix) && assetsHere(kSmokePrefix);
}

void spawnRowClearEffect(GameScene& game, int row) {
    for (int i = 0; i < kSparklesPerRow; ++i) {
        game.particles.push_back(makeSparkle(game, row));
    }
    game.rowFlashes.push_back({static_cast<std::int8_t>(row), kRowFlashTime});
}

void spawnDropSmoke(GameScene& game) {
    for (int i = 0; i < kSmokePerDrop; ++i) {
        game.particles.push_back(makeSmoke(game));
    }
    game.shakeTime = kShakeTime;
    AudioManager::instance().playSound("sfx_drop", 1.0f);
}

void startHoldTransfer(GameScene& game) {
    const float c = static_cast<float>(game.cellSize);
    float sumX = 0.0f;
    float sumY = 0.0f;
    for (const CellOffset& cell : kPieceShapes[pieceIndex(game.pieceType)][game.pieceRotation]) {
        sumX += static_cast<float>(game.pieceX + cell.x) + 0.5f;
        sumY += static_cast<float>(game.pieceY + cell.y) + 0.5f;
    }
    const float cells = static_cast<float>(kPieceCellCount);
    HoldTransfer& transfer = game.holdTransfer;
    transfer.state = HoldState::Lift;
    transfer.timer = 0.0f;
    transfer.start = {playfieldLayout.boardOriginX + c * sumX / cells,
                      playfieldLayout.boardOriginY + c * sumY / cells};
    transfer.target = {playfieldLayout.holdPanelX + 2.0f * playfieldLayout.holdCellSize,
                       playfieldLayout.holdPanelY + 2.0f * playfieldLayout.holdCellSize};
}

void updateEffects(GameScene& game) {
    const float dt = GetFrameTime();
    updateParticles(game, dt);
    updateShake(game, dt);
    updateRowFlashes(game, dt);
    updateHoldTransfer(game, dt);
}
