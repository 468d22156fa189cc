// The game scene's picture: background, well, pieces, previews, read-outs, effects,
// countdown and pause overlay. It only reads the game state.
#pragma once

#include <raylib.h>

struct GameScene;

void drawGameScene(const GameScene& game);
void drawGhostPiece(const GameScene& game, Vector2 origin);
