// Locking and row clearing: the rows removed, their effects and sounds, and
// what a lock must never write.
#include "test_support.h"

#include "app/scene_manager.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"

#include <algorithm>

namespace {

int countOf(const std::vector<std::string>& names, const std::string& name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

class BoardTest : public KolvexTest {
protected:
    SceneManager manager;

    void SetUp() override {
        KolvexTest::SetUp();
        gameScene.enter(manager);
        loadRemaining(gameScene); // sounds and effect frames loaded
        gameScene.phase = GamePhase::Playing;
        standin::clearCalls();
    }

    // Every cell of the row but one column.
    void fillRowBut(int row, int gap) {
        board[row].assign(10, 5);
        board[row][gap] = 0;
    }

    void place(PieceType type, int rotation, int x, int y) {
        gameScene.pieceType = type;
        gameScene.pieceRotation = static_cast<std::int8_t>(rotation);
        gameScene.pieceX = static_cast<std::int8_t>(x);
        gameScene.pieceY = static_cast<std::int8_t>(y);
    }
};

TEST_F(BoardTest, FourFullRowsAtTheBottomGoInOneLock) {
    for (int row = 16; row < 20; ++row) {
        fillRowBut(row, 0);
    }
    board[15][7] = 4;               // a marker above the rows that go
    place(PieceType::I, 1, -2, 16); // upright into column 0
    lockPiece(gameScene);

    EXPECT_EQ(countOf(playedSounds(), "sfx_line_clear"), 4);
    ASSERT_EQ(gameScene.rowFlashes.size(), 4u);
    for (const RowFlash& flash : gameScene.rowFlashes) {
        EXPECT_EQ(flash.row, 19);
    }
    EXPECT_EQ(gameScene.particles.size(), 4u * 42u);
    for (int row = 0; row < 19; ++row) {
        EXPECT_EQ(std::count(board[row].begin(), board[row].end(), 0), 10) << "row " << row;
    }
    EXPECT_EQ(board[19][7], 4) << "the marker has come down four rows";
    EXPECT_EQ(std::count(board[19].begin(), board[19].end(), 0), 9);
    EXPECT_EQ(gameScene.lines, 4);
    EXPECT_EQ(gameScene.score, 1600u);
}

TEST_F(BoardTest, ARowFoundAfterAnotherIsNamedByItsMovedIndex) {
    board[19].assign(10, 2);
    board[10].assign(10, 6);
    board[14][3] = 1; // a row between that is not full
    board[9][8] = 7;
    clearFullRows(gameScene);

    ASSERT_EQ(gameScene.rowFlashes.size(), 2u);
    EXPECT_EQ(gameScene.rowFlashes[0].row, 19);
    EXPECT_EQ(gameScene.rowFlashes[1].row, 11);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_line_clear", "sfx_line_clear"}));
    EXPECT_EQ(gameScene.particles.size(), 84u);
    EXPECT_EQ(board[15][3], 1) << "the row between moved down by one only";
    EXPECT_EQ(board[11][8], 7) << "the row above row 10 moved down twice";
    EXPECT_EQ(board[0], std::vector<std::int32_t>(10, 0));
    EXPECT_EQ(board[1], std::vector<std::int32_t>(10, 0));
    EXPECT_EQ(gameScene.lines, 2);
    EXPECT_EQ(gameScene.score, 400u);
}

TEST_F(BoardTest, ALockThatFillsNoRowWritesThePieceAndCountsNothing) {
    nextPieceType = PieceType::J;
    place(PieceType::S, 0, 2, 18);
    EXPECT_TRUE(lockPiece(gameScene));

    EXPECT_TRUE(playedSounds().empty());
    EXPECT_TRUE(gameScene.particles.empty());
    EXPECT_TRUE(gameScene.rowFlashes.empty());
    EXPECT_EQ(gameScene.lines, 0);
    EXPECT_EQ(gameScene.score, 0u);
    EXPECT_EQ(gameScene.level, 1);
    // S at (2, 18): cells (3,18) (4,18) (2,19) (3,19), value type + 1 = 3.
    EXPECT_EQ(board[18], (std::vector<std::int32_t>{0, 0, 0, 3, 3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(board[19], (std::vector<std::int32_t>{0, 0, 3, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(gameScene.pieceType, PieceType::J) << "the next piece entered";
    EXPECT_EQ(gameScene.pieceY, 0);
}

TEST_F(BoardTest, LockWritesOnlyCellsInsideTheWell) {
    // Cells above the top row are dropped without trace.
    place(PieceType::O, 0, 4, -1);
    lockPiece(gameScene);
    EXPECT_EQ(board[0], (std::vector<std::int32_t>{0, 0, 0, 0, 2, 2, 0, 0, 0, 0}));
    for (int row = 1; row < 20; ++row) {
        EXPECT_EQ(std::count(board[row].begin(), board[row].end(), 0), 10);
    }

    // A position no move could reach writes nothing rather than outside the grid.
    resetBoard(gameScene);
    place(PieceType::I, 0, 8, 30);
    lockPiece(gameScene);
    place(PieceType::I, 0, -4, 5);
    lockPiece(gameScene);
    for (const auto& row : board) {
        EXPECT_EQ(std::count(row.begin(), row.end(), 0), 10);
    }
    EXPECT_EQ(board.size(), 20u);
}

TEST_F(BoardTest, ResetMakesAnEmptyWellOfTheScenesSize) {
    board.assign(3, std::vector<std::int32_t>(4, 9));
    resetBoard(gameScene);
    ASSERT_EQ(board.size(), 20u);
    for (const auto& row : board) {
        EXPECT_EQ(row, std::vector<std::int32_t>(10, 0));
    }
}

} // namespace
