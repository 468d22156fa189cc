// The game scene's picture, layer by layer: background, backing panel, title, the
// shaken well with its blocks and effects, the ghost, the hold comet, the falling
// piece, the two preview boxes, the read-outs, the pause control once the game has
// had a touch, and the countdown or pause overlay.
#include "render/playfield_renderer.h"

#include "app/application.h"
#include "app/pointer.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/background.h"
#include "render/effects.h"
#include "render/effects_drawing.h"
#include "render/menu_text.h"
#include "render/pause_control.h"
#include "render/playfield_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr float kPanelLeft = 160.0f;
constexpr float kPanelTop = 30.0f;
constexpr float kPanelExtraWidth = 380.0f;
constexpr float kPanelExtraHeight = 60.0f;
constexpr float kPanelAlpha = 0.65f;
constexpr int kTitleMinSize = 30;
constexpr float kTitleScale = 1.2f;
constexpr int kTitleY = 30;
constexpr float kFrameMargin = 5.0f;
constexpr float kFrameThickness = 5.0f;
constexpr float kEmptyCellAlpha = 0.3f;
constexpr unsigned char kGhostAlpha = 90;
constexpr float kGhostOutlineAlpha = 0.3f;
constexpr float kFlyEndScale = 0.85f;
constexpr float kBoxMargin = 10.0f;
constexpr float kBoxThickness = 3.0f;
constexpr float kLabelInset = 10.0f;
constexpr float kNextLabelRise = 30.0f;
constexpr float kHoldLabelRise = 45.0f;
constexpr int kLabelSize = 20;
constexpr float kReadoutTop = 120.0f;
constexpr float kCountdownSize = 120.0f;
constexpr float kOverlaySpacing = 4.0f;
constexpr float kPauseAlpha = 0.55f;
constexpr float kPauseTitleRise = 100.0f;
constexpr float kPauseTitleSize = 60.0f;
constexpr float kLoadingSize = 60.0f;

struct Readout {
    float offset;
    int size;
    Color colour;
};

constexpr Readout kScoreLabel{0.0f, 24, WHITE};
constexpr Readout kScoreValue{35.0f, 28, YELLOW};
constexpr Readout kLevelLabel{90.0f, 24, WHITE};
constexpr Readout kLevelValue{125.0f, 32, ORANGE};
constexpr Readout kLinesLabel{180.0f, 24, WHITE};
constexpr Readout kLinesValue{215.0f, 28, SKYBLUE};

bool isPiece(PieceType type) {
    return pieceIndex(type) >= 0 && pieceIndex(type) < kPieceTypeCount;
}

Color pieceColour(PieceType type) {
    return kPieceColors[pieceIndex(type)];
}

// The rules keep rotations in 0-3; the mask only keeps a stray value inside the table.
const CellOffset* pieceCells(PieceType type, int rotation) {
    return kPieceShapes[pieceIndex(type)][rotation & (kRotationCount - 1)];
}

// Cells the stored well does not hold read as empty, so a short grid cannot be
// read past its end.
std::int32_t boardCell(int column, int row) {
    if (row < 0 || row >= static_cast<int>(board.size())) {
        return 0;
    }
    const auto& cells = board[static_cast<std::size_t>(row)];
    if (column < 0 || column >= static_cast<int>(cells.size())) {
        return 0;
    }
    return cells[static_cast<std::size_t>(column)];
}

bool insideWell(const GameScene& game, int column, int row) {
    return column >= 0 && column < game.boardWidth && row >= 0 && row < game.boardHeight;
}

void drawCellOutline(Rectangle dest, Color outline) {
    DrawRectangleLines(static_cast<int>(dest.x), static_cast<int>(dest.y),
                       static_cast<int>(dest.width), static_cast<int>(dest.height), outline);
}

// Every block, wherever it stands, is the one tinted tile with a thin outline.
void drawBlockCell(Rectangle dest, Color tint, Color outline) {
    const Rectangle source{0.0f, 0.0f, static_cast<float>(blockTexture.width),
                           static_cast<float>(blockTexture.height)};
    DrawTexturePro(blockTexture, source, dest, Vector2{0.0f, 0.0f}, 0.0f, tint);
    drawCellOutline(dest, outline);
}

Rectangle wellCell(float c, Vector2 origin, int column, int row) {
    return Rectangle{static_cast<float>(column) * c + origin.x,
                     static_cast<float>(row) * c + origin.y, c, c};
}

void drawBackingPanel(const GameScene& game) {
    const float c = static_cast<float>(game.cellSize);
    const Rectangle panel{playfieldLayout.boardOriginX - kPanelLeft,
                          playfieldLayout.boardOriginY - kPanelTop,
                          static_cast<float>(game.boardWidth) * c + kPanelExtraWidth,
                          static_cast<float>(game.boardHeight) * c + kPanelExtraHeight};
    DrawRectangleRec(panel, Fade(BLACK, kPanelAlpha));
}

