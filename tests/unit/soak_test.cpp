// Whole games from the countdown to the top-out, played by a scripted player
// over many seeds, checking the well and the counters against what was seen
// to happen: the rows that went (by their sounds), the drops (by the test's
// own landing search) and the cells that came and went.
#include "test_support.h"

#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr int kGames = 45;
constexpr int kFrameCap = 100000;
constexpr float kFrameTimes[] = {1.0f / 120.0f, 1.0f / 60.0f, 1.0f / 30.0f};

using Well = std::array<std::array<std::int32_t, 10>, 20>;

Well snapshot() {
    Well well{};
    for (int y = 0; y < 20; ++y) {
        std::copy(board[y].begin(), board[y].end(), well[y].begin());
    }
    return well;
}

// The test's own collision rule, kept apart from the game's.
bool freeAt(const Well& well, PieceType type, int rotation, int x, int y) {
    for (const CellOffset& c : kPieceShapes[static_cast<int>(type)][rotation]) {
        const int cx = x + c.x;
        const int cy = y + c.y;
        if (cx < 0 || cx > 9 || cy > 19 || (cy >= 0 && well[cy][cx] != 0)) {
            return false;
        }
    }
    return true;
}

int landingRow(const Well& well, PieceType type, int rotation, int x, int y) {
    while (freeAt(well, type, rotation, x, y + 1)) {
        ++y;
    }
    return y;
}

int filledCells(const Well& well) {
    int n = 0;
    for (const auto& row : well) {
        for (const std::int32_t cell : row) {
            n += cell != 0 ? 1 : 0;
        }
    }
    return n;
}

// How good a well looks after a placement: rows cleared are good; height,
// covered holes and uneven columns are bad.
double rateWell(const Well& well) {
    int cleared = 0;
    for (const auto& row : well) {
        bool full = true;
        for (const std::int32_t cell : row) {
            full = full && cell != 0;
        }
        cleared += full ? 1 : 0;
    }
    int heights = 0;
    int holes = 0;
    int bumps = 0;
    int previous = -1;
    for (int x = 0; x < 10; ++x) {
        int top = 20;
        for (int y = 0; y < 20; ++y) {
            if (well[y][x] != 0 && top == 20) {
                top = y;
            }
            holes += (well[y][x] == 0 && top < y) ? 1 : 0;
        }
        const int height = 20 - top;
        heights += height;
        bumps += previous < 0 ? 0 : std::abs(height - previous);
        previous = height;
    }
    return 0.76 * cleared - 0.51 * heights - 0.36 * holes - 0.18 * bumps;
}

// A player that places its first pieces well and then less and less so, so that
// every game both clears rows and ends; now and then it presses anything at all.
struct Player {
    std::mt19937 rng;
    int skilledPieces;
    int pieces = 0;
    int targetX = 3;
    int targetRotation = 0;
    int lastRow = 0;
    int softDropEnd = -1;
    PieceType lastType = PieceType::None;

    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    double skill() const { return pieces < skilledPieces ? 0.95 : 0.4; }

    void plan(const Well& well, PieceType type) {
        ++pieces;
        targetRotation = pick(0, 3);
        targetX = pick(-2, 9);
        if (!chance(skill())) {
            return;
        }
        double best = -1e9;
        for (int r = 0; r < 4; ++r) {
            for (int x = -2; x <= 9; ++x) {
                if (!freeAt(well, type, r, x, 0)) {
                    continue;
                }
                Well placed = well;
                const int y = landingRow(well, type, r, x, 0);
                for (const CellOffset& c : kPieceShapes[static_cast<int>(type)][r]) {
                    if (y + c.y >= 0) {
                        placed[y + c.y][x + c.x] = 1;
                    }
                }
                const double rating = rateWell(placed);
                if (rating > best) {
                    best = rating;
                    targetX = x;
                    targetRotation = r;
                }
            }
        }
    }

    // Presses this frame's keys; returns whether a lone hard drop was pressed.
    bool play(const GameScene& game, const Well& well) {
        const int f = standin::frame();
        if (game.phase == GamePhase::Paused) {
            const bool toggle = chance(0.1);
            if (toggle) {
                standin::press(chance(0.5) ? KEY_RIGHT : KEY_A, f);
            }
            const int selection = toggle ? 1 - game.pauseSelection : game.pauseSelection;
            if (selection == 0 && chance(0.3)) {
                standin::press(KEY_ENTER, f);
            }
            return false;
        }
        if (game.phase == GamePhase::Countdown) {
            if (chance(0.2)) {
                standin::press(pick(0, 1) == 0 ? KEY_UP : KEY_LEFT, f);
            }
            return false;
        }
        if (game.pieceType != lastType || game.pieceY < lastRow) {
            plan(well, game.pieceType);
        }
        lastType = game.pieceType;
        lastRow = game.pieceY;
        if (chance(0.003)) {
            standin::press(KEY_ESCAPE, f);
            return false;
        }
        // Soft drops come in spans: the stand-in looks through every span each frame.
        if (f > softDropEnd && chance(0.03)) {
            softDropEnd = f + pick(3, 30);
            standin::hold(chance(0.5) ? KEY_DOWN : KEY_S, f, softDropEnd);
        }
        if (!chance(skill())) {
            const int keys[] = {KEY_LEFT, KEY_A, KEY_RIGHT, KEY_D, KEY_SPACE, KEY_LEFT_CONTROL};
            const int key = keys[pick(0, 5)];
            chance(0.5) ? standin::press(key, f) : standin::repeat(key, f);
            return false;
        }
        if (game.pieceRotation != targetRotation) {
            standin::press(KEY_SPACE, f);
        } else if (game.pieceX < targetX) {
            standin::press(KEY_RIGHT, f);
        } else if (game.pieceX > targetX) {
            standin::press(KEY_LEFT, f);
        } else if (chance(0.02)) {
            standin::press(KEY_RIGHT_CONTROL, f);
        } else if (chance(0.5)) {
            standin::press(chance(0.5) ? KEY_UP : KEY_W, f);
            return true;
        }
        return false;
    }
};

