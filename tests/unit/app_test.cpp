// The entry routine's start-up and shutdown order and the frame loop's rules,
// seen through the raylib stand-in.
#include "test_support.h"

#include "app/application.h"
#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "game/game_scene.h"

#include <algorithm>

namespace {

int indexOf(const std::vector<standin::Call>& calls, const std::string& fn, int from = 0) {
    for (int i = from; i < static_cast<int>(calls.size()); ++i) {
        if (calls[i].fn == fn) {
            return i;
        }
    }
    return -1;
}

using AppTest = KolvexTest;

TEST_F(AppTest, StartUpOpensTheWindowWithItsIconThenAudioThenFrameCap) {
    standin::closeWindowAt(0);
    EXPECT_EQ(runApplication(), 0);

    const auto& calls = standin::calls();
    const int flags = indexOf(calls, "SetConfigFlags");
    const int window = indexOf(calls, "InitWindow");
    const int minSize = indexOf(calls, "SetWindowMinSize");
    const int decode = indexOf(calls, "LoadImageFromMemory");
    const int icon = indexOf(calls, "SetWindowIcon");
    const int unload = indexOf(calls, "UnloadImage");
    const int audio = indexOf(calls, "InitAudioDevice");
    const int exitKey = indexOf(calls, "SetExitKey");
    const int fps = indexOf(calls, "SetTargetFPS");
    ASSERT_GE(flags, 0);
    EXPECT_LT(flags, window);
    EXPECT_LT(window, minSize);
    EXPECT_LT(window, decode);
    EXPECT_LT(decode, icon);
    EXPECT_LT(icon, unload);
    EXPECT_LT(unload, audio);
    EXPECT_LT(audio, exitKey);
    EXPECT_LT(exitKey, fps);

    EXPECT_EQ(calls[flags].num[0], static_cast<float>(FLAG_WINDOW_HIGHDPI | FLAG_WINDOW_RESIZABLE));
    EXPECT_EQ(calls[window].num, (std::vector<float>{900, 700}));
    EXPECT_EQ(calls[minSize].num, (std::vector<float>{450, 350})) << "half the game's size";
    EXPECT_EQ(calls[window].text, "コルベクス");
    EXPECT_EQ(calls[decode].text, ".png");
    // One picture: the largest, all that raylib's SDL platform takes.
    EXPECT_EQ(standin::countCalls("SetWindowIcon"), 1);
    EXPECT_EQ(calls[icon].num, (std::vector<float>{256, 256, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8}));
    EXPECT_EQ(calls[exitKey].num[0], static_cast<float>(KEY_NULL));
    EXPECT_EQ(calls[fps].num[0], 120.0f);
    EXPECT_EQ(standin::liveImages(), 0) << "the icon images are released once set";
}

TEST_F(AppTest, CloseButtonEndsTheLoopBeforeThatFramesDrawingAndStillShutsDown) {
    standin::closeWindowAt(3);
    EXPECT_EQ(runApplication(), 0);

    EXPECT_EQ(standin::countCalls("BeginDrawing"), 3);
    EXPECT_EQ(standin::countCalls("EndDrawing"), 3);
    const auto& calls = standin::calls();
    const int lastFrame =
        static_cast<int>(std::find_if(calls.rbegin(), calls.rend(),
                                      [](const standin::Call& c) { return c.fn == "EndDrawing"; })
                             .base() -
                         calls.begin());
    // Nothing of the closing frame runs: the last close test comes right after
    // the last drawn frame, with no scene update (the title's music refill) between.
    const int closeTest = indexOf(calls, "WindowShouldClose", lastFrame);
    ASSERT_GE(closeTest, 0);
    EXPECT_EQ(indexOf(calls, "UpdateMusicStream", lastFrame), -1);
    EXPECT_EQ(standin::countCalls("UpdateMusicStream"), 3);
    // The title scene's exit step stops its music, then audio and window close.
    const int stopMusic = indexOf(calls, "StopMusicStream", closeTest);
    const int closeAudio = indexOf(calls, "CloseAudioDevice", lastFrame);
    const int closeWindow = indexOf(calls, "CloseWindow", lastFrame);
    ASSERT_GE(stopMusic, 0);
    EXPECT_LT(stopMusic, closeAudio);
    EXPECT_LT(closeAudio, closeWindow);
    EXPECT_FALSE(standin::audioDeviceOpen());
}

TEST_F(AppTest, QuitKeyEndsTheProgramAfterTheCurrentFrame) {
    standin::press(KEY_Q, 4);
    EXPECT_EQ(runApplication(), 0);
    // Frames 0 to 4 are all drawn, frame 4 included.
    EXPECT_EQ(standin::countCalls("EndDrawing"), 5);
    EXPECT_EQ(standin::countCalls("CloseWindow"), 1);
}

TEST_F(AppTest, EveryFrameClearsToBlackBeforeTheSceneDraws) {
    standin::closeWindowAt(2);
    runApplication();
    const auto& calls = standin::calls();
    int begin = indexOf(calls, "BeginDrawing");
    while (begin >= 0) {
        ASSERT_EQ(calls[begin + 1].fn, "ClearBackground");
        const Color c = calls[begin + 1].color;
        EXPECT_EQ((std::vector<int>{c.r, c.g, c.b, c.a}), (std::vector<int>{0, 0, 0, 255}));
        begin = indexOf(calls, "BeginDrawing", begin + 1);
    }
}

// The frame in which GAME START was chosen does not wait out its pace: the
// game's first frame follows at once, and the frames after it keep the cap.
TEST_F(AppTest, AFrameThatSwitchesScenesIsNotPacedAndTheCapReturns) {
    standin::press(KEY_ENTER, 2);
    standin::closeWindowAt(5);
    runApplication();
    const auto& calls = standin::calls();
    std::vector<std::string> paceAndEnds;
    for (const auto& call : calls) {
        if (call.fn == "SetTargetFPS") {
            paceAndEnds.push_back(std::to_string(static_cast<int>(call.num[0])));
        } else if (call.fn == "EndDrawing") {
            paceAndEnds.emplace_back("end");
        }
    }
    EXPECT_EQ(paceAndEnds,
              (std::vector<std::string>{"120", "end", "end", "0", "end", "120", "end", "end"}));
}

using SceneManagerTest = KolvexTest;

TEST_F(SceneManagerTest, RequestTakesEffectOnlyWhenTheLoopAppliesIt) {
    SceneManager scenes;
    scenes.enterScene();
    EXPECT_TRUE(scenes.running);
    EXPECT_FALSE(scenes.switchPending);

    scenes.requestSwitch(SceneId::GameOver);
    scenes.requestSwitch(SceneId::Game); // the last request of a frame wins
    EXPECT_TRUE(scenes.switchPending);
    EXPECT_EQ(scenes.current, SceneId::Title);

    scenes.exitScene();
    EXPECT_EQ(scenes.current, SceneId::Game);
    EXPECT_TRUE(scenes.switchPending) << "exit leaves the pending flag to enter";
    scenes.running = false;
    scenes.enterScene();
    EXPECT_TRUE(scenes.running) << "entering a scene sets running again";
    EXPECT_FALSE(scenes.switchPending);
}

TEST_F(SceneManagerTest, LastResultsReadTheGameScenesOwnFields) {
    SceneManager scenes;
    EXPECT_EQ(scenes.lastScore(), 0u);
    EXPECT_EQ(scenes.lastLevel(), 1u);
    EXPECT_EQ(scenes.lastLines(), 0u);
    gameScene.score = 4321;
    gameScene.level = 7;
    gameScene.lines = 65;
    EXPECT_EQ(scenes.lastScore(), 4321u);
    EXPECT_EQ(scenes.lastLevel(), 7u);
    EXPECT_EQ(scenes.lastLines(), 65u);
}

TEST_F(SceneManagerTest, AnUnknownSceneIdRunsNoStepButStillMovesOn) {
    SceneManager scenes;
    scenes.current = static_cast<SceneId>(7);
    scenes.next = SceneId::Title;
    scenes.updateScene();
    scenes.drawScene();
    EXPECT_TRUE(standin::calls().empty());
    scenes.exitScene();
    EXPECT_EQ(scenes.current, SceneId::Title);
}

} // namespace

