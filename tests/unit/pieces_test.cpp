// Turning, spawning and the fit test's walls, through the stand-in.
#include "test_support.h"

#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"

namespace {

class PiecesTest : public KolvexTest {
protected:
    void SetUp() override {
        KolvexTest::SetUp();
        resetBoard(gameScene);
    }

    void place(PieceType type, int rotation, int x, int y) {
        gameScene.pieceType = type;
        gameScene.pieceRotation = static_cast<std::int8_t>(rotation);
        gameScene.pieceX = static_cast<std::int8_t>(x);
        gameScene.pieceY = static_cast<std::int8_t>(y);
    }

    void expectPiece(int rotation, int x, int y) {
        EXPECT_EQ(gameScene.pieceRotation, rotation);
        EXPECT_EQ(gameScene.pieceX, x);
        EXPECT_EQ(gameScene.pieceY, y);
    }
};

TEST_F(PiecesTest, TurningInPlaceAndWhereNoPlacementFits) {
    place(PieceType::O, 3, 8, 18); // in the bottom-right corner
    rotatePiece(gameScene);
    expectPiece(0, 8, 18);

    // A flat I on the floor: every upright placement reaches below it.
    place(PieceType::I, 0, 3, 18);
    rotatePiece(gameScene);
    expectPiece(0, 3, 18);

    // The T turns through all four placements back to the first.
    place(PieceType::T, 0, 4, 8);
    for (int r = 1; r <= 4; ++r) {
        rotatePiece(gameScene);
        expectPiece(r % 4, 4, 8);
    }
}

TEST_F(PiecesTest, TurningShiftsLeftFirstThenRight) {
    // Against the left wall the left shift fails too, so the piece goes right.
    place(PieceType::T, 1, -1, 5);
    rotatePiece(gameScene);
    expectPiece(2, 0, 5);
    place(PieceType::I, 3, -1, 5);
    rotatePiece(gameScene);
    expectPiece(0, 0, 5);

    // T from 0 to 1 at x 4: the turned shape needs (5, 12). Blocked there, both
    // shifts fit and the left one wins.
    board[12][5] = 1;
    place(PieceType::T, 0, 4, 10);
    rotatePiece(gameScene);
    expectPiece(1, 3, 10);

    board[12][4] = 1; // now the left shift fails as well
    place(PieceType::T, 0, 4, 10);
    rotatePiece(gameScene);
    expectPiece(1, 5, 10);

    board[12][6] = 1; // and the right one: nothing changes
    place(PieceType::T, 0, 4, 10);
    rotatePiece(gameScene);
    expectPiece(0, 4, 10);
}

TEST_F(PiecesTest, OnlyTheCellsMustLieBetweenTheWalls) {
    // Upright I (box column 2): the box may stand two columns past either wall.
    EXPECT_TRUE(pieceFits(PieceType::I, 1, -2, 5));
    EXPECT_FALSE(pieceFits(PieceType::I, 1, -3, 5));
    EXPECT_TRUE(pieceFits(PieceType::I, 1, 7, 5));
    EXPECT_FALSE(pieceFits(PieceType::I, 1, 8, 5));

    for (int y = -4; y <= 18; ++y) {
        SCOPED_TRACE(y);
        EXPECT_TRUE(pieceFits(PieceType::O, 0, 0, y));
        EXPECT_TRUE(pieceFits(PieceType::O, 0, 8, y));
        EXPECT_FALSE(pieceFits(PieceType::O, 0, -1, y)) << "one column outside the left wall";
        EXPECT_FALSE(pieceFits(PieceType::O, 0, 9, y)) << "one column outside the right wall";
    }
    EXPECT_FALSE(pieceFits(PieceType::O, 0, 0, 19)) << "below the floor";

    // No ceiling: settled cells in row 0 do not stop a piece wholly above them.
    board[0].assign(10, 1);
    EXPECT_TRUE(pieceFits(PieceType::O, 0, 4, -2));
    EXPECT_FALSE(pieceFits(PieceType::O, 0, 4, -1));
}

TEST_F(PiecesTest, FarOutPositionsAndBadArgumentsNeverFit) {
    // Positions at the edge of the 8-bit range must not wrap back into the well.
    EXPECT_FALSE(pieceFits(PieceType::O, 0, 0, 127));
    EXPECT_FALSE(pieceFits(PieceType::O, 0, 127, 0));
    EXPECT_FALSE(pieceFits(PieceType::O, 0, -128, 0));
    EXPECT_FALSE(pieceFits(PieceType::None, 0, 3, 5));
    EXPECT_FALSE(pieceFits(PieceType::T, 4, 3, 5));
    board.clear(); // before any game: nothing can be read, nothing fits inside
    EXPECT_FALSE(pieceFits(PieceType::O, 0, 3, 5));
}

TEST_F(PiecesTest, SpawnDealsTheNextPieceAndDrawsANewPreview) {
    nextPieceType = PieceType::Z;
    gameScene.canHold = false;
    place(PieceType::T, 2, 6, 15);
    standin::queueRandom({2});
    spawnPiece(gameScene);
    EXPECT_EQ(gameScene.pieceType, PieceType::Z);
    EXPECT_EQ(nextPieceType, PieceType::S);
    expectPiece(0, 3, 0);
    EXPECT_TRUE(gameScene.canHold);
    ASSERT_EQ(standin::randomRequests().size(), 1u);
    EXPECT_EQ(standin::randomRequests()[0].min, 0);
    EXPECT_EQ(standin::randomRequests()[0].max, 6);

    // The same type may be dealt again at once.
    standin::queueRandom({2});
    spawnPiece(gameScene);
    EXPECT_EQ(gameScene.pieceType, PieceType::S);
    EXPECT_EQ(nextPieceType, PieceType::S);
}

TEST_F(PiecesTest, SpawnTopsOutOnlyWhenTheNewPieceOverlaps) {
    // A stack up to row 2 leaves the spawn rows free: no top-out.
    for (int y = 2; y < 20; ++y) {
        board[y].assign(10, 3);
        board[y][y % 10] = 0;
    }
    nextPieceType = PieceType::T;
    spawnPiece(gameScene);
    EXPECT_FALSE(gameScene.toppedOut);

    board[1][5] = 3;
    nextPieceType = PieceType::T;
    spawnPiece(gameScene);
    EXPECT_TRUE(gameScene.toppedOut);
    EXPECT_EQ(gameScene.pieceY, 0) << "the piece stays where it entered";
    EXPECT_EQ(board[0][4], 0) << "and is not written into the well";
}

} // namespace
