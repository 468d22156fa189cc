// The game scene's picture as the stand-in records it: the layers in their order
// and at their coordinates in the 900 x 700 window, the shake, the hidden cells
// above the well, the read-out formats, the countdown and pause overlays and the
// falling piece during the hold transfer.
#include "test_support.h"

#include "app/scene_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/playfield_layout.h"
#include "render/playfield_renderer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr unsigned int kBlockId = 7;

using Calls = std::vector<standin::Call>;

int indexOf(const Calls& calls, const std::string& fn, int from = 0) {
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i].fn == fn) {
            return i;
        }
    }
    return -1;
}

int indexOfText(const Calls& calls, const std::string& fn, const std::string& text) {
    for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i].fn == fn && calls[i].text == text) {
            return i;
        }
    }
    return -1;
}

// Indices of the block tiles, in drawing order.
std::vector<int> blockTiles(const Calls& calls) {
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i].fn == "DrawTexturePro" && calls[i].handle == kBlockId) {
            out.push_back(i);
        }
    }
    return out;
}

std::vector<float> dest(const standin::Call& call) {
    return std::vector<float>(call.num.begin() + 4, call.num.begin() + 8);
}

class RendererTest : public KolvexTest {
protected:
    void SetUp() override {
        KolvexTest::SetUp();
        board.assign(20, std::vector<std::int32_t>(10, 0));
        playfieldLayout =
            PlayfieldLayout{40.0f, 60.0f, 410.0f, 120.0f, 21.75f, 410.0f, 280.0f, 21.75f};
        blockTexture = Texture2D{kBlockId, 32, 32, 1, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8};
        gameScene.cellSize = 29;
        gameScene.phase = GamePhase::Playing;
        gameScene.pieceType = PieceType::T;
        gameScene.pieceRotation = 0;
        gameScene.pieceX = 3;
        gameScene.pieceY = 0;
        nextPieceType = PieceType::I;
    }

    Calls draw() {
        standin::clearCalls();
        drawGameScene(gameScene);
        return drawCalls();
    }
};

