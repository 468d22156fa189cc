// The cost of one game-scene frame at its heaviest moment, a four-row clear right
// after a hard drop while the hold comet flies: 196 particles, four row flashes and
// the shake. The update and the draw are measured apart and together, on the raylib
// stand-in, whose recording of every call is part of the figures.
#include "stand_in/stand_in.h"

#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/effects.h"
#include "render/playfield_layout.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

constexpr int kFullRows = 4;
constexpr int kGapColumn = 9;
constexpr int kIBoxColumn = 7; // a vertical I sits in column 2 of its box
// The stand-in keeps every random value it hands out; starting afresh now and
// then keeps that record, and the memory it takes, small.
constexpr int kIterationsPerWorld = 16;

struct Frame {
    GameScene scene;
    std::vector<std::vector<std::int32_t>> well;
    PieceType next = PieceType::None;
    PlayfieldLayout layout;
};

SceneManager manager;
Frame beforeDrop;
Frame afterDrop;
int randomPerUpdate = 0;

Frame capture() {
    return Frame{gameScene, board, nextPieceType, playfieldLayout};
}

void restore(const Frame& frame) {
    gameScene = frame.scene;
    board = frame.well;
    nextPieceType = frame.next;
    playfieldLayout = frame.layout;
}

// A fresh world in play: four bottom rows full but for one column, a vertical I
// above the gap with Up pressed, and the hold comet half way through its flight.
void prepareWorld() {
    standin::reset();
    TextureStore::instance() = TextureStore{};
    AudioManager::instance() = AudioManager{};
    gameScene = GameScene{};
    gameScene.enter(manager);
    loadRemaining(gameScene);
    gameScene.phase = GamePhase::Playing;
    for (int row = 20 - kFullRows; row < 20; ++row) {
        for (int column = 0; column < 10; ++column) {
            board[row][column] = column == kGapColumn ? 0 : 1 + column % kPieceTypeCount;
        }
    }
    gameScene.pieceType = PieceType::I;
    gameScene.pieceRotation = 1;
    gameScene.pieceX = kIBoxColumn;
    gameScene.pieceY = 0;
    gameScene.holdType = PieceType::T;
    startHoldTransfer(gameScene);
    gameScene.holdTransfer.state = HoldState::Fly;
    gameScene.holdTransfer.timer = 0.05f;
    standin::pressNow(KEY_UP);
    beforeDrop = capture();

    const std::size_t randomBefore = standin::randomRequests().size();
    gameScene.update();
    randomPerUpdate = static_cast<int>(standin::randomRequests().size() - randomBefore);
    afterDrop = capture();
    standin::clearCalls();
}

template <typename Step> void runTimed(benchmark::State& state, const Frame& from, Step step) {
    prepareWorld();
    int sinceWorld = 0;
    for (auto _ : state) {
        if (++sinceWorld == kIterationsPerWorld) {
            prepareWorld();
            sinceWorld = 0;
        }
        restore(from);
        standin::clearCalls();
        const auto begin = std::chrono::steady_clock::now();
        step();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["particles"] = static_cast<double>(gameScene.particles.size());
    state.counters["flashes"] = static_cast<double>(gameScene.rowFlashes.size());
    state.counters["recorded_calls"] = static_cast<double>(standin::calls().size());
}

void BM_HeaviestUpdate(benchmark::State& state) {
    runTimed(state, beforeDrop, [] { gameScene.update(); });
}

void BM_HeaviestDraw(benchmark::State& state) {
    runTimed(state, afterDrop, [] { gameScene.draw(); });
}

void BM_HeaviestUpdateAndDraw(benchmark::State& state) {
    runTimed(state, beforeDrop, [] {
        gameScene.update();
        gameScene.draw();
    });
}

// What the stand-in alone spends recording as many calls as one heavy draw makes,
// to tell its share from the game's own.
void BM_StandInRecordingOnly(benchmark::State& state) {
    prepareWorld();
    restore(afterDrop);
    gameScene.draw();
    const int count = static_cast<int>(standin::calls().size());
    for (auto _ : state) {
        standin::clearCalls();
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            DrawRectangleLines(i, i, 29, 29, GRAY);
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["recorded_calls"] = count;
}

// Likewise for the random values the heavy update asks for.
void BM_StandInRandomOnly(benchmark::State& state) {
    prepareWorld();
    int sinceWorld = 0;
    for (auto _ : state) {
        if (++sinceWorld == kIterationsPerWorld) {
            prepareWorld();
            sinceWorld = 0;
        }
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < randomPerUpdate; ++i) {
            benchmark::DoNotOptimize(GetRandomValue(-120, 120));
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    }
    state.counters["random_values"] = randomPerUpdate;
}

BENCHMARK(BM_HeaviestUpdate)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeaviestDraw)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeaviestUpdateAndDraw)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StandInRecordingOnly)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StandInRandomOnly)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
