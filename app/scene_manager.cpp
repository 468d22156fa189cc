// Scenes are chosen by a switch over the id: three fixed objects, no dispatch table.
#include "app/scene_manager.h"

#include "game/game_scene.h"
#include "scenes/game_over_scene.h"
#include "scenes/title_scene.h"

void SceneManager::enterScene() {
    running = true;
    switchPending = false;
    switch (current) {
    case SceneId::Title:
        titleScene.enter(*this);
        break;
    case SceneId::Game:
        gameScene.enter(*this);
        break;
    case SceneId::GameOver:
        gameOverScene.enter(*this);
        break;
    }
}

void SceneManager::exitScene() {
    switch (current) {
    case SceneId::Title:
        titleScene.exit();
        break;
    case SceneId::Game:
        gameScene.exit();
        break;
    case SceneId::GameOver:
        gameOverScene.exit();
        break;
    }
    current = next;
}

void SceneManager::updateScene() {
    switch (current) {
    case SceneId::Title:
        titleScene.update();
        break;
    case SceneId::Game:
        gameScene.update();
        break;
    case SceneId::GameOver:
        gameOverScene.update();
        break;
    }
}

void SceneManager::drawScene() {
    switch (current) {
    case SceneId::Title:
        titleScene.draw();
        break;
    case SceneId::Game:
        gameScene.draw();
        break;
    case SceneId::GameOver:
        gameOverScene.draw();
        break;
    }
}

void SceneManager::requestSwitch(SceneId id) {
    next = id;
    switchPending = true;
}

std::uint32_t SceneManager::lastScore() const {
    return gameScene.score;
}
std::uint16_t SceneManager::lastLevel() const {
    return gameScene.level;
}
std::uint16_t SceneManager::lastLines() const {
    return gameScene.lines;
}
