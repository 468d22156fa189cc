// The title scene through the stand-in: what it loads and plays, how the menu and
// its pages answer the keys, and where everything is drawn at 900 x 700.
#include "test_support.h"

#include "app/application.h"
#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"
#include "scenes/title_scene.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace {

using Sounds = std::vector<std::string>;

class TitleSceneTest : public KolvexTest {
protected:
    SceneManager scenes;
    std::size_t drawFrom = 0;

    void SetUp() override {
        KolvexTest::SetUp();
        scenes.enterScene();
    }

    // One frame of the scene with these keys pressed, as the frame loop runs it.
    void step(std::initializer_list<int> keys = {}) {
        for (int key : keys) {
            standin::pressNow(key);
        }
        titleScene.update();
        drawFrame();
        standin::nextFrame();
    }

    void drawFrame() {
        drawFrom = standin::calls().size();
        titleScene.draw();
    }

    // The draw calls of the last draw step, in order.
    std::vector<standin::Call> lastDraws() const {
        const auto& all = standin::calls();
        std::vector<standin::Call> out;
        for (std::size_t i = drawFrom; i < all.size(); ++i) {
            if (all[i].fn.rfind("Draw", 0) == 0) {
                out.push_back(all[i]);
            }
        }
        return out;
    }

    std::vector<standin::Call> texts() const {
        std::vector<standin::Call> out;
        for (const auto& call : lastDraws()) {
            if (call.fn == "DrawTextPro") {
                out.push_back(call);
            }
        }
        return out;
    }

    bool drew(const std::string& text) const {
        for (const auto& call : texts()) {
            if (call.text == text) {
                return true;
            }
        }
        return false;
    }

    // The entry drawn at full strength with a marker, or "" when none is.
    std::string highlighted() const {
        const auto drawn = texts();
        for (std::size_t i = 0; i + 1 < drawn.size(); ++i) {
            if (drawn[i + 1].text == ">" && drawn[i].color.a == 255) {
                return drawn[i].text;
            }
        }
        return "";
    }

    static std::string background() { return TextureStore::instance().currentBackground; }
};

int frameOfCall(const std::vector<standin::Call>& calls, std::size_t index) {
    int frame = 0;
    for (std::size_t i = 0; i < index; ++i) {
        frame += calls[i].fn == "EndDrawing" ? 1 : 0;
    }
    return frame;
}

// The title's sounds played while the real frame loop ran, each with its frame.
// The audio manager has forgotten its names by then, so each is known by the
// length of the file decoded right before its sound was made.
std::vector<std::pair<std::string, int>> titleSoundsPlayed() {
    const std::pair<const char*, unsigned int> kFiles[] = {{"sfx_confirm", sfx_confirm_ogg_len},
                                                           {"sfx_quit", sfx_quit_ogg_len},
                                                           {"sfx_select", sfx_select_ogg_len}};
    const auto& calls = standin::calls();
    std::map<unsigned int, std::string> names;
    std::string decoded;
    std::vector<std::pair<std::string, int>> out;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].fn == "LoadWaveFromMemory") {
            decoded.clear();
            for (const auto& [name, length] : kFiles) {
                decoded = calls[i].num[0] == static_cast<float>(length) ? name : decoded;
            }
        }
        if (calls[i].fn == "LoadSoundFromWave" && !decoded.empty()) {
            names.emplace(calls[i].handle, decoded);
        }
        if (calls[i].fn == "PlaySound" && names.count(calls[i].handle) > 0) {
            out.emplace_back(names.at(calls[i].handle), frameOfCall(calls, i));
        }
    }
    return out;
}

unsigned int titleIntroId() {
    return standin::musicId(AudioManager::instance().musics.at("bgm_title").intro);
}

