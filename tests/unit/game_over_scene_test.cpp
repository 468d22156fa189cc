// The game-over scene: what it loads and records on entry, its layout, the
// five-second input delay and the RETRY/QUIT menu.
#include "test_support.h"

#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"
#include "game/game_scene.h"
#include "scenes/game_over_scene.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const char* const kSave = "kolvex.sav";

void writeFile(const std::string& bytes) {
    std::ofstream out(kSave, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile() {
    std::ifstream in(kSave, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool sameColour(Color a, Color b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

class GameOverSceneTest : public KolvexTest {
protected:
    TempWorkingDir dir;
    SceneManager manager;
    std::string trace;

    // Enters the way the frame loop does after the game scene's exit.
    void enterAfterGame(std::uint32_t score, std::uint16_t lines, std::uint16_t level) {
        gameScene.score = score;
        gameScene.lines = lines;
        gameScene.level = level;
        manager.current = SceneId::GameOver;
        testing::internal::CaptureStdout();
        manager.enterScene();
        trace = testing::internal::GetCapturedStdout();
    }

    // One frame of the loop with these keys pressed; returns that frame's draw calls.
    std::vector<standin::Call> frame(std::initializer_list<int> keys = {}) {
        for (int key : keys) {
            standin::pressNow(key);
        }
        gameOverScene.update();
        const std::size_t before = drawCalls().size();
        gameOverScene.draw();
        std::vector<standin::Call> drawn = drawCalls();
        drawn.erase(drawn.begin(), drawn.begin() + static_cast<std::ptrdiff_t>(before));
        standin::nextFrame();
        return drawn;
    }

    // Runs frames of 0.25 s (exact in binary) until `elapsed` is exactly 5.0,
    // pressing every menu key in each of them.
    void waitOutTheDelayMashingKeys() {
        standin::setFrameTime(0.25f);
        for (int i = 0; i < 20; ++i) {
            frame({KEY_DOWN, KEY_S, KEY_UP, KEY_W, KEY_ENTER});
        }
        ASSERT_EQ(gameOverScene.elapsed, 5.0f);
    }

    void arm() {
        standin::setFrameTime(5.5f);
        frame();
        standin::setFrameTime(1.0f / 60.0f);
    }
};

const standin::Call* findText(const std::vector<standin::Call>& calls, const std::string& fn,
                              const std::string& text) {
    for (const standin::Call& call : calls) {
        if (call.fn == fn && call.text == text) {
            return &call;
        }
    }
    return nullptr;
}

TEST_F(GameOverSceneTest, EnterPlaysTheOneMusicFileAsIntroAndLoopAndLoadsTheSoundsInOrder) {
    enterAfterGame(1200, 12, 2);

    const auto musicLoads = standin::callsNamed("LoadMusicStreamFromMemory");
    ASSERT_EQ(musicLoads.size(), 2u);
    for (const standin::Call& load : musicLoads) {
        EXPECT_EQ(load.num[0], static_cast<float>(bgm_gameover_ogg_len));
    }
    const auto plays = standin::callsNamed("PlayMusicStream");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].handle, musicLoads[0].handle) << "the intro starts";
    EXPECT_EQ(musicName(plays[0].handle), "bgm_gameover");

    std::vector<float> waveSizes;
    for (const standin::Call& load : standin::callsNamed("LoadWaveFromMemory")) {
        waveSizes.push_back(load.num[0]);
    }
    EXPECT_EQ(waveSizes, (std::vector<float>{static_cast<float>(sfx_confirm_ogg_len),
                                             static_cast<float>(sfx_quit_ogg_len),
                                             static_cast<float>(sfx_select_ogg_len),
                                             static_cast<float>(sfx_gameover_ogg_len)}));
    for (const char* name : {"sfx_confirm", "sfx_quit", "sfx_select", "sfx_gameover"}) {
        EXPECT_EQ(AudioManager::instance().sounds.count(name), 1u) << name;
    }
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sfx_gameover"});
    EXPECT_TRUE(standin::logLines().empty());
}

TEST_F(GameOverSceneTest, MissingMusicWarnsAndTheSceneStillWorks) {
    standin::failMusicDecodes(2);
    enterAfterGame(10, 1, 1);

    ASSERT_EQ(standin::logLines().size(), 1u);
    EXPECT_EQ(standin::logLines()[0].level, LOG_WARNING);
    EXPECT_EQ(standin::logLines()[0].text, "Failed to load BGM!");
    EXPECT_EQ(standin::countCalls("PlayMusicStream"), 0);
    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sfx_gameover"});
    EXPECT_EQ(readFile(), "SAV\n1\n10\n1\n1\n");
    arm();
    frame({KEY_ENTER});
    EXPECT_EQ(manager.next, SceneId::Game);
}

TEST_F(GameOverSceneTest, FirstGameShowsItsOwnScoreAsBestAndCreatesTheFile) {
    enterAfterGame(1200, 12, 2);

    EXPECT_EQ(readFile(), "SAV\n1\n1200\n12\n2\n");
    EXPECT_EQ(trace, "1200 | 0\n12 | 0\n2 | 0\n");
    const auto drawn = frame();
    EXPECT_NE(findText(drawn, "DrawText", "SCORE: 1200"), nullptr);
    EXPECT_NE(findText(drawn, "DrawText", "HIGH SCORE: 1200"), nullptr);
}

TEST_F(GameOverSceneTest, LowerScoreShowsTheStoredBestAndStillRewritesTheFile) {
    writeFile("SAV\r\n1\r\n5000\r\n40\r\n6\r\n");
    enterAfterGame(100, 50, 2);

    EXPECT_EQ(readFile(), "SAV\n1\n5000\n50\n6\n");
    EXPECT_EQ(trace, "100 | 5000\n50 | 40\n2 | 6\n");
    const auto drawn = frame();
    EXPECT_NE(findText(drawn, "DrawText", "SCORE: 100"), nullptr);
    EXPECT_NE(findText(drawn, "DrawText", "HIGH SCORE: 5000"), nullptr);

    // A game over the stored best shows the same number twice.
    gameOverScene.exit();
    enterAfterGame(7000, 1, 1);
    const auto again = frame();
    EXPECT_NE(findText(again, "DrawText", "SCORE: 7000"), nullptr);
    EXPECT_NE(findText(again, "DrawText", "HIGH SCORE: 7000"), nullptr);
}

TEST_F(GameOverSceneTest, ASaveThatFailedIsShownInOneLineUntilASaveSucceeds) {
    writeFile("SAV\n1\n5000\n40\n6\n");
    std::filesystem::permissions(kSave, std::filesystem::perms::owner_read);
    enterAfterGame(100, 50, 2);
    EXPECT_EQ(readFile(), "SAV\n1\n5000\n40\n6\n");
    const auto failed = frame();
    const standin::Call* line = findText(failed, "DrawText", "BESTS NOT SAVED");
    ASSERT_NE(line, nullptr);
    // "BESTS NOT SAVED" at 20 is 178 wide in the stand-in's font.
    EXPECT_EQ(line->num, (std::vector<float>{361, 250, 20}));
    EXPECT_TRUE(sameColour(line->color, RED));

    gameOverScene.exit();
    std::filesystem::permissions(kSave, std::filesystem::perms::owner_all);
    enterAfterGame(100, 50, 2);
    EXPECT_EQ(readFile(), "SAV\n1\n5000\n50\n6\n");
    EXPECT_EQ(findText(frame(), "DrawText", "BESTS NOT SAVED"), nullptr);
}

// The screen is laid out in the game's picture; the window shows that picture
// at whatever size it has.
TEST_F(GameOverSceneTest, LayoutIsTheGamesAtAnyWindowSize) {
    struct Case {
        int width, height;
        float titleX, scoreX, bestX;
        float titleY, scoreY, bestY;
        float itemX, retryY, quitY;
    };
    // Texts are measured by the stand-in's font: "GAME OVER" at 36 is 186 wide,
    // "SCORE: 1200" and "HIGH SCORE: 1200" at 24 are 152 and 222 wide.
    const std::vector<Case> cases = {
        {900, 700, 357, 374, 339, 122, 178, 210, 450.0f, 370.0f, 410.0f},
        {801, 601, 357, 374, 339, 122, 178, 210, 450.0f, 370.0f, 410.0f},
        {1920, 1080, 357, 374, 339, 122, 178, 210, 450.0f, 370.0f, 410.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        resetWorld();
        standin::setScreenSize(c.width, c.height);
        enterAfterGame(1200, 12, 2);
        const auto drawn = frame();

        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn[0].fn, "DrawRectangleRec");
        EXPECT_EQ(drawn[0].num, (std::vector<float>{0, 0, 900, 700}));
        EXPECT_TRUE(sameColour(drawn[0].color, BLACK));

        const auto texts = standin::callsNamed("DrawText");
        ASSERT_EQ(texts.size(), 3u);
        const std::vector<std::string> names = {"GAME OVER", "SCORE: 1200", "HIGH SCORE: 1200"};
        const std::vector<std::vector<float>> where = {
            {c.titleX, c.titleY, 36}, {c.scoreX, c.scoreY, 24}, {c.bestX, c.bestY, 24}};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, names[i]);
            EXPECT_EQ(texts[i].num, where[i]) << names[i];
            EXPECT_TRUE(sameColour(texts[i].color, RED)) << names[i];
        }

        const standin::Call* retry = findText(drawn, "DrawTextPro", "RETRY");
        const standin::Call* quit = findText(drawn, "DrawTextPro", "QUIT");
        ASSERT_NE(retry, nullptr);
        ASSERT_NE(quit, nullptr);
        EXPECT_EQ(retry->num[0], c.itemX);
        EXPECT_EQ(retry->num[1], c.retryY);
        EXPECT_EQ(quit->num[0], c.itemX);
        EXPECT_EQ(quit->num[1], c.quitY);
        EXPECT_FLOAT_EQ(retry->num[5], 21.0f) << "highlighted at time 0: 1.05 x 20";
        EXPECT_EQ(quit->num[5], 20.0f);
        EXPECT_NE(findText(drawn, "DrawTextPro", ">"), nullptr);
    }
}

TEST_F(GameOverSceneTest, KeysAreIgnoredUpToExactlyFiveSecondsAndEntriesTurnRedAfter) {
    enterAfterGame(300, 3, 1);
    waitOutTheDelayMashingKeys();

    EXPECT_EQ(playedSounds(), std::vector<std::string>{"sfx_gameover"});
    EXPECT_FALSE(manager.switchPending);
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    EXPECT_TRUE(TextureStore::instance().holds("bg_beach") &&
                AudioManager::instance().holdsSound("sfx_countdown"))
        << "what a retry's first frame needs loads while the keys wait";

    // Still exactly 5.0: drawing again shows grey entries.
    standin::clearCalls();
    gameOverScene.draw();
    const auto grey = drawCalls();
    const standin::Call* retry = findText(grey, "DrawTextPro", "RETRY");
    const standin::Call* quit = findText(grey, "DrawTextPro", "QUIT");
    ASSERT_NE(retry, nullptr);
    ASSERT_NE(quit, nullptr);
    EXPECT_TRUE(sameColour(retry->color, GRAY));
    EXPECT_TRUE(sameColour(quit->color, Fade(GRAY, 0.5f)));

    const auto red = frame();
    retry = findText(red, "DrawTextPro", "RETRY");
    quit = findText(red, "DrawTextPro", "QUIT");
    ASSERT_NE(retry, nullptr);
    ASSERT_NE(quit, nullptr);
    EXPECT_TRUE(sameColour(retry->color, RED));
    EXPECT_TRUE(sameColour(quit->color, Fade(RED, 0.5f)));
}

TEST_F(GameOverSceneTest, MusicIsRefilledEveryFrameArmedOrNot) {
    enterAfterGame(300, 3, 1);
    standin::setFrameTime(0.5f);
    int updates = 0;
    for (int i = 0; i < 14; ++i) {
        standin::clearCalls();
        gameOverScene.update();
        updates += standin::countCalls("UpdateMusicStream");
        standin::nextFrame();
    }
    EXPECT_GT(gameOverScene.elapsed, 5.0f);
    EXPECT_EQ(updates, 14);
}

TEST_F(GameOverSceneTest, MenuMovesWithoutWrappingAndEnterActsOnTheEntryTheFrameBeganWith) {
    enterAfterGame(300, 3, 1);
    arm();
    const std::size_t before = playedSounds().size();

    frame({KEY_UP});
    EXPECT_EQ(playedSounds().size(), before) << "Up on Retry";
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);

    frame({KEY_S});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit);
    frame({KEY_DOWN});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit) << "Down on Quit";
    frame({KEY_W});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    frame({KEY_DOWN});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit);
    EXPECT_FALSE(manager.switchPending);

    frame({KEY_UP, KEY_ENTER});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Title);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_gameover", "sfx_select", "sfx_select",
                                                        "sfx_select", "sfx_select", "sfx_quit"}));
}