TEST_F(RendererTest, LayersComeInOrderAtTheirPlacesIn900x700) {
    board[19][2] = 3; // an S cell
    board[19][9] = 9; // values past 7 wrap round to the colour of type 1
    const Calls calls = draw();

    const int panel = indexOf(calls, "DrawRectangleRec");
    ASSERT_EQ(panel, 0) << "nothing under the panel but the (absent) background";
    expectNums(calls[panel].num, {-120, 30, 670, 640});
    EXPECT_EQ(rgba(calls[panel].color), (std::vector<int>{0, 0, 0, 165}));

    const int title = indexOfText(calls, "DrawText", "KOLVEX");
    ASSERT_GT(title, panel);
    expectNums(calls[title].num, {382, 30, 34});
    EXPECT_EQ(rgba(calls[title].color), (std::vector<int>{255, 255, 255, 255}));

    const int frame = indexOf(calls, "DrawRectangleLinesEx");
    ASSERT_GT(frame, title);
    expectNums(calls[frame].num, {35, 55, 300, 590, 5});
    EXPECT_EQ(rgba(calls[frame].color), (std::vector<int>{200, 200, 200, 255}));

    // The well: row by row, 29 px apart from (40, 60); empty cells are faint outlines.
    const int firstCell = frame + 1;
    expectNums(calls[firstCell].num, {40, 60, 29, 29});
    EXPECT_EQ(calls[firstCell].fn, "DrawRectangleLines");
    EXPECT_EQ(rgba(calls[firstCell].color), (std::vector<int>{130, 130, 130, 76}));
    expectNums(calls[firstCell + 1].num, {69, 60, 29, 29});
    expectNums(calls[firstCell + 10].num, {40, 89, 29, 29});

    const std::vector<int> tiles = blockTiles(calls);
    ASSERT_EQ(tiles.size(), 2u + 4u + 4u + 4u) << "two settled, ghost, falling, NEXT";
    const standin::Call& settled = calls[tiles[0]];
    expectNums(settled.num, {0, 0, 32, 32, 98, 611, 29, 29, 0, 0, 0});
    EXPECT_EQ(rgba(settled.color), rgba(kPieceColors[2]));
    expectNums(calls[tiles[0] + 1].num, {98, 611, 29, 29});
    EXPECT_EQ(rgba(calls[tiles[0] + 1].color), (std::vector<int>{80, 80, 80, 255}));
    EXPECT_EQ(rgba(calls[tiles[1]].color), rgba(kPieceColors[1]));
    expectNums(dest(calls[tiles[1]]), {301, 611, 29, 29});

    // Ghost on the floor (the T's flat side on row 19), then the piece at row 0.
    expectNums(dest(calls[tiles[2]]), {156, 582, 29, 29});
    Color ghost = kPieceColors[4];
    ghost.a = 90;
    EXPECT_EQ(rgba(calls[tiles[2]].color), rgba(ghost));
    EXPECT_EQ(rgba(calls[tiles[2] + 1].color), (std::vector<int>{0, 0, 0, 76}));
    EXPECT_EQ(tiles[2], tiles[1] + 2) << "the ghost follows the well's last cell";
    expectNums(dest(calls[tiles[6]]), {156, 60, 29, 29});
    EXPECT_EQ(rgba(calls[tiles[6]].color), rgba(kPieceColors[4]));
    EXPECT_EQ(rgba(calls[tiles[6] + 1].color), (std::vector<int>{0, 0, 0, 255}));

    // NEXT box with the I at its rotation-0 offsets, then the empty HOLD box.
    const int nextBox = indexOf(calls, "DrawRectangleRec", tiles[9]);
    expectNums(calls[nextBox].num, {400, 110, 107, 107});
    EXPECT_EQ(rgba(calls[nextBox].color), (std::vector<int>{80, 80, 80, 255}));
    expectNums(calls[nextBox + 1].num, {400, 110, 107, 107, 3});
    EXPECT_EQ(calls[nextBox + 2].text, "NEXT");
    expectNums(calls[nextBox + 2].num, {420, 90, 20});
    EXPECT_EQ(tiles[10], nextBox + 3);
    expectNums(dest(calls[tiles[10]]), {410, 141.75, 21.75, 21.75});
    expectNums(dest(calls[tiles[13]]), {475.25, 141.75, 21.75, 21.75});
    expectNums(calls[tiles[13] + 1].num, {475, 141, 21, 21});

    const int holdBox = tiles[13] + 2;
    EXPECT_EQ(calls[holdBox].fn, "DrawRectangleRec");
    expectNums(calls[holdBox].num, {400, 270, 107, 107});
    expectNums(calls[holdBox + 1].num, {400, 270, 107, 107, 3});
    EXPECT_EQ(calls[holdBox + 2].text, "HOLD");
    expectNums(calls[holdBox + 2].num, {420, 235, 20});

    // Read-outs at x 410 from y 400, last of all in the Playing phase.
    const std::vector<std::vector<float>> readouts = {{410, 400, 24}, {410, 435, 28},
                                                      {410, 490, 24}, {410, 525, 32},
                                                      {410, 580, 24}, {410, 615, 28}};
    const std::vector<std::string> texts = {"SCORE", "00000000", "LEVEL", "01", "LINES", "0000"};
    ASSERT_EQ(static_cast<int>(calls.size()), holdBox + 3 + 6);
    for (int i = 0; i < 6; ++i) {
        const standin::Call& call = calls[static_cast<std::size_t>(holdBox + 3 + i)];
        EXPECT_EQ(call.fn, "DrawText");
        EXPECT_EQ(call.text, texts[static_cast<std::size_t>(i)]);
        expectNums(call.num, readouts[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(rgba(calls[holdBox + 4].color), (std::vector<int>{253, 249, 0, 255}));
    EXPECT_EQ(rgba(calls[holdBox + 6].color), (std::vector<int>{255, 161, 0, 255}));
    EXPECT_EQ(rgba(calls[holdBox + 8].color), (std::vector<int>{102, 191, 255, 255}));
}

TEST_F(RendererTest, AnEnteredSceneDrawsOverItsBackgroundWithTheStoredBlockTile) {
    SceneManager scenes;
    gameScene.enter(scenes);
    board[19][0] = 1;
    const Calls calls = draw();

    const Texture2D beach = TextureStore::instance().textures.at("bg_beach");
    ASSERT_NE(beach.id, 0u);
    ASSERT_EQ(calls.at(0).fn, "DrawTexturePro");
    EXPECT_EQ(calls[0].handle, beach.id);
    expectNums(dest(calls[0]), {0, 0, 900, 700});
    EXPECT_EQ(rgba(calls[0].color), (std::vector<int>{255, 255, 255, 255}));
    expectNums(calls.at(1).num, {-120, 30, 670, 640}); // the panel of the real layout

    const unsigned int tile = TextureStore::instance().textures.at("tx_block").id;
    ASSERT_NE(tile, 0u);
    int tiles = 0;
    for (const standin::Call& call : calls) {
        if (call.fn == "DrawTexturePro" && call.handle != beach.id) {
            EXPECT_EQ(call.handle, tile);
            ++tiles;
        }
    }
    EXPECT_EQ(tiles, 1 + 4 + 4 + 4) << "settled cell, ghost, falling piece, NEXT";
}

TEST_F(RendererTest, ShakeMovesTheWellAndItsPiecesButNotThePanelBoxesReadoutsOrParticles) {
    board[19][0] = 1;
    gameScene.rowFlashes.push_back(RowFlash{19, 0.1f});
    gameScene.particles.push_back(Particle{{200, 300}, {}, WHITE, 1.0f, 10.0f, 0, 0});
    gameScene.sparkleFrames.push_back(Texture2D{42, 32, 32, 1, 0});
    gameScene.holdType = PieceType::O;
    gameScene.shakeOffset = Vector2{5, -3};

    gameScene.shakeTime = 0.0f; // a stale offset without shake time moves nothing
    const Calls still = draw();
    gameScene.shakeTime = 0.1f;
    const Calls shaken = draw();
    ASSERT_EQ(still.size(), shaken.size());

    std::vector<std::string> moved;
    std::vector<std::string> fixed;
    for (std::size_t i = 0; i < still.size(); ++i) {
        const standin::Call& a = still[i];
        const standin::Call& b = shaken[i];
        ASSERT_EQ(a.fn, b.fn);
        const std::size_t at = a.fn == "DrawTexturePro" ? 4 : 0;
        const float dx = b.num[at] - a.num[at];
        const float dy = b.num[at + 1] - a.num[at + 1];
        const bool isMoved = dx != 0.0f || dy != 0.0f;
        if (isMoved) {
            EXPECT_NEAR(dx, 5.0f, 1e-3) << a.fn << " " << i;
            EXPECT_NEAR(dy, -3.0f, 1e-3) << a.fn << " " << i;
        }
        std::string what = a.fn + (a.text.empty() ? "" : ":" + a.text);
        if (a.fn == "DrawTexturePro") {
            what += a.handle == kBlockId ? ":block" : ":particle";
        }
        (isMoved ? moved : fixed).push_back(what);
    }
    // Frame, 200 cell outlines, the settled tile, flash, 4 ghost and 4 falling tiles
    // with their outlines.
    EXPECT_EQ(moved.size(), 1u + 200u + 1u + 1u + 8u + 8u);
    EXPECT_EQ(moved[0], "DrawRectangleLinesEx");
    const std::vector<std::string> expectedFixed = {"DrawRectangleRec",        "DrawText:KOLVEX",
                                                    "DrawTexturePro:particle", "DrawRectangleRec",
                                                    "DrawRectangleLinesEx",    "DrawText:NEXT"};
    ASSERT_GE(fixed.size(), expectedFixed.size());
    for (std::size_t i = 0; i < expectedFixed.size(); ++i) {
        EXPECT_EQ(fixed[i], expectedFixed[i]);
    }
    // Panel, title, particle; each box with its outline, label and four outlined
    // tiles; the six read-outs.
    EXPECT_EQ(fixed.size(), 3u + 2u * (3u + 8u) + 6u);
}

TEST_F(RendererTest, CellsAboveTheTopRowAndTheEmptyHoldBoxDrawNothing) {
    // A vertical I (column 2 of its box) at column 5, its box two rows above the well,
    // resting on a stack that starts at row 2 so that its ghost stays up there too.
    gameScene.pieceType = PieceType::I;
    gameScene.pieceRotation = 1;
    gameScene.pieceX = 3;
    gameScene.pieceY = -2;
    for (int row = 2; row < 20; ++row) {
        board[static_cast<std::size_t>(row)][5] = 2;
    }
    nextPieceType = PieceType::None;
    const Calls calls = draw();
    const std::vector<int> tiles = blockTiles(calls);
    ASSERT_EQ(tiles.size(), 18u + 2u + 2u) << "stack, ghost, falling; no previews";
    for (int k = 0; k < 2; ++k) {
        const float y = 60.0f + 29.0f * static_cast<float>(k);
        expectNums(dest(calls[tiles[18 + static_cast<std::size_t>(k)]]), {185, y, 29, 29});
        expectNums(dest(calls[tiles[20 + static_cast<std::size_t>(k)]]), {185, y, 29, 29});
    }
    EXPECT_EQ(calls[tiles[18]].color.a, 90);
    EXPECT_EQ(calls[tiles[20]].color.a, 255);

    // Boxes and labels are still drawn with nothing in them.
    const int hold = indexOfText(calls, "DrawText", "HOLD");
    ASSERT_GT(hold, 0);
    expectNums(calls[static_cast<std::size_t>(hold - 2)].num, {400, 270, 107, 107});
    EXPECT_EQ(calls[static_cast<std::size_t>(hold + 1)].text, "SCORE");
    EXPECT_GE(indexOfText(calls, "DrawText", "NEXT"), 0);
}

TEST_F(RendererTest, ReadoutsPadToTheirWidthAndPrintWiderValuesInFull) {
    struct Case {
        std::uint32_t score;
        std::uint16_t level;
        std::uint16_t lines;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {123, 3, 7, {"00000123", "03", "0007"}},
        {123456789, 123, 12345, {"123456789", "123", "12345"}},
        {4000000000u, 65535, 65535, {"4000000000", "65535", "65535"}},
    };
    for (const Case& c : cases) {
        gameScene.score = c.score;
        gameScene.level = c.level;
        gameScene.lines = c.lines;
        const Calls calls = draw();
        const int score = indexOfText(calls, "DrawText", "SCORE");
        ASSERT_GE(score, 0);
        EXPECT_EQ(calls[static_cast<std::size_t>(score + 1)].text, c.shown[0]);
        EXPECT_EQ(calls[static_cast<std::size_t>(score + 3)].text, c.shown[1]);
        EXPECT_EQ(calls[static_cast<std::size_t>(score + 5)].text, c.shown[2]);
    }
}

TEST_F(RendererTest, CountdownShowsItsNumberCentredAndNothingForFour) {
    gameScene.phase = GamePhase::Countdown;
    gameScene.countdownScale = 1.2f;
    gameScene.countdownAlpha = 0.8f;

    gameScene.countdownValue = 4;
    draw();
    EXPECT_EQ(standin::countCalls("DrawTextPro"), 0);
    EXPECT_EQ(standin::countCalls("MeasureTextEx"), 0);

    const std::vector<std::pair<int, std::string>> values = {
        {3, "3"}, {2, "2"}, {1, "1"}, {0, "GO!!"}};
    for (const auto& [value, text] : values) {
        gameScene.countdownValue = static_cast<std::int8_t>(value);
        const Calls calls = draw();
        ASSERT_EQ(calls.back().fn, "DrawTextPro") << "the countdown lies on top";
        const standin::Call& shown = calls.back();
        EXPECT_EQ(shown.text, text);
        const Vector2 m = standin::measure(text.c_str(), 144.0f, 0.0f);
        expectNums(shown.num, {450, 350, m.x * 0.5f, m.y * 0.5f, 0, 144, 4});
        EXPECT_EQ(rgba(shown.color), (std::vector<int>{255, 255, 255, 204}));
        const Calls measured = standin::callsNamed("MeasureTextEx");
        ASSERT_EQ(measured.size(), 1u);
        expectNums(std::vector<float>(measured[0].num.begin(), measured[0].num.begin() + 2),
                   {144, 0});
    }

    gameScene.phase = GamePhase::Playing; // "GO!!" belongs to the countdown only
    draw();
    EXPECT_EQ(standin::countCalls("DrawTextPro"), 0);
}

// In the game's picture, whatever the window's size.
TEST_F(RendererTest, PauseOverlayDimsThePictureAndCentresItsTitleAndItems) {
    standin::setScreenSize(1000, 800);
    gameScene.phase = GamePhase::Paused;
    for (int selection = 0; selection < 2; ++selection) {
        gameScene.pauseSelection = selection;
        const Calls calls = draw();
        const int lines = indexOfText(calls, "DrawText", "0000");
        ASSERT_GE(lines, 0);
        const standin::Call& dim = calls[static_cast<std::size_t>(lines + 1)];
        EXPECT_EQ(dim.fn, "DrawRectangle");
        expectNums(dim.num, {0, 0, 900, 700});
        EXPECT_EQ(rgba(dim.color), (std::vector<int>{0, 0, 0, 140}));

        const standin::Call& pause = calls[static_cast<std::size_t>(lines + 2)];
        EXPECT_EQ(pause.text, "PAUSE");
        expectNums(pause.num, {450, 250, 75, 30, 0, 60, 4});
        EXPECT_EQ(rgba(pause.color), (std::vector<int>{255, 255, 255, 255}));

        // The items are the menu routine's: centred 120 px either side, 20 px down,
        // at full white only when selected.
        const int resume = indexOfText(calls, "DrawTextPro", "RESUME");
        const int quit = indexOfText(calls, "DrawTextPro", "QUIT");
        ASSERT_GT(resume, lines + 2);
        ASSERT_GT(quit, resume);
        expectNums(std::vector<float>(calls[resume].num.begin(), calls[resume].num.begin() + 2),
                   {330, 370});
        expectNums(std::vector<float>(calls[quit].num.begin(), calls[quit].num.begin() + 2),
                   {570, 370});
        EXPECT_EQ(calls[resume].color.a, selection == 0 ? 255 : 127);
        EXPECT_EQ(calls[quit].color.a, selection == 1 ? 255 : 127);
    }
}

TEST_F(RendererTest, FallingPieceShrinksAndFadesWhileTheCometFliesAboveTheDimming) {
    gameScene.pieceType = PieceType::O;
    gameScene.pieceX = 4;
    gameScene.pieceY = 5;
    gameScene.holdTransfer = HoldTransfer{HoldState::Fly, 0.075f, {170, 227}, {453.5f, 323.5f}};
    gameScene.rowFlashes.push_back(RowFlash{3, 0.1f});
    Calls calls = draw();

    const int dim = indexOf(calls, "DrawRectangle");
    ASSERT_GT(dim, 0);
    expectNums(calls[dim].num, {0, 0, 900, 700});
    EXPECT_EQ(calls[dim - 1].fn, "DrawCircleV");
    const std::vector<int> tiles = blockTiles(calls);
    ASSERT_EQ(tiles.size(), 12u);
    EXPECT_LT(tiles[3], dim) << "the ghost lies under the dimming";
    EXPECT_LT(indexOf(calls, "DrawRectangleRec", 1), dim) << "so do the flashes";
    EXPECT_GT(tiles[4], dim) << "the falling piece and everything after it do not";
    EXPECT_GT(indexOfText(calls, "DrawText", "HOLD"), dim);

    // Half way: 92.5 % of a cell, centred, half transparent; the outline stays black.
    const float s = 29.0f * 0.925f;
    const float x = 4 * 29 + 40 + 14.5f - s / 2;
    const float y = 5 * 29 + 60 + 14.5f - s / 2;
    expectNums(dest(calls[tiles[4]]), {x, y, s, s});
    EXPECT_EQ(calls[tiles[4]].color.a, 127);
    expectNums(calls[tiles[4] + 1].num, {static_cast<float>(static_cast<int>(x)),
                                         static_cast<float>(static_cast<int>(y)), 26, 26});
    EXPECT_EQ(rgba(calls[tiles[4] + 1].color), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(calls[tiles[0]].color.a, 90) << "the ghost keeps its size and alpha";
    expectNums(std::vector<float>(calls[tiles[0]].num.begin() + 6, calls[tiles[0]].num.begin() + 8),
               {29, 29});

    gameScene.holdTransfer.timer = 0.2f; // past the flight: 85 %, invisible but outlined
    calls = draw();
    const standin::Call& gone = calls[blockTiles(calls)[4]];
    EXPECT_NEAR(gone.num[6], 29.0f * 0.85f, 1e-3);
    EXPECT_EQ(gone.color.a, 0);

    gameScene.holdTransfer.state = HoldState::Settle; // whole again outside the flight
    gameScene.holdTransfer.timer = 0.01f;
    calls = draw();
    const standin::Call& whole = calls[blockTiles(calls)[4]];
    expectNums(dest(whole), {156, 205, 29, 29});
    EXPECT_EQ(whole.color.a, 255);
}

TEST_F(RendererTest, DrawingChangesNoGameOrEffectState) {
    board[19][4] = 5;
    gameScene.score = 900;
    gameScene.holdType = PieceType::Z;
    gameScene.particles.push_back(Particle{{200, 300}, {10, -20}, GOLD, 0.3f, 12.0f, 0, 0});
    gameScene.rowFlashes.push_back(RowFlash{19, 0.1f});
    gameScene.shakeTime = 0.1f;
    gameScene.shakeOffset = Vector2{-4, 2};
    gameScene.holdTransfer = HoldTransfer{HoldState::Lift, 0.05f, {170, 227}, {453.5f, 323.5f}};
    const auto snapshot = [] {
        const GameScene& g = gameScene;
        const Particle& p = g.particles.at(0);
        const auto d = [](auto v) { return static_cast<double>(v); };
        return std::vector<double>{d(g.score),
                                   d(g.level),
                                   d(g.lines),
                                   d(g.cellSize),
                                   d(pieceIndex(g.holdType)),
                                   d(pieceIndex(g.pieceType)),
                                   d(g.pieceRotation),
                                   d(g.pieceX),
                                   d(g.pieceY),
                                   d(g.shakeTime),
                                   d(g.shakeOffset.x),
                                   d(g.shakeOffset.y),
                                   d(static_cast<int>(g.holdTransfer.state)),
                                   d(g.holdTransfer.timer),
                                   d(g.holdTransfer.start.x),
                                   d(g.holdTransfer.target.y),
                                   d(p.position.x),
                                   d(p.position.y),
                                   d(p.velocity.y),
                                   d(p.life),
                                   d(p.color.a),
                                   d(g.rowFlashes.at(0).timeLeft),
                                   d(g.particles.size()),
                                   d(g.rowFlashes.size()),
                                   d(g.countdownTime),
                                   d(g.countdownValue),
                                   d(g.countdownScale),
                                   d(g.pauseSelection),
                                   d(playfieldLayout.boardOriginX),
                                   d(playfieldLayout.holdCellSize),
                                   d(pieceIndex(nextPieceType))};
    };
    const std::vector<double> before = snapshot();
    const std::vector<std::vector<std::int32_t>> boardBefore = board;
    for (GamePhase phase : {GamePhase::Countdown, GamePhase::Playing, GamePhase::Paused}) {
        gameScene.phase = phase;
        draw();
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(board, boardBefore);
    }
    EXPECT_TRUE(standin::randomRequests().empty()) << "the shake is drawn, never rolled";
}

} // namespace
