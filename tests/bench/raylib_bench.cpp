// Benchmarks with the real raylib in a hidden window under Xvfb: the frames from
// GAME START to the first fall of a piece, the pictures and sounds the game scene
// loads, and its enter step.
#include "app/heap_policy.h"
#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "render/effects.h"
#include "render/playfield_layout.h"
#include "support/embedded_catalogue.h"

#include <benchmark/benchmark.h>
#include <raylib.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double wallMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

constexpr int kTitleFrames = 30;

// One frame as the frame loop runs it; the CPU time of the scene switch, if any.
double runFrame(SceneManager& scenes) {
    double switchCpu = 0.0;
    if (scenes.switchPending) {
        const double start = threadCpuMs();
        scenes.exitScene();
        scenes.enterScene();
        switchCpu = threadCpuMs() - start;
    }
    scenes.updateScene();
    BeginDrawing();
    ClearBackground(BLACK);
    scenes.drawScene();
    EndDrawing();
    return switchCpu;
}

// Frames as the frame loop runs them, from the one that applies GAME START to
// the one in which the first piece first falls; then back to the title. The
// longest frame's main-thread CPU time is the iteration's time; the enter step's
// CPU time, the longest frame's wall time, the frame count and the longest title
// frame before the key are counters.
void playGameStart(benchmark::State& state) {
    static SceneManager scenes;
    if (!scenes.running) {
        scenes.enterScene(); // the title, as at start-up
    }
    // The title is on screen for a while before the key, loading ahead what the
    // game's first frame needs; its longest frame is a counter.
    double longestTitleCpu = 0.0;
    for (int i = 0; i < kTitleFrames; ++i) {
        const double cpu = threadCpuMs();
        runFrame(scenes);
        longestTitleCpu = std::max(longestTitleCpu, threadCpuMs() - cpu);
    }
    scenes.requestSwitch(SceneId::Game);
    double longestCpu = 0.0;
    double longestWall = 0.0;
    double enterCpu = 0.0;
    int frames = 0;
    while (scenes.current != SceneId::Game || gameScene.phase != GamePhase::Playing ||
           gameScene.pieceY == 0) {
        const double cpu = threadCpuMs();
        const double wall = wallMs();
        enterCpu = std::max(enterCpu, runFrame(scenes));
        longestCpu = std::max(longestCpu, threadCpuMs() - cpu);
        longestWall = std::max(longestWall, wallMs() - wall);
        ++frames;
    }
    scenes.requestSwitch(SceneId::Title);
    runFrame(scenes);
    state.SetIterationTime(longestCpu / 1e3);
    state.counters["switch_cpu_ms"] = enterCpu;
    state.counters["longest_wall_ms"] = longestWall;
    state.counters["frames"] = frames;
    state.counters["title_cpu_ms"] = longestTitleCpu;
}

// The first GAME START of a process, which also pays for every page of memory
// the pictures and sounds take for the first time. Registered first so that it
// runs before anything else has touched that memory.
void GameStartFirstGame(benchmark::State& state) {
    for (auto _ : state) {
        playGameStart(state);
    }
}
BENCHMARK(GameStartFirstGame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void GameStartRepeated(benchmark::State& state) {
    for (auto _ : state) {
        playGameStart(state);
    }
}
BENCHMARK(GameStartRepeated)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void GameSceneTextures(benchmark::State& state) {
    TextureStore& store = TextureStore::instance();
    const std::vector<EmbeddedPicture> pictures = gameScenePictures();
    for (auto _ : state) {
        for (const EmbeddedPicture& p : pictures) {
            benchmark::DoNotOptimize(store.load(p.name, p.bytes, static_cast<int>(p.length)));
        }
        state.PauseTiming();
        store.unloadAll();
        state.ResumeTiming();
    }
    state.counters["textures"] = static_cast<double>(pictures.size());
}
BENCHMARK(GameSceneTextures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The other large part of the enter step: every sound is decoded whole.
void GameSceneSounds(benchmark::State& state) {
    AudioManager& audio = AudioManager::instance();
    const std::vector<EmbeddedTrack> sounds = gameSceneSounds();
    for (auto _ : state) {
        for (const EmbeddedTrack& t : sounds) {
            audio.loadSound(t.name, t.bytes, static_cast<int>(t.length));
        }
        state.PauseTiming();
        for (const auto& [name, sound] : audio.sounds) {
            UnloadSound(sound);
        }
        audio.sounds.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(GameSceneSounds)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// What a player waits for between GAME START and the first game frame.
void GameSceneEnter(benchmark::State& state) {
    SceneManager scenes;
    for (auto _ : state) {
        gameScene.enter(scenes);
        state.PauseTiming();
        gameScene.exit();
        state.ResumeTiming();
    }
}
BENCHMARK(GameSceneEnter)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The heaviest frame of play, drawn for real: right after a hard drop that cleared
// four rows (28 smoke puffs and 168 sparkles, four flashes, the shake) while the
// hold comet flies. Each iteration is one whole frame: update, draw, buffer swap.
void HeaviestFrame(benchmark::State& state) {
    SceneManager scenes;
    gameScene.enter(scenes);
    loadRemaining(gameScene);
    gameScene.phase = GamePhase::Playing;
    for (int row = 16; row < 20; ++row) {
        for (int column = 0; column < 10; ++column) {
            board[row][column] = column == 9 ? 0 : 1 + column % 7;
        }
    }
    gameScene.holdType = PieceType::T;
    gameScene.pieceType = PieceType::I;
    gameScene.pieceRotation = 1;
    gameScene.pieceX = 7;
    gameScene.pieceY = 16;
    startHoldTransfer(gameScene);
    gameScene.holdTransfer.state = HoldState::Fly;
    spawnDropSmoke(gameScene);
    lockPiece(gameScene);
    const GameScene heavy = gameScene;
    const auto heavyBoard = board;
    for (auto _ : state) {
        state.PauseTiming();
        gameScene = heavy;
        board = heavyBoard;
        state.ResumeTiming();
        gameScene.update();
        BeginDrawing();
        ClearBackground(BLACK);
        gameScene.draw();
        EndDrawing();
    }
    state.counters["particles"] = static_cast<double>(heavy.particles.size());
    state.counters["flashes"] = static_cast<double>(heavy.rowFlashes.size());
    gameScene.exit();
}
BENCHMARK(HeaviestFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory(); // as the game does
    SetTraceLogLevel(LOG_WARNING);
    SetConfigFlags(FLAG_WINDOW_HIDDEN);
    InitWindow(900, 700, "kolvex benchmarks");
    AudioManager::instance().init();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    AudioManager::instance().shutdown();
    CloseWindow();
    return 0;
}
