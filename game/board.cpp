// PLACEHOLDER: replaced by its owner before the feature is done.
#include "game/board.h"
std::vector<std::vector<std::int32_t>> board;
void resetBoard(GameScene&) {}
bool pieceFits(PieceType, std::int8_t, std::int8_t, std::int8_t) { return true; }
bool lockPiece(GameScene&) { return true; }
void clearFullRows(GameScene&) {}
