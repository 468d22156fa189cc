// The well: the fit test every move goes through, locking a piece into the grid
// and removing full rows, bottom first, with a burst and a sound for each.
#include "game/board.h"

#include "assets/audio_manager.h"
#include "game/game_scene.h"
#include "game/rules.h"
#include "render/effects.h"

#include <algorithm>

std::vector<std::vector<std::int32_t>> board;

namespace {

bool validPiece(PieceType type, int rotation) {
    const int index = pieceIndex(type);
    return index >= 0 && index < kPieceTypeCount && rotation >= 0 && rotation < kRotationCount;
}

bool rowIsFull(const std::vector<std::int32_t>& row) {
    return !row.empty() &&
           std::all_of(row.begin(), row.end(), [](std::int32_t cell) { return cell != 0; });
}

} // namespace

void resetBoard(GameScene& game) {
    board.assign(game.boardHeight, std::vector<std::int32_t>(game.boardWidth, 0));
}

bool pieceFits(PieceType type, int rotation, int column, int row) {
    if (!validPiece(type, rotation)) {
        return false;
    }
    // The grid's own size bounds the test, so it can never read outside it.
    const int height = static_cast<int>(board.size());
    const int width = height > 0 ? static_cast<int>(board[0].size()) : 0;
    for (const CellOffset& cell : kPieceShapes[pieceIndex(type)][rotation]) {
        const int x = column + cell.x;
        const int y = row + cell.y;
        if (x < 0 || x >= width || y >= height) {
            return false;
        }
        // No ceiling: a cell above the top row fits between the walls.
        if (y >= 0 && board[y][x] != 0) {
            return false;
        }
    }
    return true;
}

bool lockPiece(GameScene& game) {
    if (validPiece(game.pieceType, game.pieceRotation)) {
        const int height = static_cast<int>(board.size());
        for (const CellOffset& cell :
             kPieceShapes[pieceIndex(game.pieceType)][game.pieceRotation]) {
            const int x = game.pieceX + cell.x;
            const int y = game.pieceY + cell.y;
            if (y >= 0 && y < height && x >= 0 && x < static_cast<int>(board[y].size())) {
                board[y][x] = pieceIndex(game.pieceType) + 1;
            }
        }
    }
    clearFullRows(game);
    spawnPiece(game);
    return !game.toppedOut;
}

void clearFullRows(GameScene& game) {
    int cleared = 0;
    int j = static_cast<int>(board.size()) - 1;
    while (j >= 0) {
        if (!rowIsFull(board[j])) {
            --j;
            continue;
        }
        spawnRowClearEffect(game, j);
        AudioManager::instance().playSound("sfx_line_clear", 1.0f);
        ++cleared;
        for (int r = j; r >= 1; --r) {
            board[r] = board[r - 1];
        }
        std::fill(board[0].begin(), board[0].end(), 0);
        // j stays: the row that has just moved down into it is examined next.
    }
    if (cleared > 0) {
        scoreClear(game, cleared);
    }
}
