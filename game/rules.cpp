// What happens during play: sideways moves, the hard drop, turning, the hold action,
// gravity with the soft drop, the hold exchange, scoring with levels and speed,
// and the music's pitch that rises with the stack.
#include "game/rules.h"

#include "app/controls.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/easing.h"
#include "render/effects.h"

#include <algorithm>

namespace {

constexpr int kHardDropPointsPerRow = 2;
constexpr std::uint32_t kClearPointsUnit = 100;
constexpr float kSoftDropInterval = 0.05f;
constexpr float kIntervalStepPerLevel = 0.07f;
constexpr float kFastestInterval = 0.15f;
constexpr int kCalmStackHeight = 9;
constexpr float kPitchRiseRows = 11.0f;
constexpr float kCalmPitch = 1.0f;
constexpr float kTopPitch = 1.2f;
constexpr float kPitchFollowRate = 3.5f;

bool fitsShifted(const GameScene& game, int dx, int dy) {
    return pieceFits(game.pieceType, game.pieceRotation, game.pieceX + dx, game.pieceY + dy);
}

void hardDrop(GameScene& game) {
    const std::int8_t startRow = game.pieceY;
    while (fitsShifted(game, 0, 1)) {
        game.pieceY = static_cast<std::int8_t>(game.pieceY + 1);
        game.score += kHardDropPointsPerRow;
    }
    if (game.pieceY > startRow) {
        spawnDropSmoke(game);
    }
    lockPiece(game);
    game.fallTimer = 0.0f;
}

void pressHold(GameScene& game) {
    if (game.holdTransfer.state == HoldState::Idle) {
        startHoldTransfer(game);
    }
    AudioManager::instance().playSound("sfx_hold_block", 1.0f);
}

// Rows from the floor up to the topmost settled cell; 0 for an empty well.
int stackHeight() {
    const int rows = static_cast<int>(board.size());
    for (int y = 0; y < rows; ++y) {
        for (const std::int32_t cell : board[y]) {
            if (cell != 0) {
                return rows - y;
            }
        }
    }
    return 0;
}

} // namespace

void handleInput(GameScene& game) {
    if (fired(Action::MoveLeft) && fitsShifted(game, -1, 0)) {
        game.pieceX = static_cast<std::int8_t>(game.pieceX - 1);
    }
    if (fired(Action::MoveRight) && fitsShifted(game, 1, 0)) {
        game.pieceX = static_cast<std::int8_t>(game.pieceX + 1);
    }
    if (fired(Action::HardDrop)) {
        hardDrop(game);
        return;
    }
    if (fired(Action::Turn)) {
        rotatePiece(game);
    }
    if (fired(Action::Hold) && game.canHold) {
        pressHold(game);
    }
}

void applyGravity(GameScene& game) {
    // A piece that did not fit overlaps the stack; locking it would overwrite
    // settled cells, and the game ends at the next update anyway.
    if (game.toppedOut) {
        return;
    }
    game.fallTimer += GetFrameTime();
    const float interval = fired(Action::SoftDrop) ? kSoftDropInterval : game.fallInterval;
    if (game.fallTimer < interval) {
        return;
    }
    if (fitsShifted(game, 0, 1)) {
        game.pieceY = static_cast<std::int8_t>(game.pieceY + 1);
    } else {
        lockPiece(game);
    }
    game.fallTimer = 0.0f;
}

float musicPitchTarget(int rows) {
    const float s = smoothstep(static_cast<float>(rows - kCalmStackHeight) / kPitchRiseRows);
    return kCalmPitch + (kTopPitch - kCalmPitch) * s;
}

void updateMusicPitch(GameScene& game) {
    const float target = musicPitchTarget(stackHeight());
    // Capped at one full step: a long frame would otherwise overshoot the target
    // and, beyond about 0.57 s, swing further away with every frame.
    const float follow = std::min(GetFrameTime() * kPitchFollowRate, 1.0f);
    game.musicPitch += (target - game.musicPitch) * follow;
    AudioManager::instance().setMusicPitch(game.musicPitch);
}

void scoreClear(GameScene& game, int rows) {
    const std::uint16_t previousLevel = game.level;
    game.lines = static_cast<std::uint16_t>(game.lines + rows);
    game.score += kClearPointsUnit * static_cast<std::uint32_t>(rows * rows);
    game.level = static_cast<std::uint16_t>(game.lines / linesPerLevel + 1);
    if (game.level > previousLevel) {
        const int count = static_cast<int>(game.backgroundNames.size());
        game.backgroundIndex = static_cast<std::int8_t>((game.level - 1) % count);
        AudioManager::instance().playSound("sfx_level_up", 1.0f);
        TextureStore::instance().setBackground(game.backgroundNames[game.backgroundIndex]);
    }
    game.fallInterval =
        std::max(kFirstLevelInterval - static_cast<float>(game.level - 1) * kIntervalStepPerLevel,
                 kFastestInterval);
}

void exchangeHold(GameScene& game) {
    const PieceType held = game.holdType;
    game.holdType = game.pieceType;
    if (held == PieceType::None) {
        spawnPiece(game);
    } else {
        enterPiece(game, held);
    }
    game.canHold = false;
}
