// The game scene's steps: what entering loads and deals, the countdown, the
// pause menu, the hand-overs to the other scenes and the reset for a retry.
#include "test_support.h"

#include "app/scene_manager.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"
#include "game/board.h"
#include "game/game_scene.h"
#include "game/pieces.h"
#include "game/rules.h"
#include "render/effects.h"
#include "render/playfield_layout.h"

#include <algorithm>
#include <map>
#include <string>

namespace {

const char* const kSoundOrder[] = {
    "sfx_drop",    "sfx_line_clear", "sfx_level_up", "sfx_hold_block", "sfx_countdown",
    "sfx_confirm", "sfx_pause",      "sfx_quit",     "sfx_resume",     "sfx_select"};

class GameSceneTest : public KolvexTest {
protected:
    SceneManager manager;

    void step() { runGameFrames(1); }
    void steps(int n) { runGameFrames(n); }

    void enterPlaying() {
        gameScene.enter(manager);
        loadRemaining(gameScene);
        gameScene.phase = GamePhase::Playing;
        standin::clearCalls();
    }
};

TEST_F(GameSceneTest, EnterLoadsWhatTheCountdownShowsAndTheCountdownTheRest) {
    gameScene.score = 99;
    gameScene.level = 5;
    gameScene.lines = 44;
    standin::queueRandom({5, 5});
    gameScene.enter(manager);

    EXPECT_EQ(gameScene.manager, &manager);
    EXPECT_EQ(gameScene.score, 0u);
    EXPECT_EQ(gameScene.level, 1);
    EXPECT_EQ(gameScene.lines, 0);
    ASSERT_EQ(board.size(), 20u);

    // The first countdown frame draws the block and the first background, and
    // the countdown plays its one sound; the music starts, as ever.
    const auto& textures = TextureStore::instance().textures;
    ASSERT_EQ(textures.size(), 2u);
    EXPECT_EQ(textures.at("tx_block").id, 1u);
    EXPECT_EQ(blockTexture.id, 1u);
    EXPECT_EQ(textures.at("bg_beach").id, 2u);
    EXPECT_EQ(TextureStore::instance().currentBackground, "bg_beach");
    EXPECT_TRUE(gameScene.sparkleFrames.empty());
    const auto& audio = AudioManager::instance();
    ASSERT_EQ(audio.musics.count("bgm_korubekusu"), 1u);
    const MusicEntry& music = audio.musics.at("bgm_korubekusu");
    EXPECT_TRUE(standin::musicPlaying(music.intro));
    EXPECT_EQ(audio.sounds.size(), 1u);
    EXPECT_EQ(audio.sounds.count("sfx_countdown"), 1u);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_countdown"}));

    // The countdown loads the rest, one entry a frame, in the store's id order:
    // the other five backgrounds, then all 32 effect frames, then the sounds;
    // nothing in the frame that entered. A picture that fails still writes its
    // one warning.
    standin::clearCalls();
    step();
    EXPECT_EQ(textures.size(), 2u);
    standin::failImageDecodes(true);
    step();
    standin::failImageDecodes(false);
    EXPECT_EQ(textures.count("bg_city"), 0u);
    EXPECT_EQ(standin::logLines().size(), 1u);
    EXPECT_EQ(standin::logLines()[0].text, "テキスチャーの読み込みに失敗： bg_city");
    steps(4);
    for (int i = 2; i < 6; ++i) {
        EXPECT_EQ(textures.at(gameScene.backgroundNames[i]).id, 1u + i);
    }
    EXPECT_TRUE(gameScene.sparkleFrames.empty());
    step();
    ASSERT_EQ(gameScene.sparkleFrames.size(), 16u);
    ASSERT_EQ(gameScene.smokeFrames.size(), 16u);
    for (unsigned i = 0; i < 16; ++i) {
        EXPECT_EQ(gameScene.sparkleFrames[i].id, 7u + i);
        EXPECT_EQ(gameScene.smokeFrames[i].id, 23u + i);
    }
    for (unsigned i = 0; i < 9; ++i) {
        step();
        EXPECT_EQ(audio.sounds.size(), 2u + i);
    }
    for (unsigned i = 0, n = 0; i < 10; ++i) {
        if (std::string(kSoundOrder[i]) != "sfx_countdown") {
            EXPECT_EQ(standin::soundId(audio.sounds.at(kSoundOrder[i])),
                      standin::soundId(audio.sounds.at("sfx_countdown")) + 1 + n++)
                << kSoundOrder[i];
        }
    }
    EXPECT_EQ(standin::logLines().size(), 1u);
    EXPECT_EQ(gameScene.phase, GamePhase::Countdown);

    // Two draws: the first piece, then the preview; the same type may follow itself.
    ASSERT_EQ(standin::randomRequests().size(), 2u);
    for (const auto& request : standin::randomRequests()) {
        EXPECT_EQ(request.min, 0);
        EXPECT_EQ(request.max, 6);
    }
    EXPECT_EQ(gameScene.pieceType, PieceType::L);
    EXPECT_EQ(nextPieceType, PieceType::L);
    EXPECT_EQ(gameScene.pieceX, 3);
    EXPECT_EQ(gameScene.cellSize, 29);
    EXPECT_FLOAT_EQ(playfieldLayout.boardOriginX, 40.0f);
    EXPECT_EQ(gameScene.phase, GamePhase::Countdown);
}

TEST_F(GameSceneTest, WithoutMusicTheGameWarnsAndGoesOn) {
    standin::failMusicDecodes(2);
    gameScene.enter(manager);
    const auto& logs = standin::logLines();
    ASSERT_EQ(std::count_if(logs.begin(), logs.end(),
                            [](const standin::LogLine& l) {
                                return l.level == LOG_WARNING && l.text == "Failed to load BGM!";
                            }),
              1);
    EXPECT_TRUE(AudioManager::instance().musics.empty());
    loadRemaining(gameScene);
    EXPECT_EQ(AudioManager::instance().sounds.size(), 10u);
    gameScene.phase = GamePhase::Playing;
    standin::pressNow(KEY_UP);
    steps(3);
    EXPECT_EQ(gameScene.score, 36u) << "play runs as usual: every new piece falls 18 rows";
}

TEST_F(GameSceneTest, CountdownRunsFourUnitsThenGoAndFreezesTheGame) {
    standin::queueRandom({4, 1}); // a T in play, an O next
    gameScene.enter(manager);
    standin::clearCalls();
    std::map<int, int> framesShowing;
    int framesCounting = 0;
    // Keys pressed throughout must do nothing until play begins.
    for (int f = standin::frame(); f < standin::frame() + 181; ++f) {
        for (const int key : {KEY_LEFT, KEY_UP, KEY_SPACE, KEY_LEFT_CONTROL, KEY_ESCAPE}) {
            standin::press(key, f);
        }
    }
    standin::hold(KEY_DOWN, standin::frame(), standin::frame() + 181);
    // And so must taps, and a touch that began in the countdown and lifts in play.
    for (int f = standin::frame(); f < standin::frame() + 170; f += 20) {
        standin::touchPath({{900, 700}, {900, 700}}, f);
    }
    standin::touchPath(std::vector<Vector2>(8, Vector2{900, 700}), standin::frame() + 178);
    standin::setScreenSize(1800, 1400);
    // A cell the layout never gives, to see whether the countdown lays out.
    gameScene.cellSize = 21;

    float minScale = 2.0f;
    float maxScale = 0.0f;
    float minAlpha = 2.0f;
    do {
        step();
        ++framesCounting;
        if (gameScene.phase == GamePhase::Countdown) {
            framesShowing[gameScene.countdownValue] += 1;
            minScale = std::min(minScale, gameScene.countdownScale);
            maxScale = std::max(maxScale, gameScene.countdownScale);
            minAlpha = std::min(minAlpha, gameScene.countdownAlpha);
        }
    } while (gameScene.phase == GamePhase::Countdown && framesCounting < 400);
    // Each unit starts at 1.4 times and full opacity and shrinks to 1.0 and 70 %.
    EXPECT_NEAR(maxScale, 1.4f, 0.02f);
    EXPECT_NEAR(minScale, 1.0f, 0.02f);
    EXPECT_NEAR(minAlpha, 0.7f, 0.02f);
    // 1/60 s frames: 0.61 s is 36 or 37 frames; play begins in the 182nd update.
    for (const int value : {4, 3, 2, 1, 0}) {
        EXPECT_GE(framesShowing[value], 36) << value;
        EXPECT_LE(framesShowing[value], 37) << value;
    }
    EXPECT_EQ(framesShowing.size(), 5u);
    EXPECT_EQ(framesCounting, 182) << "about 3.03 s after entering";

    EXPECT_EQ(gameScene.pieceX, 3);
    EXPECT_EQ(gameScene.pieceY, 0);
    EXPECT_EQ(gameScene.pieceRotation, 0);
    EXPECT_EQ(gameScene.holdType, PieceType::None);
    EXPECT_FLOAT_EQ(gameScene.fallTimer, 0.0f);
    EXPECT_TRUE(playedSounds().empty());
    EXPECT_EQ(standin::countCalls("UpdateMusicStream"), 0);
    EXPECT_EQ(gameScene.cellSize, 21) << "no layout while counting down";

    step();
    EXPECT_EQ(standin::countCalls("UpdateMusicStream"), 1) << "the music runs with play";
    EXPECT_EQ(gameScene.cellSize, 29) << "and the layout runs again, at the game's own size";
    steps(8);
    EXPECT_EQ(gameScene.pieceRotation, 0) << "the touch lifted in play was no tap";
}

TEST_F(GameSceneTest, OnASlowMachineTheLastCountdownFrameLoadsTheRest) {
    gameScene.enter(manager);
    standin::setFrameTime(1.0f);
    steps(3);
    EXPECT_EQ(gameScene.phase, GamePhase::Countdown);
    EXPECT_LT(TextureStore::instance().textures.size(), 2u + 5u + 32u);
    step();
    EXPECT_EQ(gameScene.phase, GamePhase::Playing);
    EXPECT_EQ(TextureStore::instance().textures.size(), 2u + 5u + 32u);
    EXPECT_EQ(AudioManager::instance().sounds.size(), 10u);
}

TEST_F(GameSceneTest, PauseFreezesEverythingAndResumesWhereItStopped) {
    enterPlaying();
    standin::setFrameTime(0.1f);
    steps(3);
    const float timer = gameScene.fallTimer;
    const int row = gameScene.pieceY;
    gameScene.holdTransfer.state = HoldState::Fly;
    gameScene.holdTransfer.timer = 0.05f;
    gameScene.shakeTime = 0.1f;
    spawnRowClearEffect(gameScene, 19);

    standin::pressNow(KEY_ESCAPE);
    step();
    EXPECT_EQ(gameScene.phase, GamePhase::Paused);
    EXPECT_EQ(gameScene.pauseSelection, 0);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_pause"}));
    const std::vector<Particle> particles = gameScene.particles;
    const float flashLeft = gameScene.rowFlashes.at(0).timeLeft;

    standin::clearCalls();
    for (int i = 0; i < 20; ++i) {
        standin::pressNow(KEY_UP);
        standin::pressNow(KEY_SPACE);
        standin::pressNow(KEY_ESCAPE); // does nothing while paused
        step();
    }
    EXPECT_EQ(gameScene.phase, GamePhase::Paused);
    EXPECT_FLOAT_EQ(gameScene.fallTimer, timer);
    EXPECT_EQ(gameScene.pieceY, row);
    EXPECT_FLOAT_EQ(gameScene.holdTransfer.timer, 0.05f);
    EXPECT_FLOAT_EQ(gameScene.shakeTime, 0.1f);
    ASSERT_EQ(gameScene.particles.size(), particles.size());
    for (std::size_t i = 0; i < particles.size(); ++i) {
        EXPECT_EQ(gameScene.particles[i].position.y, particles[i].position.y);
        EXPECT_EQ(gameScene.particles[i].life, particles[i].life);
    }
    EXPECT_FLOAT_EQ(gameScene.rowFlashes.at(0).timeLeft, flashLeft);
    EXPECT_TRUE(playedSounds().empty());
    EXPECT_EQ(standin::countCalls("UpdateMusicStream"), 0);
    EXPECT_EQ(standin::countCalls("SetMusicPitch"), 0);
    // Frozen, but still on screen behind the pause overlay.
    standin::clearCalls();
    gameScene.draw();
    EXPECT_GE(standin::countCalls("DrawTexturePro") + standin::countCalls("DrawRectangleRec"),
              static_cast<int>(particles.size()));

    // Several entry keys in one frame toggle once; Enter acts after the move.
    standin::pressNow(KEY_LEFT);
    standin::pressNow(KEY_D);
    step();
    EXPECT_EQ(gameScene.pauseSelection, 1);
    standin::pressNow(KEY_A);
    standin::pressNow(KEY_ENTER);
    step();
    EXPECT_EQ(gameScene.phase, GamePhase::Playing);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_select", "sfx_select", "sfx_resume"}));
    EXPECT_FLOAT_EQ(gameScene.fallTimer, timer) << "the resume frame itself does not play";
    EXPECT_FALSE(manager.switchPending);
}

TEST_F(GameSceneTest, EscapeAndEnterInOneFramePauseAndResumeAtOnce) {
    enterPlaying();
    standin::pressNow(KEY_ESCAPE);
    standin::pressNow(KEY_ENTER);
    step();
    EXPECT_EQ(gameScene.phase, GamePhase::Playing);
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_pause", "sfx_resume"}));
}

TEST_F(GameSceneTest, QuitFromThePauseMenuAsksForTheTitleScene) {
    enterPlaying();
    standin::pressNow(KEY_ESCAPE);
    step();
    standin::pressNow(KEY_RIGHT);
    step();
    standin::pressNow(KEY_ENTER);
    step();
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Title);
    EXPECT_EQ(playedSounds().back(), "sfx_quit");
}

