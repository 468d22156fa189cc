// The seven pieces: their cells in each rotation, their colours, the choice of the
// next piece, the spawn rule and the clockwise turn with its two sideways tries.
#include "game/pieces.h"

#include "game/board.h"
#include "game/game_scene.h"

namespace {

constexpr int kLastPieceType = kPieceTypeCount - 1;
constexpr int kSpawnRow = 0;

} // namespace

// The placements do not all turn about one point; the table alone defines them.
const CellOffset kPieceShapes[kPieceTypeCount][kRotationCount][kPieceCellCount] = {
    // I
    {{{0, 1}, {1, 1}, {2, 1}, {3, 1}},
     {{2, 0}, {2, 1}, {2, 2}, {2, 3}},
     {{0, 2}, {1, 2}, {2, 2}, {3, 2}},
     {{1, 0}, {1, 1}, {1, 2}, {1, 3}}},
    // O
    {{{0, 0}, {1, 0}, {0, 1}, {1, 1}},
     {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
     {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
     {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
    // S
    {{{1, 0}, {2, 0}, {0, 1}, {1, 1}},
     {{0, 0}, {0, 1}, {1, 1}, {1, 2}},
     {{1, 0}, {2, 0}, {0, 1}, {1, 1}},
     {{0, 0}, {0, 1}, {1, 1}, {1, 2}}},
    // Z
    {{{0, 0}, {1, 0}, {1, 1}, {2, 1}},
     {{1, 0}, {0, 1}, {1, 1}, {0, 2}},
     {{0, 0}, {1, 0}, {1, 1}, {2, 1}},
     {{1, 0}, {0, 1}, {1, 1}, {0, 2}}},
    // T
    {{{1, 0}, {0, 1}, {1, 1}, {2, 1}},
     {{1, 0}, {2, 1}, {1, 2}, {1, 1}},
     {{0, 1}, {1, 1}, {2, 1}, {1, 2}},
     {{1, 0}, {1, 1}, {1, 2}, {0, 1}}},
    // L
    {{{0, 1}, {1, 1}, {2, 1}, {2, 0}},
     {{0, 0}, {0, 1}, {0, 2}, {1, 2}},
     {{0, 0}, {1, 0}, {2, 0}, {0, 1}},
     {{0, 0}, {1, 0}, {1, 1}, {1, 2}}},
    // J
    {{{0, 0}, {0, 1}, {1, 1}, {2, 1}},
     {{0, 0}, {0, 1}, {0, 2}, {1, 0}},
     {{0, 0}, {1, 0}, {2, 0}, {2, 1}},
     {{1, 0}, {1, 1}, {1, 2}, {0, 2}}},
};

const Color kPieceColors[kPieceTypeCount] = {
    {0, 121, 241, 255},   // I, BLUE
    {253, 249, 0, 255},   // O, YELLOW
    {0, 228, 48, 255},    // S, GREEN
    {230, 41, 55, 255},   // Z, RED
    {200, 122, 255, 255}, // T, PURPLE
    {255, 161, 0, 255},   // L, ORANGE
    {102, 191, 255, 255}, // J, SKYBLUE
};

PieceType nextPieceType = PieceType::I;

std::int8_t spawnColumn(const GameScene& game) {
    return static_cast<std::int8_t>((game.boardWidth >> 1) - 2);
}

PieceType randomPieceType() {
    return static_cast<PieceType>(GetRandomValue(0, kLastPieceType));
}

void enterPiece(GameScene& game, PieceType type) {
    game.pieceType = type;
    game.pieceRotation = 0;
    game.pieceX = spawnColumn(game);
    game.pieceY = kSpawnRow;
    // A piece that enters over the stack ends the game instead of being locked
    // into settled cells.
    if (!pieceFits(game.pieceType, 0, game.pieceX, kSpawnRow)) {
        game.toppedOut = true;
    }
}

void spawnPiece(GameScene& game) {
    enterPiece(game, nextPieceType);
    nextPieceType = randomPieceType();
    game.canHold = true;
}

void rotatePiece(GameScene& game) {
    const int turned = (game.pieceRotation + 1) % kRotationCount;
    // In place first, then one column left, then one column right.
    for (const int shift : {0, -1, 1}) {
        if (pieceFits(game.pieceType, turned, game.pieceX + shift, game.pieceY)) {
            game.pieceRotation = static_cast<std::int8_t>(turned);
            game.pieceX = static_cast<std::int8_t>(game.pieceX + shift);
            return;
        }
    }
}
