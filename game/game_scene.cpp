#include "game/game_scene.h"

GameScene gameScene;

void GameScene::enter(SceneManager& sceneManager) { manager = &sceneManager; }
void GameScene::update() {}
void GameScene::draw() {}
void GameScene::exit() {}
