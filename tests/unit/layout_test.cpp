// The play-field layout at the game's size, and its cell's bounds.
#include "test_support.h"

#include "game/game_scene.h"
#include "render/playfield_layout.h"

#include <cstdint>
#include <string>

namespace {

using LayoutTest = KolvexTest;

TEST_F(LayoutTest, TheGameWindowGivesCellsOf29) {
    computePlayfieldLayout(gameScene);
    EXPECT_EQ(gameScene.cellSize, 29);
    const PlayfieldLayout& l = playfieldLayout;
    EXPECT_FLOAT_EQ(l.boardOriginX, 40.0f);
    EXPECT_FLOAT_EQ(l.boardOriginY, 60.0f);
    EXPECT_FLOAT_EQ(l.nextPanelX, 410.0f);
    EXPECT_FLOAT_EQ(l.holdPanelX, 410.0f);
    EXPECT_FLOAT_EQ(l.nextPanelY, 120.0f);
    EXPECT_FLOAT_EQ(l.holdPanelY, 280.0f);
    EXPECT_FLOAT_EQ(l.nextCellSize, 21.75f);
    EXPECT_FLOAT_EQ(l.holdCellSize, 21.75f);
}

// The window's size plays no part (the game is laid out at its own size), so
// the fit is varied through the well's.
TEST_F(LayoutTest, CellsStayBetween20And60WhateverTheFit) {
    struct Case {
        int columns;
        int rows;
        int cell;
    };
    const Case cases[] = {
        {10, 40, 20}, // fit 14.9
        {10, 10, 49}, // fit 49.5 across, truncated
        {8, 10, 59},  // fit 59.5 down, truncated
        {5, 5, 60},   // fit 99
        {1, 2, 60},   // fit 297.5: narrowed first it would wrap to 41
    };
    standin::setScreenSize(1920, 1080);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + " x " + std::to_string(c.rows));
        gameScene.boardWidth = static_cast<std::uint8_t>(c.columns);
        gameScene.boardHeight = static_cast<std::uint8_t>(c.rows);
        computePlayfieldLayout(gameScene);
        EXPECT_EQ(gameScene.cellSize, c.cell);
        const float cell = static_cast<float>(c.cell);
        EXPECT_FLOAT_EQ(playfieldLayout.boardOriginY,
                        (700.0f - static_cast<float>(c.rows) * cell) * 0.5f);
        EXPECT_FLOAT_EQ(playfieldLayout.holdCellSize, cell * 0.75f);
    }
    gameScene.boardWidth = 10;
    gameScene.boardHeight = 40;
    computePlayfieldLayout(gameScene);
    EXPECT_FLOAT_EQ(playfieldLayout.boardOriginX, 85.0f);
    EXPECT_FLOAT_EQ(playfieldLayout.nextPanelX, 365.0f);
}

} // namespace
