#include "test_support.h"

#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/playfield_layout.h"
#include "scenes/game_over_scene.h"
#include "scenes/title_scene.h"

#include <set>

void resetWorld() {
    standin::reset();
    TextureStore::instance() = TextureStore{};
    AudioManager::instance() = AudioManager{};
    titleScene = TitleScene{};
    gameScene = GameScene{};
    gameOverScene = GameOverScene{};
    board.clear();
    nextPieceType = PieceType::I;
    playfieldLayout = PlayfieldLayout{};
    blockTexture = Texture2D{};
}

std::vector<std::string> playedSounds() {
    std::vector<std::string> names;
    for (const standin::Call& call : standin::callsNamed("PlaySound")) {
        std::string name = "?";
        for (const auto& [key, sound] : AudioManager::instance().sounds) {
            if (standin::soundId(sound) == call.handle) {
                name = key;
            }
        }
        names.push_back(name);
    }
    return names;
}

std::string musicName(unsigned int id) {
    for (const auto& [key, entry] : AudioManager::instance().musics) {
        if (standin::musicId(entry.intro) == id || standin::musicId(entry.loop) == id) {
            return key;
        }
    }
    return "?";
}

std::vector<standin::Call> drawCalls() {
    static const std::set<std::string> kDraws = {
        "DrawRectangle",  "DrawRectangleRec", "DrawRectangleLines", "DrawRectangleLinesEx",
        "DrawLineEx",     "DrawCircleV",      "DrawTexturePro",     "DrawText",
        "DrawTextPro",    "ClearBackground"};
    std::vector<standin::Call> out;
    for (const standin::Call& call : standin::calls()) {
        if (kDraws.count(call.fn) > 0) {
            out.push_back(call);
        }
    }
    return out;
}
