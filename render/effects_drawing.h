// Drawing the effects: particles, row flashes and the hold comet with its dimming.
#pragma once

#include <raylib.h>

struct GameScene;

void drawParticles(const GameScene& game);
void drawRowFlashes(const GameScene& game, Vector2 origin);
void drawHoldTransfer(const GameScene& game);
