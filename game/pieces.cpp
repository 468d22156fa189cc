// PLACEHOLDER: replaced by its owner before the feature is done.
#include "game/pieces.h"
const CellOffset kPieceShapes[kPieceTypeCount][kRotationCount][kPieceCellCount] = {};
const Color kPieceColors[kPieceTypeCount] = {};
PieceType nextPieceType = PieceType::I;
PieceType randomPieceType() { return PieceType::I; }
void spawnPiece(GameScene&) {}
void rotatePiece(GameScene&) {}
