// Prints as JSON what the end-to-end player must know of the game to read it
// off the screen: the pieces' cells and colours, the well's size and spawn
// column, and where the well and the preview boxes stand in the window. Run at
// build time, so the player takes these from the game's own tables.
#include "app/application.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/playfield_layout.h"
#include "stand_in/stand_in.h"

#include <cstdio>

namespace {

const char* const kPieceNames = "IOSZTLJ";

void printShapes() {
    std::printf("  \"shapes\": {\n");
    for (int type = 0; type < kPieceTypeCount; ++type) {
        std::printf("    \"%c\": [", kPieceNames[type]);
        for (int rotation = 0; rotation < kRotationCount; ++rotation) {
            std::printf("%s[", rotation == 0 ? "" : ", ");
            for (int cell = 0; cell < kPieceCellCount; ++cell) {
                const CellOffset& offset = kPieceShapes[type][rotation][cell];
                std::printf("%s[%d, %d]", cell == 0 ? "" : ", ", offset.x, offset.y);
            }
            std::printf("]");
        }
        std::printf("]%s\n", type + 1 < kPieceTypeCount ? "," : "");
    }
    std::printf("  },\n");
}

void printColours() {
    std::printf("  \"colours\": {");
    for (int type = 0; type < kPieceTypeCount; ++type) {
        const Color& c = kPieceColors[type];
        std::printf("%s\"%c\": [%d, %d, %d]", type == 0 ? "" : ", ", kPieceNames[type], c.r, c.g,
                    c.b);
    }
    std::printf("},\n");
}

} // namespace

int main() {
    standin::setScreenSize(kWindowWidth, kWindowHeight);
    GameScene game;
    computePlayfieldLayout(game);
    const PlayfieldLayout& layout = playfieldLayout;

    std::printf("{\n");
    std::printf("  \"window\": [%d, %d],\n", kWindowWidth, kWindowHeight);
    printShapes();
    printColours();
    std::printf("  \"well\": {\"columns\": %d, \"rows\": %d, \"spawn_column\": %d},\n",
                game.boardWidth, game.boardHeight, spawnColumn(game));
    std::printf("  \"cell\": %d, \"well_origin\": [%g, %g],\n", game.cellSize, layout.boardOriginX,
                layout.boardOriginY);
    std::printf("  \"preview_cell\": %g, \"next_origin\": [%g, %g], \"hold_origin\": [%g, %g]\n",
                layout.nextCellSize, layout.nextPanelX, layout.nextPanelY, layout.holdPanelX,
                layout.holdPanelY);
    std::printf("}\n");
    return 0;
}
