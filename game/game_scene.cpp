// The game scene: starts a game, counts down, runs play frame by frame, offers
// the pause menu, and hands over to the game-over or the title scene.
#include "game/game_scene.h"

#include "app/controls.h"
#include "app/pointer.h"
#include "app/scene_manager.h"
#include "app/touch_gestures.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "assets/embedded_loading.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/pieces.h"
#include "game/rules.h"
#include "render/effects.h"
#include "render/pause_control.h"
#include "render/playfield_layout.h"
#include "render/playfield_renderer.h"

#include <cmath>

GameScene gameScene;

namespace {

// In the order they are loaded.
const char* const kSoundNames[] = {
    "sfx_drop",    "sfx_line_clear", "sfx_level_up", "sfx_hold_block", "sfx_countdown",
    "sfx_confirm", "sfx_pause",      "sfx_quit",     "sfx_resume",     "sfx_select"};

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
constexpr std::uint8_t kBoardWidth = 10;
constexpr std::uint8_t kBoardHeight = 20;
constexpr std::uint8_t kStartCellSize = 20;

void loadTextures(GameScene& game) {
    TextureStore& store = TextureStore::instance();
    blockTexture = loadEmbeddedTexture("tx_block");
    // In name order, as `backgroundNames` has them.
    for (const EmbeddedFile& file : embeddedFiles("bg_")) {
        store.load(file.name, file.bytes, file.length);
    }
    store.setBackground(game.backgroundNames[0]);
    loadEffectFrames(game);
}

void loadSounds() {
    for (const char* name : kSoundNames) {
        loadEmbeddedSound(name);
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
    const MenuPointing pointing = pointAtMenu(pauseMenuLayout().entryAreas());
    const bool pointedAtOther = pointing.hovered >= 0 && pointing.hovered != game.pauseSelection;
    if (fired(Action::MenuLeft) || fired(Action::MenuRight) || pointedAtOther) {
        game.pauseSelection = game.pauseSelection == kResumeEntry ? kQuitEntry : kResumeEntry;
        audio.playSound("sfx_select", 1.0f);
    }
    // Unlike the other menus, Enter here acts on the entry the moves left highlighted.
    if (!fired(Action::Confirm) && pointing.chosen != game.pauseSelection) {
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
    startSceneMusic(kMusicName, "bgm_korubekusu_intro", "bgm_korubekusu_loop");
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
    if (phase == GamePhase::Playing) {
        followTouch(static_cast<float>(cellSize), pauseControlArea());
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