// What was decoded since the calls were last cleared, as "what:bytes", and the
// music started, as "play".
std::vector<std::string> decodes() {
    std::vector<std::string> out;
    for (const auto& call : standin::calls()) {
        if (call.fn == "PlayMusicStream") {
            out.emplace_back("play");
        } else if (call.fn == "LoadImageFromMemory" || call.fn == "LoadWaveFromMemory" ||
                   call.fn == "LoadMusicStreamFromMemory") {
            out.push_back(call.fn.substr(4, 4) + ":" +
                          std::to_string(static_cast<int>(call.num[0])));
        }
    }
    return out;
}

std::string bytes(const char* what, unsigned int length) {
    return std::string(what) + ":" + std::to_string(length);
}

// The enter step loads what the first frame shows and plays; the first frame
// loads nothing more, then each frame one more, the title's own first, then what a GAME START
// needs, so that the game's enter step finds all of it held.
TEST_F(TitleSceneTest, EnterLoadsTheFirstFrameAndEachFrameOneMoreForTheGame) {
    EXPECT_EQ(decodes(), (std::vector<std::string>{bytes("Imag", tx_titlebg_png_len),
                                                   bytes("Musi", bgm_title_intro_ogg_len),
                                                   bytes("Musi", bgm_title_loop_ogg_len), "play"}));
    EXPECT_EQ(standin::callsNamed("PlayMusicStream")[0].handle, titleIntroId())
        << "the title music starts with its intro";
    EXPECT_EQ(background(), "tx_titlebg");
    EXPECT_EQ(titleScene.manager, &scenes);

    const std::vector<std::vector<std::string>> perFrame = {
        {},
        {bytes("Wave", sfx_confirm_ogg_len)},
        {bytes("Wave", sfx_quit_ogg_len)},
        {bytes("Wave", sfx_select_ogg_len)},
        {bytes("Imag", tx_htpbg_png_len)},
        {bytes("Imag", tx_block_png_len)},
        {bytes("Imag", bg_beach_png_len)},
        {bytes("Musi", bgm_korubekusu_intro_ogg_len), bytes("Musi", bgm_korubekusu_loop_ogg_len)},
        {bytes("Wave", sfx_countdown_ogg_len)},
        {},
    };
    for (const auto& expected : perFrame) {
        standin::clearCalls();
        step();
        EXPECT_EQ(decodes(), expected);
    }
    EXPECT_EQ(highlighted(), "GAME START");

    standin::clearCalls();
    step({KEY_ENTER});
    scenes.exitScene();
    scenes.enterScene();
    ASSERT_EQ(decodes(), (std::vector<std::string>{"play"})) << "GAME START decodes nothing";
    EXPECT_EQ(musicName(standin::callsNamed("PlayMusicStream")[0].handle), "bgm_korubekusu");
}

TEST_F(TitleSceneTest, FailingMusicIsReportedAndTheMenuStillWorks) {
    resetWorld();
    standin::failMusicDecodes(2);
    scenes.enterScene();

    const auto& logs = standin::logLines();
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_EQ(logs[0].level, LOG_WARNING);
    EXPECT_EQ(logs[0].text, "Failed to load BGM!");
    EXPECT_EQ(standin::countCalls("PlayMusicStream"), 0);

    step({KEY_DOWN});
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay);
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select"})) << "a sound not loaded yet loads when needed";
}

TEST_F(TitleSceneTest, MovesStopAtBothEndsSilently) {
    step({KEY_UP});
    step({KEY_W});
    step({KEY_HOME});
    EXPECT_EQ(titleScene.item, MenuItem::GameStart);
    EXPECT_TRUE(playedSounds().empty()) << "nothing to move to above GAME START";

    step({KEY_END});
    EXPECT_EQ(titleScene.item, MenuItem::Quit);
    EXPECT_EQ(playedSounds().size(), 1u);
    standin::clearCalls();
    step({KEY_DOWN});
    step({KEY_S});
    step({KEY_END});
    EXPECT_EQ(titleScene.item, MenuItem::Quit);
    EXPECT_TRUE(playedSounds().empty()) << "nothing to move to below QUIT";

    step({KEY_HOME});
    EXPECT_EQ(titleScene.item, MenuItem::GameStart);
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select"}));
}