TEST_F(GameSceneTest, ATopOutAsksForTheGameOverSceneAtTheNextUpdate) {
    enterPlaying();
    board[1][4] = 3; // the next piece cannot enter
    gameScene.pieceType = PieceType::O;
    gameScene.pieceX = 0;
    standin::pressNow(KEY_UP);
    step();
    EXPECT_TRUE(gameScene.toppedOut);
    EXPECT_FALSE(manager.switchPending) << "not in the frame of the lock";
    const auto before = board;
    const std::uint32_t score = gameScene.score;
    standin::pressNow(KEY_UP);
    step();
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::GameOver);
    EXPECT_EQ(board, before) << "nothing else runs in that update";
    EXPECT_EQ(gameScene.score, score);

    // The game-over scene entered next reads this game's results.
    manager.exitScene();
    EXPECT_EQ(manager.lastScore(), score);
    EXPECT_EQ(manager.lastLevel(), 1u);
    EXPECT_EQ(manager.lastLines(), 0u);
}

TEST_F(GameSceneTest, ExitResetsForARetryButKeepsTheResults) {
    enterPlaying();
    gameScene.lines = 29;
    scoreClear(gameScene, 1);
    ASSERT_EQ(TextureStore::instance().currentBackground, "bg_road");
    gameScene.score = 4321;
    gameScene.holdType = PieceType::Z;
    gameScene.toppedOut = true;
    gameScene.musicPitch = 1.15f;
    gameScene.countdownTime = -0.5f;
    gameScene.shakeTime = 0.1f;
    gameScene.particles.resize(5);
    gameScene.rowFlashes.resize(2);
    gameScene.holdTransfer.state = HoldState::Settle;
    standin::clearCalls();

    gameScene.exit();
    EXPECT_EQ(standin::countCalls("UnloadTexture"), 39);
    EXPECT_TRUE(TextureStore::instance().textures.empty());
    EXPECT_FALSE(standin::musicPlaying(AudioManager::instance().musics.at("bgm_korubekusu").intro));
    EXPECT_EQ(gameScene.score, 4321u);
    EXPECT_EQ(gameScene.level, 4);
    EXPECT_EQ(gameScene.lines, 30);
    EXPECT_EQ(gameScene.phase, GamePhase::Countdown);
    EXPECT_FLOAT_EQ(gameScene.countdownTime, 4.0f);
    EXPECT_EQ(gameScene.countdownValue, 3);
    EXPECT_EQ(gameScene.holdType, PieceType::None);
    EXPECT_FALSE(gameScene.toppedOut);
    EXPECT_FLOAT_EQ(gameScene.musicPitch, 1.0f);
    EXPECT_EQ(gameScene.holdTransfer.state, HoldState::Idle);
    EXPECT_TRUE(gameScene.particles.empty());
    EXPECT_TRUE(gameScene.rowFlashes.empty());
    EXPECT_TRUE(gameScene.sparkleFrames.empty());

    gameScene.enter(manager);
    EXPECT_EQ(TextureStore::instance().currentBackground, "bg_beach");
    EXPECT_EQ(gameScene.level, 1);
    EXPECT_EQ(gameScene.score, 0u);
    EXPECT_EQ(gameScene.backgroundIndex, 0);
    EXPECT_FLOAT_EQ(gameScene.fallInterval, kFirstLevelInterval);
    loadRemaining(gameScene);
    EXPECT_EQ(gameScene.sparkleFrames.size(), 16u);
}

} // namespace

