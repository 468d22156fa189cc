// What happens during play: the player's actions, the hard drop, gravity with the soft drop,
// the hold exchange, scoring and levels, and the music's pitch.
#pragma once

struct GameScene;

// Seconds between gravity's steps on the first level.
inline constexpr float kFirstLevelInterval = 0.8f;

void handleInput(GameScene& game);
void applyGravity(GameScene& game);
void updateMusicPitch(GameScene& game);
// The pitch the music eases towards for a stack of this many rows.
float musicPitchTarget(int rows);
void scoreClear(GameScene& game, int rows);
void exchangeHold(GameScene& game);