TEST_F(TitleSceneTest, DownAndUpWalkTheEntriesInScreenOrder) {
    const std::vector<std::pair<int, std::string>> downs = {
        {KEY_DOWN, "HOW TO PLAY"}, {KEY_S, "CREDITS"}, {KEY_DOWN, "QUIT"}};
    for (const auto& [key, expected] : downs) {
        step({key});
        EXPECT_EQ(highlighted(), expected);
    }
    EXPECT_EQ(titleScene.item, MenuItem::Quit);
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select", "sfx_select", "sfx_select"}));

    standin::clearCalls();
    const std::vector<std::pair<int, std::string>> ups = {
        {KEY_UP, "CREDITS"}, {KEY_W, "HOW TO PLAY"}, {KEY_UP, "GAME START"}};
    for (const auto& [key, expected] : ups) {
        step({key});
        EXPECT_EQ(highlighted(), expected);
    }
    EXPECT_EQ(playedSounds().size(), 3u);
}

TEST_F(TitleSceneTest, HowToPlayPageOpensOnItsBackgroundAndEscapeReturns) {
    step({KEY_DOWN});
    standin::clearCalls();
    step({KEY_ENTER});
    EXPECT_EQ(titleScene.page, TitlePage::HowToPlay);
    EXPECT_EQ(background(), "tx_htpbg");
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_confirm"}));
    EXPECT_TRUE(drew("CONFIRM: ENTER")) << "the page shows in the frame of Enter";
    EXPECT_FALSE(drew("HOW TO PLAY")) << "no menu entries on a page";

    standin::clearCalls();
    step({KEY_DOWN, KEY_UP, KEY_ENTER, KEY_S, KEY_W});
    EXPECT_TRUE(playedSounds().empty()) << "only Escape, Home and End act on a page";
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay);
    EXPECT_EQ(titleScene.page, TitlePage::HowToPlay);

    standin::clearCalls();
    step({KEY_ESCAPE});
    EXPECT_EQ(titleScene.page, TitlePage::Menu);
    EXPECT_EQ(background(), "tx_titlebg");
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_quit"}));
    EXPECT_EQ(highlighted(), "HOW TO PLAY");
    EXPECT_FALSE(drew("CONFIRM: ENTER"));
}

TEST_F(TitleSceneTest, HomeAndEndOnThePagesChangeTheEntryShownAfterEscape) {
    step({KEY_DOWN});
    step({KEY_DOWN});
    step({KEY_ENTER});
    ASSERT_EQ(titleScene.page, TitlePage::Credits);
    EXPECT_EQ(background(), "tx_htpbg");

    standin::clearCalls();
    step({KEY_HOME});
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select"}));
    EXPECT_EQ(titleScene.page, TitlePage::Credits) << "Home does not leave the page";
    EXPECT_EQ(highlighted(), "");
    step({KEY_ESCAPE});
    EXPECT_EQ(highlighted(), "GAME START");

    step({KEY_DOWN});
    step({KEY_ENTER});
    ASSERT_EQ(titleScene.page, TitlePage::HowToPlay);
    step({KEY_END});
    step({KEY_ESCAPE});
    EXPECT_EQ(highlighted(), "QUIT");
}

TEST_F(TitleSceneTest, EnterWithAMoveCarriesOutTheEntryHighlightedBefore) {
    step({KEY_DOWN, KEY_ENTER});
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay);
    EXPECT_EQ(titleScene.page, TitlePage::Menu);
    EXPECT_TRUE(scenes.switchPending);
    EXPECT_EQ(scenes.next, SceneId::Game);
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select", "sfx_confirm"}));

    resetWorld();
    scenes = SceneManager{};
    scenes.enterScene();
    step({KEY_DOWN});
    step({KEY_UP, KEY_ENTER});
    EXPECT_EQ(titleScene.item, MenuItem::GameStart);
    EXPECT_EQ(titleScene.page, TitlePage::HowToPlay);
    EXPECT_FALSE(scenes.switchPending);

    resetWorld();
    scenes = SceneManager{};
    scenes.enterScene();
    step({KEY_END});
    step({KEY_W, KEY_ENTER});
    EXPECT_EQ(titleScene.item, MenuItem::Credits);
    EXPECT_EQ(titleScene.page, TitlePage::Menu);
    EXPECT_FALSE(scenes.running) << "QUIT was highlighted when Enter came";
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select", "sfx_select", "sfx_quit"}));
}

