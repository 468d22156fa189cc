// Where the well and the two preview boxes stand, computed from the game's size,
// which the window shows whatever its own (app/game_view.h).
#include "render/playfield_layout.h"

#include "app/application.h"
#include "game/game_scene.h"

#include <algorithm>
#include <cstdint>

PlayfieldLayout playfieldLayout;
Texture2D blockTexture{};

namespace {

constexpr float kWellHeightShare = 0.85f;
constexpr float kWellWidthShare = 0.55f;
constexpr float kSmallestCell = 20.0f;
constexpr float kLargestCell = 60.0f;
constexpr float kWellShiftLeft = 40.0f;
constexpr float kPanelGap = 80.0f;
constexpr float kNextPanelDrop = 60.0f;
constexpr float kHoldPanelDrop = 220.0f;
constexpr float kPreviewCellShare = 0.75f;
constexpr float kPauseItemOffsetX = 120.0f;
constexpr float kPauseItemDrop = 20.0f;
constexpr float kPauseItemSize = 40.0f;

// Clamped while still a float, so a large fit cannot wrap when narrowed to 8
// bits; a fit that is not a number falls back to the smallest cell.
std::uint8_t cellSizeFor(float fit) {
    if (fit >= kLargestCell) {
        return static_cast<std::uint8_t>(kLargestCell);
    }
    if (!(fit >= kSmallestCell)) {
        return static_cast<std::uint8_t>(kSmallestCell);
    }
    return static_cast<std::uint8_t>(fit);
}

} // namespace

void computePlayfieldLayout(GameScene& game) {
    const float w = static_cast<float>(kWindowWidth);
    const float h = static_cast<float>(kWindowHeight);
    const float columns = static_cast<float>(game.boardWidth);
    const float rows = static_cast<float>(game.boardHeight);
    const float fit = std::min(h * kWellHeightShare / rows, w * kWellWidthShare / columns);
    game.cellSize = cellSizeFor(fit);

    const float c = static_cast<float>(game.cellSize);
    PlayfieldLayout& layout = playfieldLayout;
    layout.boardOriginX = (w * 0.5f - columns * c) * 0.5f - kWellShiftLeft;
    layout.boardOriginY = (h - rows * c) * 0.5f;
    layout.nextPanelX = layout.boardOriginX + columns * c + kPanelGap;
    layout.holdPanelX = layout.nextPanelX;
    layout.nextPanelY = layout.boardOriginY + kNextPanelDrop;
    layout.holdPanelY = layout.boardOriginY + kHoldPanelDrop;
    layout.nextCellSize = c * kPreviewCellShare;
    layout.holdCellSize = layout.nextCellSize;
}

MenuLayout pauseMenuLayout() {
    MenuLayout menu;
    menu.size = kPauseItemSize;
    const float midX = static_cast<float>(kWindowWidth) * 0.5f;
    const float y = static_cast<float>(kWindowHeight) * 0.5f + kPauseItemDrop;
    addMenuEntry(menu, "RESUME", Vector2{midX - kPauseItemOffsetX, y});
    addMenuEntry(menu, "QUIT", Vector2{midX + kPauseItemOffsetX, y});
    return menu;
}
