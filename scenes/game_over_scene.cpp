#include "scenes/game_over_scene.h"

GameOverScene gameOverScene;

void GameOverScene::enter(SceneManager& sceneManager) { manager = &sceneManager; }
void GameOverScene::update() {}
void GameOverScene::draw() {}
void GameOverScene::exit() {}