TEST_F(TitleSceneTest, DownAndUpTogetherMakeBothMovesOfTheEntry) {
    struct Case {
        MenuItem from;
        MenuItem after;
        std::size_t sounds;
    };
    const Case cases[] = {
        {MenuItem::GameStart, MenuItem::HowToPlay, 1},
        {MenuItem::HowToPlay, MenuItem::GameStart, 2},
        {MenuItem::Credits, MenuItem::HowToPlay, 2},
        {MenuItem::Quit, MenuItem::Credits, 1},
    };
    for (const Case& c : cases) {
        titleScene.item = c.from;
        standin::clearCalls();
        step({KEY_DOWN, KEY_UP});
        EXPECT_EQ(titleScene.item, c.after) << "from " << static_cast<int>(c.from);
        EXPECT_EQ(playedSounds(), Sounds(c.sounds, "sfx_select"));
    }
}

TEST_F(TitleSceneTest, AudioIsUpdatedAfterTheInputEveryFrame) {
    step({KEY_DOWN});
    const auto& calls = standin::calls();
    std::size_t played = calls.size();
    std::size_t updated = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].fn == "PlaySound" && played == calls.size()) {
            played = i;
        }
        if (calls[i].fn == "UpdateMusicStream") {
            updated = i;
        }
    }
    ASSERT_LT(updated, calls.size());
    EXPECT_LT(played, updated);
    EXPECT_EQ(calls[updated].handle, titleIntroId());
    step();
    EXPECT_EQ(standin::countCalls("UpdateMusicStream"), 2);
}

TEST_F(TitleSceneTest, ExitStopsOnlyTheMusicAndReturningRestartsItsIntro) {
    step({KEY_DOWN});
    const unsigned int intro = titleIntroId();
    const std::size_t textures = TextureStore::instance().textures.size();
    standin::clearCalls();
    titleScene.exit();
    const auto stops = standin::callsNamed("StopMusicStream");
    ASSERT_FALSE(stops.empty());
    EXPECT_EQ(stops[0].handle, intro);
    EXPECT_EQ(standin::countCalls("UnloadTexture"), 0);
    EXPECT_EQ(standin::countCalls("UnloadSound"), 0);
    EXPECT_EQ(TextureStore::instance().textures.size(), textures);
    EXPECT_EQ(AudioManager::instance().currentMusic, nullptr);

    standin::clearCalls();
    scenes.enterScene();
    const auto plays = standin::callsNamed("PlayMusicStream");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].handle, intro) << "the stored intro starts again";
    EXPECT_EQ(standin::liveMusicStreams(), 2) << "the second load is not kept";
    EXPECT_EQ(titleScene.item, MenuItem::HowToPlay) << "the entry is kept across visits";
    step();
    EXPECT_EQ(highlighted(), "HOW TO PLAY");
}