struct Totals {
    long pieces = 0;
    long lines = 0;
    long levelUps = 0;
};

int soundsNamed(unsigned int id) {
    int n = 0;
    for (const standin::Call& call : standin::calls()) {
        n += call.fn == "PlaySound" && call.handle == id ? 1 : 0;
    }
    return n;
}

void playOneGame(unsigned seed, Totals& totals) {
    resetWorld();
    SceneManager manager;
    gameScene.enter(manager);
    loadRemaining(gameScene);
    const auto& sounds = AudioManager::instance().sounds;
    const unsigned lineClear = standin::soundId(sounds.at("sfx_line_clear"));
    const unsigned levelUp = standin::soundId(sounds.at("sfx_level_up"));
    Player player{std::mt19937(seed), 20 + static_cast<int>(seed % 7) * 15};

    std::uint32_t expectedScore = 0;
    int expectedLines = 0;
    int frames = 0;
    for (; frames < kFrameCap && !manager.switchPending; ++frames) {
        standin::clearCalls();
        standin::setFrameTime(kFrameTimes[player.pick(0, 2)]);
        const Well before = snapshot();
        const bool playing = gameScene.phase == GamePhase::Playing && !gameScene.toppedOut;
        const bool drop = player.play(gameScene, before);
        if (drop && playing) {
            const int land = landingRow(before, gameScene.pieceType, gameScene.pieceRotation,
                                        gameScene.pieceX, gameScene.pieceY);
            expectedScore += 2u * static_cast<std::uint32_t>(land - gameScene.pieceY);
        }
        const std::uint16_t levelBefore = gameScene.level;

        gameScene.update();

        const int cleared = soundsNamed(lineClear);
        expectedLines += cleared;
        expectedScore += 100u * static_cast<std::uint32_t>(cleared * cleared);
        ASSERT_EQ(board.size(), 20u);
        bool cellsValid = true;
        for (const auto& row : board) {
            cellsValid = cellsValid && row.size() == 10u;
            for (const std::int32_t cell : row) {
                cellsValid = cellsValid && cell >= 0 && cell <= 7;
            }
        }
        ASSERT_TRUE(cellsValid) << "a cell outside 0 to 7, seed " << seed;
        // At most one lock a frame, and a lock adds exactly four cells: any
        // settled cell overwritten would show here.
        const int added = filledCells(snapshot()) - filledCells(before) + 10 * cleared;
        ASSERT_TRUE(added == 0 || added == 4) << "cells added " << added << ", seed " << seed;
        totals.pieces += added / 4;
        ASSERT_EQ(gameScene.lines, expectedLines) << "seed " << seed;
        ASSERT_EQ(gameScene.score, expectedScore) << "seed " << seed;
        ASSERT_EQ(gameScene.level, gameScene.lines / 10 + 1);
        ASSERT_EQ(soundsNamed(levelUp), gameScene.level > levelBefore ? 1 : 0);
        totals.levelUps += gameScene.level > levelBefore ? 1 : 0;
        standin::nextFrame();
    }
    ASSERT_TRUE(manager.switchPending) << "seed " << seed << " never topped out";
    ASSERT_EQ(manager.next, SceneId::GameOver);
    ASSERT_TRUE(gameScene.toppedOut);
    totals.lines += expectedLines;
}

using SoakTest = KolvexTest;

TEST_F(SoakTest, ScriptedGamesKeepTheWellAndTheCountersConsistent) {
    Totals totals;
    for (unsigned seed = 1; seed <= kGames; ++seed) {
        playOneGame(seed, totals);
        if (HasFatalFailure()) {
            return;
        }
    }
    RecordProperty("pieces", static_cast<int>(totals.pieces));
    RecordProperty("lines", static_cast<int>(totals.lines));
    std::printf("soak: %d games, %ld pieces, %ld lines, %ld level-ups\n", kGames, totals.pieces,
                totals.lines, totals.levelUps);
    EXPECT_GE(totals.pieces, 2000);
    EXPECT_GT(totals.lines, 0);
    EXPECT_GT(totals.levelUps, 0);
}

} // namespace
