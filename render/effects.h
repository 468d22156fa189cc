// Starting and advancing the effects the rules set off: the sparkle burst and
// flash of a cleared row, the smoke and shake of a hard drop, the hold comet.
#pragma once

struct GameScene;

// How long the timed effects last: advanced here, faded by their drawing.
inline constexpr float kRowFlashTime = 0.18f;
inline constexpr float kHoldLiftTime = 0.08f;
inline constexpr float kHoldFlyTime = 0.15f;
inline constexpr float kHoldSettleTime = 0.08f;

void loadEffectFrames(GameScene& game);
// Whether every effect frame has arrived (on the web they come after the title).
bool effectFramesHere();
void spawnRowClearEffect(GameScene& game, int row);
void spawnDropSmoke(GameScene& game);
void startHoldTransfer(GameScene& game);
void updateEffects(GameScene& game);