void drawTitle(const GameScene& game) {
    const int size =
        std::max(kTitleMinSize, static_cast<int>(static_cast<float>(game.cellSize) * kTitleScale));
    DrawText("KOLVEX", kWindowWidth / 2 - 2 * size, kTitleY, size, WHITE);
}

Vector2 shakenOrigin(const GameScene& game) {
    Vector2 origin{playfieldLayout.boardOriginX, playfieldLayout.boardOriginY};
    if (game.shakeTime > 0.0f) {
        origin.x += game.shakeOffset.x;
        origin.y += game.shakeOffset.y;
    }
    return origin;
}

void drawWellFrame(const GameScene& game, Vector2 origin) {
    const float c = static_cast<float>(game.cellSize);
    const Rectangle frame{origin.x - kFrameMargin, origin.y - kFrameMargin,
                          static_cast<float>(game.boardWidth) * c + 2.0f * kFrameMargin,
                          static_cast<float>(game.boardHeight) * c + 2.0f * kFrameMargin};
    DrawRectangleLinesEx(frame, kFrameThickness, LIGHTGRAY);
}

void drawBoard(const GameScene& game, Vector2 origin) {
    const float c = static_cast<float>(game.cellSize);
    for (int row = 0; row < game.boardHeight; ++row) {
        for (int column = 0; column < game.boardWidth; ++column) {
            const std::int32_t value = boardCell(column, row);
            const Rectangle dest = wellCell(c, origin, column, row);
            if (value >= 1) {
                drawBlockCell(dest, kPieceColors[(value - 1) % kPieceTypeCount], DARKGRAY);
            } else {
                drawCellOutline(dest, Fade(GRAY, kEmptyCellAlpha));
            }
        }
    }
}

void drawFallingPiece(const GameScene& game, Vector2 origin) {
    if (!isPiece(game.pieceType)) {
        return;
    }
    const float c = static_cast<float>(game.cellSize);
    Color colour = pieceColour(game.pieceType);
    float scale = 1.0f;
    // While the comet flies the piece shrinks and fades, as if it left with it.
    if (game.holdTransfer.state == HoldState::Fly) {
        const float t = std::clamp(game.holdTransfer.timer / kHoldFlyTime, 0.0f, 1.0f);
        colour.a = static_cast<unsigned char>((1.0f - t) * 255.0f);
        scale = 1.0f + (kFlyEndScale - 1.0f) * t;
    }
    const float s = c * scale;
    const float inset = c / 2.0f - s / 2.0f;
    const CellOffset* cells = pieceCells(game.pieceType, game.pieceRotation);
    for (int i = 0; i < kPieceCellCount; ++i) {
        const int column = game.pieceX + cells[i].x;
        const int row = game.pieceY + cells[i].y;
        if (!insideWell(game, column, row)) {
            continue;
        }
        const Rectangle cell = wellCell(c, origin, column, row);
        drawBlockCell(Rectangle{cell.x + inset, cell.y + inset, s, s}, colour, BLACK);
    }
}

void drawPreviewBox(float x, float y, float cellEdge, const char* label, float labelRise,
                    PieceType type) {
    const float edge = 4.0f * cellEdge + 2.0f * kBoxMargin;
    const Rectangle box{x - kBoxMargin, y - kBoxMargin, edge, edge};
    DrawRectangleRec(box, DARKGRAY);
    DrawRectangleLinesEx(box, kBoxThickness, LIGHTGRAY);
    DrawText(label, static_cast<int>(x + kLabelInset), static_cast<int>(y - labelRise), kLabelSize,
             WHITE);
    if (!isPiece(type)) {
        return;
    }
    const CellOffset* cells = pieceCells(type, 0);
    for (int i = 0; i < kPieceCellCount; ++i) {
        const Rectangle dest{x + static_cast<float>(cells[i].x) * cellEdge,
                             y + static_cast<float>(cells[i].y) * cellEdge, cellEdge, cellEdge};
        drawBlockCell(dest, pieceColour(type), BLACK);
    }
}

void drawReadout(const Readout& readout, const char* text) {
    DrawText(text, static_cast<int>(playfieldLayout.holdPanelX),
             static_cast<int>(playfieldLayout.holdPanelY + kReadoutTop + readout.offset),
             readout.size, readout.colour);
}

