// Where the well and the two preview boxes stand, computed from the game's size,
// the one picture every block is drawn with, and where the pause menu's entries stand.
#pragma once

#include "render/menu_text.h"

#include <raylib.h>

struct GameScene;

struct PlayfieldLayout {
    float boardOriginX = 0.0f;
    float boardOriginY = 0.0f;
    float nextPanelX = 0.0f;
    float nextPanelY = 0.0f;
    float nextCellSize = 0.0f;
    float holdPanelX = 0.0f;
    float holdPanelY = 0.0f;
    float holdCellSize = 0.0f;
};

extern PlayfieldLayout playfieldLayout;
extern Texture2D blockTexture;

void computePlayfieldLayout(GameScene& game);

// RESUME left of QUIT below the pause title, in the order of `pauseSelection`.
MenuLayout pauseMenuLayout();
