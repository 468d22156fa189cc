// Starting and advancing the effects the rules set off: the sparkle burst and
// flash of a cleared row, the smoke and shake of a hard drop, the hold comet.
#pragma once

struct GameScene;

void loadEffectFrames(GameScene& game);
void spawnRowClearEffect(GameScene& game, int row);
void spawnDropSmoke(GameScene& game);
void startHoldTransfer(GameScene& game);
void updateEffects(GameScene& game);