TEST_F(GameOverSceneTest, DownAndEnterTogetherOnRetryStartANewGame) {
    enterAfterGame(300, 3, 1);
    arm();
    frame({KEY_DOWN, KEY_ENTER});
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit);
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Game);
    EXPECT_EQ(playedSounds(),
              (std::vector<std::string>{"sfx_gameover", "sfx_select", "sfx_confirm"}));
}

TEST_F(GameOverSceneTest, ASecondVisitStartsOnRetryWithAFreshDelay) {
    enterAfterGame(300, 3, 1);
    arm();
    frame({KEY_DOWN});
    ASSERT_EQ(gameOverScene.selection, GameOverChoice::Quit);

    standin::clearCalls();
    manager.exitScene();
    EXPECT_EQ(standin::countCalls("StopMusicStream"), 2) << "intro and loop";
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    EXPECT_EQ(gameOverScene.elapsed, 0.0f);
    EXPECT_EQ(gameOverScene.score, 0u);
    EXPECT_EQ(gameOverScene.best, 0u);

    enterAfterGame(200, 2, 1);
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    EXPECT_EQ(gameOverScene.best, 300u);
    const std::size_t before = playedSounds().size();
    waitOutTheDelayMashingKeys();
    EXPECT_EQ(playedSounds().size(), before);
    EXPECT_FALSE(manager.switchPending);

    frame({KEY_ENTER});
    EXPECT_EQ(manager.next, SceneId::Game);
}

TEST_F(GameOverSceneTest, ThePointerWaitsOutTheDelayThenHighlightsAndChooses) {
    enterAfterGame(100, 1, 1);
    standin::setFrameTime(0.25f);
    standin::moveMouse({440, 410}, standin::frame() + 1);
    standin::mouseHold(MOUSE_BUTTON_LEFT, standin::frame() + 1, standin::frame() + 2);
    for (int i = 0; i < 20; ++i) {
        frame();
    }
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Retry);
    EXPECT_FALSE(manager.switchPending);

    standin::moveMouse({460, 405}, standin::frame());
    frame();
    EXPECT_EQ(gameOverScene.selection, GameOverChoice::Quit);
    standin::mouseHold(MOUSE_BUTTON_LEFT, standin::frame(), standin::frame());
    frame();
    frame();
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_gameover", "sfx_select", "sfx_quit"}));
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Title);
}

} // namespace
