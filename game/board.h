// The well: its grid of settled cells, the one fit test, locking a piece and
// removing full rows.
#pragma once

#include "game/pieces.h"

#include <cstdint>
#include <vector>

struct GameScene;

// Row 0 is the top. 0 is empty; k is a settled cell of piece type k - 1.
extern std::vector<std::vector<std::int32_t>> board;

void resetBoard(GameScene& game);
// Plain ints, so that a column or row one step beyond a piece's position never
// wraps around before it is tested.
bool pieceFits(PieceType type, int rotation, int column, int row);
bool lockPiece(GameScene& game);
void clearFullRows(GameScene& game);
