// PLACEHOLDER: replaced by its owner before the feature is done.
#include "render/playfield_renderer.h"
void drawGameScene(const GameScene&) {}
void drawGhostPiece(const GameScene&, Vector2) {}