namespace {

using Path = std::vector<Vector2>;

// A finger moving evenly from one point to another over `frames` frames.
Path stroke(Vector2 from, Vector2 to, int frames) {
    Path path;
    for (int i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(frames - 1);
        path.push_back({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
    }
    return path;
}

// The finger on the path, then lifted, and the frames its last owed moves take.
void touch(const Path& path) {
    standin::touchPath(path, standin::frame());
    runGameFrames(static_cast<int>(path.size()) + 3);
}

// At 900 x 700 a well cell is 29 pixels wide.
TEST_F(GameSceneTest, TouchGesturesPlayAndTheMouseDoesNothing) {
    standin::queueRandom({4, 4, 4, 4}); // T pieces
    enterPlaying();
    const int f = standin::frame();
    standin::moveMouse({450, 300}, f);
    standin::mouseHold(MOUSE_BUTTON_LEFT, f, f + 20);
    standin::moveMouse({650, 500}, f + 10);
    steps(25);
    EXPECT_EQ(gameScene.pieceX, 3);
    EXPECT_EQ(gameScene.pieceRotation, 0);

    touch(stroke({450, 300}, {452, 301}, 6));
    EXPECT_EQ(gameScene.pieceRotation, 1) << "a tap turns";
    touch(stroke({450, 300}, {450 + 29 * 2 + 5, 303}, 40));
    EXPECT_EQ(gameScene.pieceX, 5) << "a slow drag: a column a cell";
    touch(stroke({450, 300}, {450 - 29 * 4 - 5, 310}, 3));
    EXPECT_EQ(gameScene.pieceX, 1) << "a quick swipe: the same";

    const int row = gameScene.pieceY;
    Path dragAndHold = stroke({450, 300}, {450, 340}, 10);
    dragAndHold.insert(dragAndHold.end(), 30, Vector2{450, 340});
    touch(dragAndHold);
    EXPECT_GE(gameScene.pieceY, row + 8) << "soft-dropped while held";
    EXPECT_EQ(gameScene.score, 0u) << "and not hard-dropped as it lifted";

    standin::clearCalls();
    touch(stroke({450, 400}, {450, 300}, 5));
    EXPECT_NE(gameScene.holdTransfer.state, HoldState::Idle) << "an upward flick holds";
    steps(30);
    touch(stroke({450, 200}, {450, 320}, 5));
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_hold_block", "sfx_drop"}));
    EXPECT_GT(gameScene.score, 0u) << "a downward flick hard-drops";
}

TEST_F(GameSceneTest, ThePauseControlComesWithATouchAndThePauseMenuIsTapped) {
    enterPlaying();
    const auto controlDrawn = [] {
        standin::clearCalls();
        gameScene.draw();
        for (const standin::Call& frame : standin::callsNamed("DrawRectangleLinesEx")) {
            if (frame.num == std::vector<float>{820, 16, 64, 64, 3}) {
                return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(controlDrawn()) << "without a touch the screen is as it always was";
    touch(stroke({450, 300}, {450, 300}, 3));
    EXPECT_TRUE(controlDrawn());

    touch(stroke({890, 90}, {890, 90}, 3));
    EXPECT_EQ(gameScene.phase, GamePhase::Paused);
    EXPECT_EQ(gameScene.pieceRotation, 1) << "only the first tap turned";
    touch(stroke({600, 380}, {600, 380}, 3));
    EXPECT_EQ(playedSounds(), (std::vector<std::string>{"sfx_pause", "sfx_select", "sfx_quit"}));
    EXPECT_TRUE(manager.switchPending);
    EXPECT_EQ(manager.next, SceneId::Title);
    EXPECT_FALSE(controlDrawn()) << "not over the pause menu";
}

} // namespace