TEST_F(TitleSceneTest, MenuIsDrawnOverTheBackgroundAtItsPositions) {
    standin::setTime(0.0);
    drawFrame();

    const auto draws = lastDraws();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws[0].fn, "DrawTexturePro") << "the background is drawn first";
    EXPECT_EQ(draws[0].num, (std::vector<float>{0, 0, 900, 755, 0, 0, 900, 700, 0, 0, 0}));

    struct Entry {
        const char* text;
        float y;
        bool selected;
    };
    const Entry entries[] = {{"GAME START", 370.0f, true},
                             {"HOW TO PLAY", 410.0f, false},
                             {"CREDITS", 450.0f, false},
                             {"QUIT", 490.0f, false}};
    const auto drawn = texts();
    ASSERT_EQ(drawn.size(), 5u) << "four entries and one marker";
    std::size_t at = 0;
    for (const Entry& e : entries) {
        const standin::Call& call = drawn[at];
        EXPECT_EQ(call.text, e.text);
        EXPECT_EQ(call.num[0], 330.0f) << e.text;
        EXPECT_EQ(call.num[1], e.y) << e.text;
        EXPECT_FLOAT_EQ(call.num[5], e.selected ? 21.0f : 20.0f) << e.text;
        EXPECT_EQ(call.color.a, e.selected ? 255 : 127) << e.text;
        at += e.selected ? 2 : 1;
    }
    const standin::Call& marker = drawn[1];
    EXPECT_EQ(marker.text, ">");
    const Vector2 m = standin::measure("GAME START", 21.0f, 0.0f);
    EXPECT_FLOAT_EQ(marker.num[0], 330.0f - m.x * 0.5f - 30.0f);
    EXPECT_EQ(marker.num[1], 370.0f);

    standin::setTime(0.1);
    drawFrame();
    EXPECT_LT(texts()[1].num[0], marker.num[0]) << "the marker moves out as the item grows";
}

TEST_F(TitleSceneTest, HowToPlayLinesStandAtTheirPlaces) {
    step({KEY_DOWN});
    step({KEY_ENTER}); // the page's picture is not loaded yet: opening it loads it
    drawFrame();

    const auto draws = lastDraws();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws[0].fn, "DrawTexturePro");
    EXPECT_EQ(draws[0].handle, TextureStore::instance().textures.at("tx_htpbg").id);

    const std::vector<std::pair<std::string, float>> lines = {
        {"MOVING:  LEFT/RIGHT/UP/DOWN OR WASD", 170.0f},
        {"CONFIRM: ENTER", 200.0f},
        {"PAUSE:    ESC", 230.0f},
        {"ROTATE:  SPACE", 260.0f},
        {"HOLD:      CTRL", 290.0f},
        {"PRESS ESC FOR RETURN TO THE TITLE SCREEN", 470.0f}};
    const auto drawn = texts();
    ASSERT_EQ(drawn.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(drawn[i].text, lines[i].first);
        EXPECT_EQ(drawn[i].num,
                  (std::vector<float>{120.0f, lines[i].second, 0.0f, 10.0f, 0.0f, 20.0f, 2.0f}))
            << lines[i].first;
    }
}

TEST_F(TitleSceneTest, CreditsLinesAreCentredAtTheirPlacesAndFitTheWindow) {
    titleScene.page = TitlePage::Credits;
    drawFrame();

    const std::vector<std::pair<std::string, float>> fixed = {
        {"CODE/DESIGN/ART:", 125.0f},
        {"MUSIC:", 215.0f},
        {"HAIKEI:", 365.0f},
        {"SFX:", 485.0f},
        {"PRESS ESC FOR RETURN TO THE TITLE SCREEN", 605.0f}};
    const float ys[] = {125, 155, 215, 245, 275, 305, 365, 395, 425, 485, 515, 545, 605};
    const auto drawn = texts();
    ASSERT_EQ(drawn.size(), 13u);
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const Vector2 m = standin::measure(drawn[i].text.c_str(), 20.0f, 0.0f);
        EXPECT_EQ(drawn[i].num,
                  (std::vector<float>{450.0f, ys[i], m.x * 0.5f, 10.0f, 0.0f, 20.0f, 2.0f}))
            << drawn[i].text;
        EXPECT_FALSE(drawn[i].text.empty());
        EXPECT_LE(drawn[i].text.size(), 60u) << drawn[i].text;
    }
    for (const auto& [text, y] : fixed) {
        const auto found = std::find_if(drawn.begin(), drawn.end(),
                                        [&](const standin::Call& c) { return c.text == text; });
        ASSERT_NE(found, drawn.end()) << text;
        EXPECT_EQ(found->num[1], y) << text;
    }
    for (std::size_t line : {3u, 4u, 5u, 8u, 11u}) {
        const std::string& text = drawn[line].text;
        EXPECT_EQ(text.back(), ')') << "an address in parentheses: " << text;
        EXPECT_NE(text.find("(tools/"), std::string::npos) << text;
    }
}

