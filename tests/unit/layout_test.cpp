// The play-field layout for the real window, for tiny ones and for huge ones.
#include "test_support.h"

#include "game/game_scene.h"
#include "render/playfield_layout.h"

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

TEST_F(LayoutTest, CellsStayBetween20And60WhateverTheFit) {
    struct Case {
        int width;
        int height;
        int cell;
    };
    const Case cases[] = {
        {100, 100, 20},     // fit 4.7
        {0, 0, 20},         // no window at all
        {1089, 1500, 59},   // fit 59.9, truncated
        {1091, 1500, 60},   // fit 60.0
        {100000, 6000, 60}, // fit 255
        {100000, 7059, 60}, // fit 300: narrowed first it would wrap to 44
        {100000, 100000, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        standin::setScreenSize(c.width, c.height);
        computePlayfieldLayout(gameScene);
        EXPECT_EQ(gameScene.cellSize, c.cell);
        const float cell = static_cast<float>(c.cell);
        EXPECT_FLOAT_EQ(playfieldLayout.boardOriginY,
                        (static_cast<float>(c.height) - 20.0f * cell) * 0.5f);
        EXPECT_FLOAT_EQ(playfieldLayout.holdCellSize, cell * 0.75f);
    }
    standin::setScreenSize(100, 100);
    computePlayfieldLayout(gameScene);
    EXPECT_FLOAT_EQ(playfieldLayout.boardOriginX, -115.0f);
    EXPECT_FLOAT_EQ(playfieldLayout.nextPanelX, 165.0f);
}

} // namespace
