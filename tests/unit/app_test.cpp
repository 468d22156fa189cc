// The entry routine's start-up and shutdown order and the frame loop's rules,
// seen through the raylib stand-in.
#include "test_support.h"

#include "app/application.h"
#include "app/scene_manager.h"
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
    const int decode = indexOf(calls, "LoadImageFromMemory");
    const int icon = indexOf(calls, "SetWindowIcon");
    const int unload = indexOf(calls, "UnloadImage");
    const int audio = indexOf(calls, "InitAudioDevice");
    const int exitKey = indexOf(calls, "SetExitKey");
    const int fps = indexOf(calls, "SetTargetFPS");
    ASSERT_GE(flags, 0);
    EXPECT_LT(flags, window);
    EXPECT_LT(window, decode);
    EXPECT_LT(decode, icon);
    EXPECT_LT(icon, unload);
    EXPECT_LT(unload, audio);
    EXPECT_LT(audio, exitKey);
    EXPECT_LT(exitKey, fps);

    EXPECT_EQ(calls[flags].num[0], static_cast<float>(FLAG_WINDOW_HIGHDPI));
    EXPECT_EQ(calls[window].num, (std::vector<float>{900, 700}));
    EXPECT_EQ(calls[window].text, "コルベクス");
    EXPECT_EQ(calls[decode].text, ".png");
    EXPECT_EQ(calls[icon].num, (std::vector<float>{600, 600, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8}));
    EXPECT_EQ(calls[exitKey].num[0], static_cast<float>(KEY_NULL));
    EXPECT_EQ(calls[fps].num[0], 120.0f);
    EXPECT_EQ(standin::liveImages(), 0) << "the icon image is released once set";
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
    const int closeAudio = indexOf(calls, "CloseAudioDevice", lastFrame);
    const int closeWindow = indexOf(calls, "CloseWindow", lastFrame);
    ASSERT_GE(closeAudio, 0);
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

TEST_F(AppTest, EscapeNeverClosesTheWindow) {
    for (int f = 0; f < 10; ++f) {
        standin::press(KEY_ESCAPE, f);
    }
    standin::closeWindowAt(10);
    runApplication();
    EXPECT_EQ(standin::countCalls("EndDrawing"), 10);
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
