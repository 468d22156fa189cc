// The game scene: starts a game, counts down, runs play frame by frame, offers
// the pause menu, and hands over to the game-over or the title scene.
#include "game/game_scene.h"

#include "app/controls.h"
#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/pieces.h"
#include "game/rules.h"
#include "render/effects.h"
#include "render/playfield_layout.h"
#include "render/playfield_renderer.h"

#include <cmath>

GameScene gameScene;

namespace {

struct EmbeddedFile {
    const char* name;
    const unsigned char* bytes;
    const unsigned int* length;
};

// In the order of `backgroundNames`.
const EmbeddedFile kBackgrounds[] = {
    {"bg_beach", bg_beach_png, &bg_beach_png_len},
    {"bg_city", bg_city_png, &bg_city_png_len},
    {"bg_mount", bg_mount_png, &bg_mount_png_len},
    {"bg_road", bg_road_png, &bg_road_png_len},
    {"bg_sunset", bg_sunset_png, &bg_sunset_png_len},
    {"bg_waterfall", bg_waterfall_png, &bg_waterfall_png_len},
};

const EmbeddedFile kSounds[] = {
    {"sfx_drop", sfx_drop_ogg, &sfx_drop_ogg_len},
    {"sfx_line_clear", sfx_line_clear_ogg, &sfx_line_clear_ogg_len},
    {"sfx_level_up", sfx_level_up_ogg, &sfx_level_up_ogg_len},
    {"sfx_hold_block", sfx_hold_block_ogg, &sfx_hold_block_ogg_len},
    {"sfx_countdown", sfx_countdown_ogg, &sfx_countdown_ogg_len},
    {"sfx_confirm", sfx_confirm_ogg, &sfx_confirm_ogg_len},
    {"sfx_pause", sfx_pause_ogg, &sfx_pause_ogg_len},
    {"sfx_quit", sfx_quit_ogg, &sfx_quit_ogg_len},
    {"sfx_resume", sfx_resume_ogg, &sfx_resume_ogg_len},
    {"sfx_select", sfx_select_ogg, &sfx_select_ogg_len},
};

constexpr const char* kMusicName = "bgm_korubekusu";
constexpr float kCountdownStart = 4.0f;
constexpr std::int8_t kCountdownFirstValue = 3;
constexpr float kCountdownRate = 1.65f;
constexpr float kCountdownEnd = -1.0f;
constexpr float kCountdownFade = 0.3f;
constexpr float kCountdownStartScale = 1.4f;
constexpr float kCountdownShrink = 0.4f;
constexpr std::int32_t kResumeEntry = 0;
constexpr std::int32_t kQuitEntry = 1;
constexpr float kFirstLevelInterval = 0.8f;
constexpr std::uint8_t kBoardWidth = 10;
constexpr std::uint8_t kBoardHeight = 20;
constexpr std::uint8_t kStartCellSize = 20;

int length(const EmbeddedFile& file) {
    return static_cast<int>(*file.length);
}

void loadTextures(GameScene& game) {
    TextureStore& store = TextureStore::instance();
    blockTexture = store.load("tx_block", tx_block_png, static_cast<int>(tx_block_png_len));
    for (const EmbeddedFile& file : kBackgrounds) {
        store.load(file.name, file.bytes, length(file));
    }
    store.setBackground(game.backgroundNames[0]);
    loadEffectFrames(game);
}

void startMusic() {
    AudioManager& audio = AudioManager::instance();
    if (audio.loadMusic(kMusicName, bgm_korubekusu_intro_ogg,
                        static_cast<int>(bgm_korubekusu_intro_ogg_len), bgm_korubekusu_loop_ogg,
                        static_cast<int>(bgm_korubekusu_loop_ogg_len))) {
        audio.playMusic(kMusicName);
    } else {
        TraceLog(LOG_WARNING, "Failed to load BGM!");
    }
}

void loadSounds() {
    for (const EmbeddedFile& file : kSounds) {
        AudioManager::instance().loadSound(file.name, file.bytes, length(file));
    }
}

void updateCountdown(GameScene& game) {
    game.countdownTime -= GetFrameTime() * kCountdownRate;
    // Held at the end value before narrowing, so a very long frame cannot overflow it.
    game.countdownValue =
        static_cast<std::int8_t>(std::ceil(std::fmax(game.countdownTime, kCountdownEnd)));
    if (game.countdownTime <= kCountdownEnd) {
        game.phase = GamePhase::Playing;
        return;
    }
    const float e = 1.0f - (game.countdownTime - std::floor(game.countdownTime));
    game.countdownAlpha = 1.0f - e * kCountdownFade;
    game.countdownScale = kCountdownStartScale - e * kCountdownShrink;
}

void updatePauseMenu(GameScene& game) {
    AudioManager& audio = AudioManager::instance();
    if (fired(Action::MenuLeft) || fired(Action::MenuRight)) {
        game.pauseSelection = game.pauseSelection == kResumeEntry ? kQuitEntry : kResumeEntry;
        audio.playSound("sfx_select", 1.0f);
    }
    if (!fired(Action::Confirm)) {
        return;
    }
    if (game.pauseSelection == kResumeEntry) {
        game.phase = GamePhase::Playing;
        audio.playSound("sfx_resume", 1.0f);
    } else {
        game.manager->requestSwitch(SceneId::Title);
        audio.playSound("sfx_quit", 1.0f);
    }
}

void updatePlay(GameScene& game) {
    computePlayfieldLayout(game);
    handleInput(game);
    updateEffects(game);
    AudioManager::instance().update(GetFrameTime());
    applyGravity(game);
    updateMusicPitch(game);
}

} // namespace

