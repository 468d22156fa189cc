// The game scene: starts a game, counts down, runs play frame by frame, offers
// the pause menu, and hands over to the game-over or the title scene.
#include "game/game_scene.h"

#include "app/controls.h"
#include "app/pointer.h"
#include "app/scene_manager.h"
#include "app/touch_gestures.h"
#include "assets/asset_catalogue.h"
#include "assets/asset_loading.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/pieces.h"
#include "game/rules.h"
#include "render/effects.h"
#include "render/pause_control.h"
#include "render/playfield_layout.h"
#include "render/playfield_renderer.h"

#include <cmath>
#include <iterator>

GameScene gameScene;

namespace {

enum class LoadStage : std::uint8_t { Enter, Countdown };
enum class LoadKind : std::uint8_t { BlockTexture, Texture, EffectFrames, Music, Sound };

struct Load {
    LoadStage stage;
    LoadKind kind;
    const char* name;
};

// What a game loads, in order. The enter step loads what the first countdown
// frame draws and what the countdown plays; the countdown's update steps load
// the rest, one entry a frame (see loadNext).
constexpr Load kLoads[] = {
    {LoadStage::Enter, LoadKind::BlockTexture, "tx_block"},
    {LoadStage::Enter, LoadKind::Texture, kGameBackgrounds[0]},
    {LoadStage::Enter, LoadKind::Music, "bgm_korubekusu"},
    {LoadStage::Enter, LoadKind::Sound, "sfx_countdown"},
    {LoadStage::Countdown, LoadKind::Texture, kGameBackgrounds[1]},
    {LoadStage::Countdown, LoadKind::Texture, kGameBackgrounds[2]},
    {LoadStage::Countdown, LoadKind::Texture, kGameBackgrounds[3]},
    {LoadStage::Countdown, LoadKind::Texture, kGameBackgrounds[4]},
    {LoadStage::Countdown, LoadKind::Texture, kGameBackgrounds[5]},
    {LoadStage::Countdown, LoadKind::EffectFrames, nullptr},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_drop"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_line_clear"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_level_up"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_hold_block"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_confirm"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_pause"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_quit"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_resume"},
    {LoadStage::Countdown, LoadKind::Sound, "sfx_select"},
};
constexpr std::uint8_t kLoadCount = std::size(kLoads);
constexpr const char* kMusicIntro = "bgm_korubekusu_intro";
constexpr const char* kMusicLoop = "bgm_korubekusu_loop";

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

void loadNext(GameScene& game) {
    const Load& load = kLoads[game.nextLoad++];
    switch (load.kind) {
    case LoadKind::BlockTexture:
        blockTexture = loadAssetTexture(load.name);
        break;
    case LoadKind::Texture:
        loadAssetTexture(load.name);
        break;
    case LoadKind::EffectFrames:
        loadEffectFrames(game);
        break;
    case LoadKind::Music:
        startSceneMusic(load.name, kMusicIntro, kMusicLoop);
        break;
    case LoadKind::Sound:
        loadAssetSound(load.name);
        break;
    }
}

bool held(const Load& load) {
    switch (load.kind) {
    case LoadKind::BlockTexture:
    case LoadKind::Texture:
        return TextureStore::instance().holds(load.name);
    case LoadKind::Music:
        return AudioManager::instance().holdsMusic(load.name);
    case LoadKind::Sound:
        return AudioManager::instance().holdsSound(load.name);
    case LoadKind::EffectFrames:
        break;
    }
    return false;
}

// Whether the load's files have arrived (on the web they come after the title).
bool here(const Load& load) {
    return load.kind == LoadKind::EffectFrames ? effectFramesHere() : assetsHere(load.name);
}

bool everythingHere() {
    for (const Load& load : kLoads) {
        if (!here(load)) {
            return false;
        }
    }
    return true;
}

// What the countdown's first frame draws and plays; the rest follows during it.
void startCountdown(GameScene& game) {
    while (kLoads[game.nextLoad].stage == LoadStage::Enter) {
        loadNext(game);
    }
    TextureStore::instance().setBackground(game.backgroundNames[0]);
    AudioManager::instance().playSound("sfx_countdown", 1.0f);
    game.phase = GamePhase::Countdown;
}

// Until every file of the game is here, the countdown does not begin; the player
// may go back to the title meanwhile.
void updateLoading(GameScene& game) {
    if (fired(Action::Back) || fired(Action::Pause)) {
        game.manager->requestSwitch(SceneId::Title);
    } else if (everythingHere()) {
        startCountdown(game);
    }
}

// As loadNext, but the music is only loaded: the scene that runs plays its own.
void preload(const Load& load) {
    switch (load.kind) {
    case LoadKind::BlockTexture:
    case LoadKind::Texture:
        loadAssetTexture(load.name);
        break;
    case LoadKind::Music:
        loadAssetMusic(load.name, kMusicIntro, kMusicLoop);
        break;
    case LoadKind::Sound:
        loadAssetSound(load.name);
        break;
    case LoadKind::EffectFrames:
        break;
    }
}

void updateCountdown(GameScene& game) {
    // One entry a frame, and none in the frame that entered, which already
    // carries the enter step. The heaviest, a background, takes 5 to 9 ms to
    // decode and upload on the build machine, about a whole frame's budget at
    // 120 frames a second, so no frame may take two; and the countdown's some
    // 360 frames leave room for all 15 many times over.
    if (game.countdownTime < kCountdownStart && game.nextLoad < kLoadCount) {
        loadNext(game);
    }
    game.countdownTime -= GetFrameTime() * kCountdownRate;
    // Held at the end value before narrowing, so a very long frame cannot overflow it.
    game.countdownValue =
        static_cast<std::int8_t>(std::ceil(std::fmax(game.countdownTime, kCountdownEnd)));
    if (game.countdownTime <= kCountdownEnd) {
        loadRemaining(game); // a slow machine finishes here
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

void preloadGameStart() {
    for (const Load& load : kLoads) {
        if (load.stage == LoadStage::Enter && !held(load) && here(load)) {
            preload(load);
            return;
        }
    }
}

void loadRemaining(GameScene& game) {
    while (game.nextLoad < kLoadCount) {
        loadNext(game);
    }
}

void GameScene::enter(SceneManager& sceneManager) {
    score = 0;
    level = 1;
    lines = 0;
    manager = &sceneManager;
    resetBoard(*this);
    nextLoad = 0;
    if (everythingHere()) {
        startCountdown(*this);
    } else {
        TraceLog(LOG_INFO, "GAME: waiting for the game's pictures and sounds");
        phase = GamePhase::Loading;
    }
    nextPieceType = randomPieceType();
    spawnPiece(*this);
    computePlayfieldLayout(*this);
}

void GameScene::update() {
    readControls();
    if (phase == GamePhase::Loading) {
        updateLoading(*this);
        return;
    }
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
    stopSceneMusic();
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