namespace {

// Whether the game scene was entered: it is the one that decodes the block tile.
bool gameEntered() {
    for (const standin::Call& c : standin::callsNamed("LoadImageFromMemory")) {
        if (c.num[0] == static_cast<float>(tx_block_png_len)) {
            return true;
        }
    }
    return false;
}

// The texts drawn between the n-th BeginDrawing and its EndDrawing.
std::vector<std::string> textsOfFrame(int n) {
    std::vector<std::string> texts;
    int frame = -1;
    for (const standin::Call& c : standin::calls()) {
        if (c.fn == "BeginDrawing") {
            ++frame;
        } else if (frame == n && (c.fn == "DrawTextPro" || c.fn == "DrawText")) {
            texts.push_back(c.text);
        }
    }
    return texts;
}

using SwitchTest = KolvexTest;

TEST_F(SwitchTest, TheRequestingSceneIsDrawnOnceMoreAndTheNewOneRunsNextFrame) {
    standin::press(KEY_ENTER, 2); // GAME START
    standin::closeWindowAt(4);
    runApplication();

    const auto frame2 = textsOfFrame(2);
    EXPECT_NE(std::find(frame2.begin(), frame2.end(), "GAME START"), frame2.end())
        << "the title is still drawn in the frame of its request";
    const auto frame3 = textsOfFrame(3);
    EXPECT_NE(std::find(frame3.begin(), frame3.end(), "KOLVEX"), frame3.end())
        << "the game scene is entered, updated and drawn in the next frame";
    EXPECT_EQ(std::find(frame3.begin(), frame3.end(), "GAME START"), frame3.end());
    EXPECT_TRUE(gameEntered());
}

TEST_F(SwitchTest, QuitInTheFrameASwitchIsAppliedDoesNotEndTheProgram) {
    standin::press(KEY_ENTER, 2);
    standin::press(KEY_Q, 3); // the frame in which the game scene is entered
    standin::press(KEY_Q, 6);
    runApplication();
    EXPECT_EQ(standin::countCalls("EndDrawing"), 7);
    EXPECT_TRUE(gameEntered());
}

TEST_F(SwitchTest, ARequestStillPendingWhenTheLoopEndsIsDropped) {
    standin::press(KEY_ENTER, 2);
    standin::press(KEY_Q, 2);
    runApplication();
    EXPECT_EQ(standin::countCalls("EndDrawing"), 3);
    EXPECT_FALSE(gameEntered());
    // Only a scene's exit stops music: the title's exit ran, once, at shutdown.
    EXPECT_EQ(standin::countCalls("StopMusicStream"), 2);
}

TEST_F(SwitchTest, ARequestNamingTheCurrentSceneRestartsIt) {
    SceneManager scenes;
    scenes.enterScene();
    const unsigned intro = standin::musicId(AudioManager::instance().musics["bgm_title"].intro);
    scenes.requestSwitch(SceneId::Title);
    standin::clearCalls();
    scenes.exitScene();
    scenes.enterScene();
    EXPECT_EQ(scenes.current, SceneId::Title);
    std::vector<std::string> order;
    for (const standin::Call& c : standin::calls()) {
        if ((c.fn == "StopMusicStream" || c.fn == "PlayMusicStream") && c.handle == intro) {
            order.push_back(c.fn);
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"StopMusicStream", "PlayMusicStream"}));
}

} // namespace