void GameScene::enter(SceneManager& sceneManager) {
    score = 0;
    level = 1;
    lines = 0;
    manager = &sceneManager;
    resetBoard(*this);
    loadTextures(*this);
    startMusic();
    loadSounds();
    AudioManager::instance().playSound("sfx_countdown", 1.0f);
    nextPieceType = randomPieceType();
    spawnPiece(*this);
    computePlayfieldLayout(*this);
}

void GameScene::update() {
    readControls();
    if (phase == GamePhase::Countdown) {
        updateCountdown(*this);
        return;
    }
    if (toppedOut) {
        manager->requestSwitch(SceneId::GameOver);
        return;
    }
    if (phase == GamePhase::Playing && fired(Action::Pause)) {
        // Start also confirms: the press that paused must not resume at once.
        spend(Action::Pause);
        phase = GamePhase::Paused;
        pauseSelection = kResumeEntry;
        AudioManager::instance().playSound("sfx_pause", 1.0f);
    }
    if (phase == GamePhase::Paused) {
        updatePauseMenu(*this);
        return;
    }
    updatePlay(*this);
}

void GameScene::draw() {
    drawGameScene(*this);
}

void GameScene::exit() {
    AudioManager::instance().stopMusic();
    TextureStore::instance().unloadAll();
    fallInterval = kFirstLevelInterval;
    phase = GamePhase::Countdown;
    backgroundIndex = 0;
    fallTimer = 0.0f;
    pieceY = 0;
    shakeTime = 0.0f;
    holdTransfer.state = HoldState::Idle;
    holdTransfer.timer = 0.0f;
    toppedOut = false;
    canHold = true;
    boardWidth = kBoardWidth;
    boardHeight = kBoardHeight;
    cellSize = kStartCellSize;
    holdType = PieceType::None;
    pieceType = PieceType::I;
    pieceRotation = 0;
    pieceX = 0;
    countdownTime = kCountdownStart;
    countdownValue = kCountdownFirstValue;
    countdownScale = 1.0f;
    countdownAlpha = 1.0f;
    musicPitch = 1.0f;
    particles.clear();
    rowFlashes.clear();
    sparkleFrames.clear();
    smokeFrames.clear();
}
