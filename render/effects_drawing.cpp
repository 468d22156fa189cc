// PLACEHOLDER: replaced by its owner before the feature is done.
#include "render/effects_drawing.h"
void drawParticles(const GameScene&) {}
void drawRowFlashes(const GameScene&, Vector2) {}
void drawHoldTransfer(const GameScene&) {}