TEST_F(TitleSceneTest, TheMouseHighlightsAndChoosesTheEntriesAsDrawnAndAClickLeavesAPage) {
    const auto click = [](int frames) {
        standin::mouseHold(MOUSE_BUTTON_LEFT, standin::frame(), standin::frame() + frames - 1);
    };
    step();
    standin::moveMouse({340, 410}, standin::frame()); // where the system first reports it
    step();
    EXPECT_EQ(highlighted(), "GAME START") << "a mouse resting over an entry moves nothing";
    standin::moveMouse({290, 432}, standin::frame()); // the corner of CREDITS' area
    step();
    standin::moveMouse({300, 450}, standin::frame());
    step();
    EXPECT_EQ(highlighted(), "CREDITS");
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select"})) << "once, when the highlight moved";

    click(2);
    step();
    step();
    EXPECT_EQ(titleScene.page, TitlePage::Menu) << "a click acts on its release";
    step();
    EXPECT_EQ(titleScene.page, TitlePage::Credits);
    standin::moveMouse({800, 100}, standin::frame());
    click(1);
    step();
    step();
    EXPECT_EQ(titleScene.page, TitlePage::Menu);
    EXPECT_EQ(playedSounds(), (Sounds{"sfx_select", "sfx_confirm", "sfx_quit"}));

    standin::moveMouse({300, 450}, standin::frame());
    click(2);
    standin::moveMouse({300, 490}, standin::frame() + 1);
    step();
    step();
    step();
    EXPECT_EQ(highlighted(), "QUIT");
    EXPECT_TRUE(scenes.running) << "a press that left its entry chose nothing";
}

using TitleLoopTest = KolvexTest;

TEST_F(TitleLoopTest, GameStartSwitchesToTheGameAtTheNextFrame) {
    standin::press(KEY_ENTER, 2);
    standin::press(KEY_Q, 4);
    EXPECT_EQ(runApplication(), 0);
    using Played = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(titleSoundsPlayed(), (Played{{"sfx_confirm", 2}}));

    const auto& calls = standin::calls();
    int titleStopped = -1;
    int lastMenuFrame = -1;
    int firstBlockLoad = -1;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const int frame = frameOfCall(calls, i);
        if (calls[i].fn == "StopMusicStream" && titleStopped < 0) {
            titleStopped = frame;
        }
        if (calls[i].fn == "DrawTextPro" && calls[i].text == "GAME START") {
            lastMenuFrame = frame;
        }
        if (calls[i].fn == "LoadImageFromMemory" && firstBlockLoad < 0 &&
            calls[i].num[0] == static_cast<float>(tx_block_png_len)) {
            firstBlockLoad = frame;
        }
    }
    EXPECT_EQ(lastMenuFrame, 2) << "the title is still drawn in the frame of Enter";
    EXPECT_EQ(titleStopped, 3) << "the title's exit step runs at the start of the next frame";
    EXPECT_EQ(firstBlockLoad, 3) << "the game scene's enter step runs in that frame too";
    EXPECT_EQ(standin::countCalls("EndDrawing"), 5);
}

TEST_F(TitleLoopTest, QuitEndsTheProgramAfterItsFrame) {
    standin::press(KEY_END, 1);
    standin::press(KEY_ENTER, 3);
    EXPECT_EQ(runApplication(), 0);
    using Played = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(titleSoundsPlayed(), (Played{{"sfx_select", 1}, {"sfx_quit", 3}}));
    EXPECT_EQ(standin::countCalls("EndDrawing"), 4) << "frames 0 to 3, the last one drawn";
    EXPECT_EQ(standin::countCalls("CloseWindow"), 1);
}

} // namespace
