// The game scene: one game from its countdown to the top-out, with the pause menu.
#pragma once

#include "assets/game_backgrounds.h"
#include "game/pieces.h"
#include "game/rules.h"
#include "render/effect_types.h"

#include <raylib.h>

#include <cstdint>
#include <string>
#include <vector>

struct SceneManager;

// Loading: the game's files have not all arrived yet (on the web).
enum class GamePhase : std::int32_t { Countdown = 0, Playing = 1, Paused = 2, Loading = 3 };

constexpr std::int8_t linesPerLevel = 10;

struct GameScene {
    SceneManager* manager = nullptr;
    std::uint32_t score = 0;
    std::uint16_t level = 1;
    std::uint16_t lines = 0;
    std::uint8_t boardWidth = 10;
    std::uint8_t boardHeight = 20;
    std::uint8_t cellSize = 20;
    PieceType holdType = PieceType::None;
    PieceType pieceType = PieceType::I;
    std::int8_t pieceRotation = 0;
    std::int8_t pieceX = 0;
    std::int8_t pieceY = 0;
    float fallTimer = 0.0f;
    float fallInterval = kFirstLevelInterval;
    bool toppedOut = false;
    bool canHold = true;
    std::vector<std::string> backgroundNames{kGameBackgrounds.begin(), kGameBackgrounds.end()};
    std::int8_t backgroundIndex = 0;
    std::vector<Particle> particles;
    std::vector<RowFlash> rowFlashes;
    float shakeTime = 0.0f;
    Vector2 shakeOffset{};
    std::vector<Texture2D> sparkleFrames;
    std::vector<Texture2D> smokeFrames;
    HoldTransfer holdTransfer;
    GamePhase phase = GamePhase::Countdown;
    float countdownTime = 4.0f;
    std::int8_t countdownValue = 3;
    float countdownScale = 1.0f;
    float countdownAlpha = 1.0f;
    std::int32_t pauseSelection = 0;
    float musicPitch = 1.0f;
    // How far the game's loading has come: the index of the next entry to load.
    std::uint8_t nextLoad = 0;

    void enter(SceneManager& sceneManager);
    void update();
    void draw();
    void exit();
};

extern GameScene gameScene;

// Loads one more of what the enter step loads, when any of it is not held yet,
// so that the key that starts a game finds it ready and its first frame comes
// as quickly as any other. Called each frame by the scenes a game starts from;
// textures so loaded are released with the rest when the game scene is left.
void preloadGameStart();

// Loads what the countdown has not loaded yet; play needs all of it.
void loadRemaining(GameScene& game);
