// Where the well and the two preview boxes stand, computed from the window size,
// and the one picture every block is drawn with.
#pragma once

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
