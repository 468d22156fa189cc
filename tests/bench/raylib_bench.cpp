// Benchmarks with the real raylib in a hidden window under Xvfb: the pictures the
// game scene decodes when GAME START is pressed, and the whole enter step.
#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "render/effects.h"
#include "render/playfield_layout.h"

#include <benchmark/benchmark.h>
#include <raylib.h>

#include <vector>

namespace {

struct Picture {
    const char* name;
    const unsigned char* bytes;
    unsigned int length;
};

#define KOLVEX_PICTURE(n)                                                                          \
    Picture {                                                                                      \
#n, n##_png, n##_png_len                                                                   \
    }

const std::vector<Picture> kGamePictures = {
    KOLVEX_PICTURE(tx_block),      KOLVEX_PICTURE(bg_beach),      KOLVEX_PICTURE(bg_city),
    KOLVEX_PICTURE(bg_mount),      KOLVEX_PICTURE(bg_road),       KOLVEX_PICTURE(bg_sunset),
    KOLVEX_PICTURE(bg_waterfall),  KOLVEX_PICTURE(vfx_sparkle1),  KOLVEX_PICTURE(vfx_sparkle2),
    KOLVEX_PICTURE(vfx_sparkle3),  KOLVEX_PICTURE(vfx_sparkle4),  KOLVEX_PICTURE(vfx_sparkle5),
    KOLVEX_PICTURE(vfx_sparkle6),  KOLVEX_PICTURE(vfx_sparkle7),  KOLVEX_PICTURE(vfx_sparkle8),
    KOLVEX_PICTURE(vfx_sparkle9),  KOLVEX_PICTURE(vfx_sparkle10), KOLVEX_PICTURE(vfx_sparkle11),
    KOLVEX_PICTURE(vfx_sparkle12), KOLVEX_PICTURE(vfx_sparkle13), KOLVEX_PICTURE(vfx_sparkle14),
    KOLVEX_PICTURE(vfx_sparkle15), KOLVEX_PICTURE(vfx_sparkle16), KOLVEX_PICTURE(vfx_smoke1),
    KOLVEX_PICTURE(vfx_smoke2),    KOLVEX_PICTURE(vfx_smoke3),    KOLVEX_PICTURE(vfx_smoke4),
    KOLVEX_PICTURE(vfx_smoke5),    KOLVEX_PICTURE(vfx_smoke6),    KOLVEX_PICTURE(vfx_smoke7),
    KOLVEX_PICTURE(vfx_smoke8),    KOLVEX_PICTURE(vfx_smoke9),    KOLVEX_PICTURE(vfx_smoke10),
    KOLVEX_PICTURE(vfx_smoke11),   KOLVEX_PICTURE(vfx_smoke12),   KOLVEX_PICTURE(vfx_smoke13),
    KOLVEX_PICTURE(vfx_smoke14),   KOLVEX_PICTURE(vfx_smoke15),   KOLVEX_PICTURE(vfx_smoke16),
};

void GameSceneTextures(benchmark::State& state) {
    TextureStore& store = TextureStore::instance();
    for (auto _ : state) {
        for (const Picture& p : kGamePictures) {
            benchmark::DoNotOptimize(store.load(p.name, p.bytes, static_cast<int>(p.length)));
        }
        state.PauseTiming();
        store.unloadAll();
        state.ResumeTiming();
    }
    state.counters["textures"] = static_cast<double>(kGamePictures.size());
}
BENCHMARK(GameSceneTextures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

struct Track {
    const char* name;
    const unsigned char* bytes;
    unsigned int length;
};

#define KOLVEX_TRACK(n)                                                                            \
    Track {                                                                                        \
#n, n##_ogg, n##_ogg_len                                                                   \
    }

const std::vector<Track> kGameSounds = {
    KOLVEX_TRACK(sfx_drop),       KOLVEX_TRACK(sfx_line_clear), KOLVEX_TRACK(sfx_level_up),
    KOLVEX_TRACK(sfx_hold_block), KOLVEX_TRACK(sfx_countdown),  KOLVEX_TRACK(sfx_confirm),
    KOLVEX_TRACK(sfx_pause),      KOLVEX_TRACK(sfx_quit),       KOLVEX_TRACK(sfx_resume),
    KOLVEX_TRACK(sfx_select),
};

// The other large part of the enter step: every sound is decoded whole.
void GameSceneSounds(benchmark::State& state) {
    AudioManager& audio = AudioManager::instance();
    for (auto _ : state) {
        for (const Track& t : kGameSounds) {
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
    gameScene.pieceY = 0;
    spawnDropSmoke(gameScene);
    gameScene.pieceY = 16;
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
