// PLACEHOLDER: replaced by its owner before the feature is done.
#include "game/rules.h"
void handleInput(GameScene&) {}
void applyGravity(GameScene&) {}
void updateMusicPitch(GameScene&) {}
void scoreClear(GameScene&, int) {}
void exchangeHold(GameScene&) {}
