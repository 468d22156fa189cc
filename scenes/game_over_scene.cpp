// The game-over scene: records the finished game, shows its score beside the
// best and, after a delay that keeps a late key press from skipping the screen,
// offers RETRY and QUIT.
#include "scenes/game_over_scene.h"

#include "app/application.h"
#include "app/controls.h"
#include "app/pointer.h"
#include "app/scene_manager.h"
#include "assets/asset_loading.h"
#include "assets/audio_manager.h"
#include "game/game_scene.h"
#include "render/menu_text.h"
#include "save/high_score.h"

#include <raylib.h>

#include <algorithm>
#include <string>

GameOverScene gameOverScene;

namespace {

constexpr float kInputDelay = 5.0f;
constexpr float kMenuTextSize = 20.0f;
constexpr int kTitleSize = 36;
constexpr int kLineSize = 24;
constexpr float kTopOffset = -300.0f;
constexpr float kTitleY = 72.0f;
constexpr float kScoreY = 128.0f;
constexpr float kBestY = 160.0f;
constexpr float kSaveFailedY = 200.0f;
constexpr int kSaveFailedSize = 20;
constexpr float kRetryY = 20.0f;
constexpr float kQuitY = 60.0f;

// Centred on the picture's middle column at H/2 + kTopOffset + offset.
void drawCentredLine(const char* text, int size, float offset) {
    const int width = kWindowWidth;
    const int halfHeight = kWindowHeight / 2;
    const int x = width / 2 - MeasureText(text, size) / 2;
    const int y = static_cast<int>(static_cast<float>(halfHeight) + kTopOffset + offset);
    DrawText(text, x, y, size, RED);
}

// RETRY above QUIT, in the order of GameOverChoice.
MenuLayout menuLayout() {
    MenuLayout menu;
    menu.size = kMenuTextSize;
    const float centreX = static_cast<float>(kWindowWidth) * 0.5f;
    const float middle = static_cast<float>(kWindowHeight) * 0.5f;
    addMenuEntry(menu, "RETRY", Vector2{centreX, middle + kRetryY});
    addMenuEntry(menu, "QUIT", Vector2{centreX, middle + kQuitY});
    return menu;
}

} // namespace

void GameOverScene::enter(SceneManager& sceneManager) {
    manager = &sceneManager;
    // One file, played through: the loop is the whole music again.
    startSceneMusic("bgm_gameover", "bgm_gameover", "bgm_gameover");
    for (const char* name : {"sfx_confirm", "sfx_quit", "sfx_select", "sfx_gameover"}) {
        loadAssetSound(name);
    }
    AudioManager::instance().playSound("sfx_gameover", 1.0f);

    score = manager->lastScore();
    saveFailed = !saveHighScore(manager->lastScore(), manager->lastLines(), manager->lastLevel());
    // Read once the save is done: the best as it left it, or as another Kolvex
    // saving at the same moment did.
    best = std::max(score, loadHighScore().bestScore);
}

void GameOverScene::update() {
    preloadGameStart(); // for a retry
    readControls();
    const float frameTime = GetFrameTime();
    elapsed += frameTime;
    if (elapsed > kInputDelay) {
        AudioManager& audio = AudioManager::instance();
        const MenuPointing pointing = pointAtMenu(menuLayout().entryAreas());
        const int row = static_cast<int>(selection);
        const bool confirmed = fired(Action::Confirm) || pointing.chosen == row;
        if (selection == GameOverChoice::Retry) {
            if (fired(Action::MenuDown) ||
                pointing.hovered == static_cast<int>(GameOverChoice::Quit)) {
                audio.playSound("sfx_select", 1.0f);
                selection = GameOverChoice::Quit;
            }
            if (confirmed) {
                audio.playSound("sfx_confirm", 1.0f);
                manager->requestSwitch(SceneId::Game);
            }
        } else {
            if (fired(Action::MenuUp) ||
                pointing.hovered == static_cast<int>(GameOverChoice::Retry)) {
                audio.playSound("sfx_select", 1.0f);
                selection = GameOverChoice::Retry;
            }
            if (confirmed) {
                audio.playSound("sfx_quit", 1.0f);
                manager->requestSwitch(SceneId::Title);
            }
        }
    }
    AudioManager::instance().update(frameTime);
}

void GameOverScene::draw() {
    const float width = static_cast<float>(kWindowWidth);
    const float height = static_cast<float>(kWindowHeight);
    DrawRectangleRec(Rectangle{0.0f, 0.0f, width, height}, Fade(BLACK, 1.0f));

    const std::string scoreLine = "SCORE: " + std::to_string(score);
    const std::string bestLine = "HIGH SCORE: " + std::to_string(best);
    drawCentredLine("GAME OVER", kTitleSize, kTitleY);
    drawCentredLine(scoreLine.c_str(), kLineSize, kScoreY);
    drawCentredLine(bestLine.c_str(), kLineSize, kBestY);
    if (saveFailed) {
        drawCentredLine("BESTS NOT SAVED", kSaveFailedSize, kSaveFailedY);
    }

    const Color colour = elapsed > kInputDelay ? RED : GRAY;
    drawMenu(menuLayout(), static_cast<int>(selection), colour);
}

void GameOverScene::exit() {
    stopSceneMusic();
    selection = GameOverChoice::Retry;
    best = 0;
    score = 0;
    elapsed = 0.0f;
    saveFailed = false;
}
