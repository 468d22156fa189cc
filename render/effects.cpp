// PLACEHOLDER: replaced by its owner before the feature is done.
#include "render/effects.h"
void loadEffectFrames(GameScene&) {}
void spawnRowClearEffect(GameScene&, int) {}
void spawnDropSmoke(GameScene&) {}
void startHoldTransfer(GameScene&) {}
void updateEffects(GameScene&) {}
