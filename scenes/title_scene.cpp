#include "scenes/title_scene.h"

TitleScene titleScene;

void TitleScene::enter(SceneManager& sceneManager) { manager = &sceneManager; }
void TitleScene::update() {}
void TitleScene::draw() {}
void TitleScene::exit() {}
