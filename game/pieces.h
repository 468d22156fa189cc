// The seven pieces: their cells in each rotation, their colours, the choice of the
// next piece, the spawn rule and the clockwise turn.
#pragma once

#include <raylib.h>

#include <cstdint>

struct GameScene;

enum class PieceType : std::int8_t { None = -1, I = 0, O = 1, S = 2, Z = 3, T = 4, L = 5, J = 6 };

constexpr int kPieceTypeCount = 7;
constexpr int kRotationCount = 4;
constexpr int kPieceCellCount = 4;

struct CellOffset {
    std::int32_t x;
    std::int32_t y;
};

// [type][rotation][cell]: column and row inside the piece's 4 x 4 box.
extern const CellOffset kPieceShapes[kPieceTypeCount][kRotationCount][kPieceCellCount];
extern const Color kPieceColors[kPieceTypeCount];

// The one-piece preview.
extern PieceType nextPieceType;

constexpr int pieceIndex(PieceType type) {
    return static_cast<int>(type);
}

// The column of a new piece's box: the box stands in the middle of the well.
std::int8_t spawnColumn(const GameScene& game);

PieceType randomPieceType();
// Brings a piece of this type in at the top of the well, in its first rotation;
// one that does not fit there tops the game out.
void enterPiece(GameScene& game, PieceType type);
// The next piece enters and a new next one is drawn.
void spawnPiece(GameScene& game);
void rotatePiece(GameScene& game);
