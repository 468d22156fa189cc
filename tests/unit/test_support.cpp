#include "test_support.h"

#include "app/controls.h"
#include "app/pointer.h"
#include "app/touch_gestures.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "render/playfield_layout.h"
#include "save/save_file_ops.h"
#include "scenes/game_over_scene.h"
#include "scenes/title_scene.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include <stdlib.h>

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
    saveFileOps = kRealSaveFileOps;
    padState = PadState{};
    pointerState = PointerState{};
    touchGesture = TouchGesture{};
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
        "DrawRectangle", "DrawRectangleRec", "DrawRectangleLines", "DrawRectangleLinesEx",
        "DrawLineEx",    "DrawCircleV",      "DrawTexturePro",     "DrawText",
        "DrawTextPro",   "ClearBackground"};
    std::vector<standin::Call> out;
    for (const standin::Call& call : standin::calls()) {
        if (kDraws.count(call.fn) > 0) {
            out.push_back(call);
        }
    }
    return out;
}

TempWorkingDir::TempWorkingDir() {
    const char* base = std::getenv("KOLVEX_TEST_TMP");
    const std::filesystem::path root = base != nullptr && *base != '\0'
                                           ? std::filesystem::path(base)
                                           : std::filesystem::temp_directory_path();
    std::filesystem::create_directories(root);
    std::string pattern = (root / "kolvex-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory under " << root;
        return;
    }
    previous = std::filesystem::current_path().string();
    path = pattern;
    std::filesystem::current_path(path);
}

TempWorkingDir::~TempWorkingDir() {
    if (path.empty()) {
        return;
    }
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> TempWorkingDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<int> rgba(Color c) {
    return {c.r, c.g, c.b, c.a};
}

void expectNums(const std::vector<float>& actual, const std::vector<float>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-3) << "value " << i;
    }
}

void runGameFrames(int n) {
    for (int i = 0; i < n; ++i) {
        gameScene.update();
        standin::nextFrame();
    }
}