void drawReadouts(const GameScene& game) {
    drawReadout(kScoreLabel, "SCORE");
    drawReadout(kScoreValue, TextFormat("%08u", static_cast<unsigned int>(game.score)));
    drawReadout(kLevelLabel, "LEVEL");
    drawReadout(kLevelValue, TextFormat("%02d", static_cast<int>(game.level)));
    drawReadout(kLinesLabel, "LINES");
    drawReadout(kLinesValue, TextFormat("%04d", static_cast<int>(game.lines)));
}

// Measured without spacing but drawn with it, as the overlays always have been.
void drawOverlayText(const char* text, Vector2 centre, float size, Color colour) {
    const Font font = GetFontDefault();
    const Vector2 measured = MeasureTextEx(font, text, size, 0.0f);
    DrawTextPro(font, text, centre, Vector2{measured.x * 0.5f, measured.y * 0.5f}, 0.0f, size,
                kOverlaySpacing, colour);
}

const char* countdownText(std::int8_t value) {
    switch (value) {
    case 0:
        return "GO!!";
    case 1:
        return "1";
    case 2:
        return "2";
    case 3:
        return "3";
    default:
        return "";
    }
}

void drawCountdown(const GameScene& game) {
    const char* text = countdownText(game.countdownValue);
    if (text[0] == '\0') {
        return;
    }
    const Vector2 centre{static_cast<float>(kWindowWidth) * 0.5f,
                         static_cast<float>(kWindowHeight) * 0.5f};
    drawOverlayText(text, centre, game.countdownScale * kCountdownSize,
                    Fade(WHITE, game.countdownAlpha));
}

// While the game's files arrive: the word over the last scene's picture, dimmed.
void drawLoading() {
    DrawRectangle(0, 0, kWindowWidth, kWindowHeight, Fade(BLACK, kPauseAlpha));
    const Vector2 centre{static_cast<float>(kWindowWidth) * 0.5f,
                         static_cast<float>(kWindowHeight) * 0.5f};
    drawOverlayText("LOADING", centre, kLoadingSize, WHITE);
}

void drawPauseOverlay(const GameScene& game) {
    const int width = kWindowWidth;
    const int height = kWindowHeight;
    DrawRectangle(0, 0, width, height, Fade(BLACK, kPauseAlpha));
    const float midX = static_cast<float>(width) * 0.5f;
    const float midY = static_cast<float>(height) * 0.5f;
    drawOverlayText("PAUSE", Vector2{midX, midY - kPauseTitleRise}, kPauseTitleSize, WHITE);
    drawMenu(pauseMenuLayout(), game.pauseSelection, WHITE);
}

} // namespace

void drawGhostPiece(const GameScene& game, Vector2 origin) {
    if (!isPiece(game.pieceType)) {
        return;
    }
    // A piece never fits below the well, so the descent stops there at the latest.
    int landing = game.pieceY;
    while (landing < game.boardHeight &&
           pieceFits(game.pieceType, game.pieceRotation, game.pieceX, landing + 1)) {
        ++landing;
    }
    const float c = static_cast<float>(game.cellSize);
    Color tint = pieceColour(game.pieceType);
    tint.a = kGhostAlpha;
    const Color outline = Fade(BLACK, kGhostOutlineAlpha);
    const CellOffset* cells = pieceCells(game.pieceType, game.pieceRotation);
    for (int i = 0; i < kPieceCellCount; ++i) {
        const int column = game.pieceX + cells[i].x;
        const int row = landing + cells[i].y;
        if (insideWell(game, column, row)) {
            drawBlockCell(wellCell(c, origin, column, row), tint, outline);
        }
    }
}

void drawGameScene(const GameScene& game) {
    drawBackground(WHITE);
    if (game.phase == GamePhase::Loading) {
        drawLoading();
        return;
    }
    drawBackingPanel(game);
    drawTitle(game);
    const Vector2 origin = shakenOrigin(game);
    drawWellFrame(game, origin);
    drawBoard(game, origin);
    drawParticles(game);
    drawRowFlashes(game, origin);
    drawGhostPiece(game, origin);
    drawHoldTransfer(game);
    drawFallingPiece(game, origin);
    drawPreviewBox(playfieldLayout.nextPanelX, playfieldLayout.nextPanelY,
                   playfieldLayout.nextCellSize, "NEXT", kNextLabelRise, nextPieceType);
    drawPreviewBox(playfieldLayout.holdPanelX, playfieldLayout.holdPanelY,
                   playfieldLayout.holdCellSize, "HOLD", kHoldLabelRise, game.holdType);
    drawReadouts(game);
    if (game.phase == GamePhase::Playing && pointerState.touched) {
        drawPauseControl();
    }
    if (game.phase == GamePhase::Countdown) {
        drawCountdown(game);
    }
    if (game.phase == GamePhase::Paused) {
        drawPauseOverlay(game);
    }
}
