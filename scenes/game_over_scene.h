// The game-over scene: the last game's score beside the best, RETRY and QUIT.
#pragma once

#include <cstdint>

struct SceneManager;

enum class GameOverChoice : std::int32_t { Retry = 0, Quit = 1 };

struct GameOverScene {
    SceneManager* manager = nullptr;
    GameOverChoice selection = GameOverChoice::Retry;
    std::uint32_t best = 0;
    std::uint32_t score = 0;
    float elapsed = 0.0f;
    // The bests of this game could not be kept: the screen says so.
    bool saveFailed = false;

    void enter(SceneManager& sceneManager);
    void update();
    void draw();
    void exit();
};

extern GameOverScene gameOverScene;
