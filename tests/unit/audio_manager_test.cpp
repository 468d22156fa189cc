// The audio manager: what it keeps and releases, how a music hands over from its
// intro to its loop, the pitch, and the order of its shutdown.
#include "test_support.h"

#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"

#include <cmath>

namespace {

using AudioManagerTest = KolvexTest;

int len(unsigned int n) {
    return static_cast<int>(n);
}

bool loadTitleMusic() {
    return AudioManager::instance().loadMusic("bgm_title", bgm_title_intro_ogg,
                                              len(bgm_title_intro_ogg_len), bgm_title_loop_ogg,
                                              len(bgm_title_loop_ogg_len));
}

TEST_F(AudioManagerTest, BadArgumentsLoadNothing) {
    AudioManager& audio = AudioManager::instance();
    const int good = len(sfx_drop_ogg_len);
    EXPECT_FALSE(audio.loadMusic("m", nullptr, good, sfx_drop_ogg, good));
    EXPECT_FALSE(audio.loadMusic("m", sfx_drop_ogg, good, nullptr, good));
    EXPECT_FALSE(audio.loadMusic("m", sfx_drop_ogg, 0, sfx_drop_ogg, good));
    EXPECT_FALSE(audio.loadMusic("m", sfx_drop_ogg, good, sfx_drop_ogg, -5));
    EXPECT_FALSE(audio.loadSound("s", nullptr, good));
    EXPECT_FALSE(audio.loadSound("s", sfx_drop_ogg, 0));
    EXPECT_TRUE(audio.musics.empty());
    EXPECT_TRUE(audio.sounds.empty());
    EXPECT_EQ(standin::countCalls("LoadMusicStreamFromMemory"), 0);
    EXPECT_EQ(standin::countCalls("LoadWaveFromMemory"), 0);
}

TEST_F(AudioManagerTest, AMusicWithOnlyOneValidStreamIsReleasedAndNotStored) {
    AudioManager& audio = AudioManager::instance();
    const unsigned char junk[] = {1, 2, 3, 4, 5};
    EXPECT_FALSE(audio.loadMusic("bgm_title", bgm_title_intro_ogg, len(bgm_title_intro_ogg_len),
                                 junk, sizeof junk));
    EXPECT_TRUE(audio.musics.empty());
    EXPECT_EQ(standin::liveMusicStreams(), 0);
    EXPECT_EQ(standin::countCalls("UnloadMusicStream"), 1);
    EXPECT_TRUE(standin::logLines().empty()) << "the scenes, not the manager, report it";

    standin::failMusicDecodes(1); // the intro fails, the loop decodes
    EXPECT_FALSE(loadTitleMusic());
    EXPECT_EQ(standin::liveMusicStreams(), 0);
}

TEST_F(AudioManagerTest, ARepeatedLoadKeepsTheStoredOneAndDecodesNothing) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(loadTitleMusic());
    const unsigned storedIntro = standin::musicId(audio.musics["bgm_title"].intro);
    ASSERT_TRUE(loadTitleMusic());
    EXPECT_EQ(standin::musicId(audio.musics["bgm_title"].intro), storedIntro);
    EXPECT_EQ(standin::countCalls("LoadMusicStreamFromMemory"), 2);
    EXPECT_EQ(standin::liveMusicStreams(), 2);

    ASSERT_TRUE(audio.loadSound("sfx_confirm", sfx_confirm_ogg, len(sfx_confirm_ogg_len)));
    audio.playSound("sfx_confirm", 1.0f);
    const unsigned storedSound = standin::soundId(audio.sounds["sfx_confirm"]);
    ASSERT_TRUE(audio.loadSound("sfx_confirm", sfx_confirm_ogg, len(sfx_confirm_ogg_len)));
    EXPECT_EQ(standin::soundId(audio.sounds["sfx_confirm"]), storedSound);
    EXPECT_EQ(standin::countCalls("LoadWaveFromMemory"), 1);
    EXPECT_EQ(standin::liveSounds(), 1);
    EXPECT_EQ(standin::countCalls("UnloadWave"), 1);
}

TEST_F(AudioManagerTest, SoundsThatFailToDecodeOrUploadAreNotStored) {
    AudioManager& audio = AudioManager::instance();
    standin::failWaveDecodes(true);
    EXPECT_FALSE(audio.loadSound("sfx_drop", sfx_drop_ogg, len(sfx_drop_ogg_len)));
    standin::failWaveDecodes(false);
    standin::failSoundUploads(true);
    EXPECT_FALSE(audio.loadSound("sfx_drop", sfx_drop_ogg, len(sfx_drop_ogg_len)));
    EXPECT_EQ(standin::countCalls("UnloadWave"), 1) << "the decoded wave is released anyway";
    EXPECT_TRUE(audio.sounds.empty());

    audio.playSound("sfx_drop", 1.0f);
    EXPECT_EQ(standin::countCalls("PlaySound"), 0);
}

TEST_F(AudioManagerTest, PlaySoundSetsTheVolumeThenPlays) {
    AudioManager& audio = AudioManager::instance();
    audio.loadSound("sfx_drop", sfx_drop_ogg, len(sfx_drop_ogg_len));
    standin::clearCalls();
    audio.playSound("sfx_drop", 1.0f);
    ASSERT_EQ(standin::calls().size(), 2u);
    EXPECT_EQ(standin::calls()[0].fn, "SetSoundVolume");
    EXPECT_EQ(standin::calls()[0].num[0], 1.0f);
    EXPECT_EQ(standin::calls()[1].fn, "PlaySound");
}

TEST_F(AudioManagerTest, PlayMusicOfAnUnknownNameKeepsTheCurrentMusicGoing) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(loadTitleMusic());
    audio.playMusic("bgm_title");
    MusicEntry* playing = audio.currentMusic;
    standin::clearCalls();
    audio.playMusic("bgm_missing");
    EXPECT_EQ(audio.currentMusic, playing);
    EXPECT_TRUE(standin::calls().empty());
    EXPECT_TRUE(standin::musicPlaying(playing->intro));
}

TEST_F(AudioManagerTest, PlayingTheCurrentMusicOrStopThenPlayRestartsItsIntro) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(loadTitleMusic());
    audio.playMusic("bgm_title");
    for (int i = 0; i < 30; ++i) {
        audio.update(GetFrameTime());
    }
    EXPECT_GT(GetMusicTimePlayed(audio.currentMusic->intro), 0.4f);
    EXPECT_GT(audio.lastIntroTime, 0.4f);

    audio.playMusic("bgm_title");
    EXPECT_EQ(GetMusicTimePlayed(audio.currentMusic->intro), 0.0f);
    EXPECT_EQ(audio.lastIntroTime, 0.0f);
    EXPECT_TRUE(standin::musicPlaying(audio.currentMusic->intro));

    audio.update(GetFrameTime());
    audio.stopMusic();
    EXPECT_EQ(audio.currentMusic, nullptr);
    EXPECT_EQ(audio.lastIntroTime, 0.0f);
    audio.playMusic("bgm_title");
    EXPECT_EQ(audio.lastIntroTime, 0.0f);
    EXPECT_EQ(GetMusicTimePlayed(audio.currentMusic->intro), 0.0f);
}

TEST_F(AudioManagerTest, HandsOverOnTheFirstUpdateAfterTheIntroHasPlayedOut) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(loadTitleMusic());
    audio.playMusic("bgm_title");
    MusicEntry& entry = *audio.currentMusic;
    const float introSeconds = static_cast<float>(entry.intro.frameCount) / 44100.0f;
    standin::setFrameTime(0.25f);

    int updates = 0;
    while (!entry.inLoop && updates < 1000) {
        audio.update(0.25f);
        ++updates;
    }
    ASSERT_TRUE(entry.inLoop);
    // The update that plays past the end stops the intro, and its played time,
    // read right after, is back at 0: that same update hands over.
    EXPECT_EQ(updates, static_cast<int>(std::ceil(introSeconds / 0.25f)));
    EXPECT_FALSE(standin::musicPlaying(entry.intro));
    EXPECT_TRUE(standin::musicPlaying(entry.loop));

    // From now on only the loop is refilled, at full volume, and it never hands over again.
    standin::clearCalls();
    for (int i = 0; i < 400; ++i) {
        audio.update(0.25f);
    }
    EXPECT_TRUE(entry.inLoop);
    for (const standin::Call& c : standin::calls()) {
        EXPECT_EQ(c.handle, standin::musicId(entry.loop)) << c.fn;
        if (c.fn == "SetMusicVolume") {
            EXPECT_EQ(c.num[0], 1.0f);
        }
    }
    EXPECT_EQ(standin::countCalls("SetMusicVolume"), 400);
}

TEST_F(AudioManagerTest, AnIntroOfOneSecondOrLessNeverHandsOver) {
    AudioManager& audio = AudioManager::instance();
    // sfx_level_up lasts 0.84 s: once it has played out the music stays silent.
    ASSERT_TRUE(audio.loadMusic("short", sfx_level_up_ogg, len(sfx_level_up_ogg_len),
                                bgm_title_loop_ogg, len(bgm_title_loop_ogg_len)));
    audio.playMusic("short");
    for (int i = 0; i < 600; ++i) {
        audio.update(1.0f / 60.0f);
    }
    EXPECT_FALSE(audio.currentMusic->inLoop);
    EXPECT_FALSE(standin::musicPlaying(audio.currentMusic->intro));
    EXPECT_FALSE(standin::musicPlaying(audio.currentMusic->loop));
}

TEST_F(AudioManagerTest, PitchIsClampedAndAppliedOnlyToThePartThatPlays) {
    AudioManager& audio = AudioManager::instance();
    audio.setMusicPitch(1.1f); // no music: nothing happens
    EXPECT_EQ(standin::countCalls("SetMusicPitch"), 0);

    ASSERT_TRUE(loadTitleMusic());
    audio.playMusic("bgm_title");
    MusicEntry& entry = *audio.currentMusic;
    audio.setMusicPitch(3.0f);
    EXPECT_EQ(standin::musicPitch(entry.intro), 2.0f);
    audio.setMusicPitch(0.1f);
    EXPECT_EQ(standin::musicPitch(entry.intro), 0.5f);
    audio.setMusicPitch(1.2f);
    EXPECT_EQ(standin::musicPitch(entry.loop), 1.0f) << "the loop keeps its own pitch";

    while (!entry.inLoop) {
        audio.update(0.5f);
    }
    EXPECT_EQ(standin::musicPitch(entry.loop), 1.0f) << "the intro's pitch is not carried over";
    audio.setMusicPitch(1.1f);
    EXPECT_FLOAT_EQ(standin::musicPitch(entry.loop), 1.1f);
    EXPECT_FLOAT_EQ(standin::musicPitch(entry.intro), 1.2f);
}

TEST_F(AudioManagerTest, TheSameFileAsIntroAndLoopPlaysOnceThenRepeats) {
    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadMusic("bgm_gameover", bgm_gameover_ogg, len(bgm_gameover_ogg_len),
                                bgm_gameover_ogg, len(bgm_gameover_ogg_len)));
    audio.playMusic("bgm_gameover");
    MusicEntry& entry = *audio.currentMusic;
    EXPECT_NE(standin::musicId(entry.intro), standin::musicId(entry.loop))
        << "two decoders over the same bytes";
    while (!entry.inLoop) {
        audio.update(0.5f);
    }
    const float length = static_cast<float>(entry.loop.frameCount) / 44100.0f;
    for (float t = 0.0f; t < 3.0f * length; t += 0.5f) {
        audio.update(0.5f);
    }
    EXPECT_TRUE(standin::musicPlaying(entry.loop));
}

TEST_F(AudioManagerTest, ShutdownUnloadsEveryStreamAndSoundOnceThenClosesTheDevice) {
    AudioManager& audio = AudioManager::instance();
    audio.init();
    ASSERT_TRUE(loadTitleMusic());
    ASSERT_TRUE(audio.loadMusic("bgm_gameover", bgm_gameover_ogg, len(bgm_gameover_ogg_len),
                                bgm_gameover_ogg, len(bgm_gameover_ogg_len)));
    audio.loadSound("sfx_drop", sfx_drop_ogg, len(sfx_drop_ogg_len));
    audio.loadSound("sfx_quit", sfx_quit_ogg, len(sfx_quit_ogg_len));
    audio.playMusic("bgm_title");
    audio.stopMusic();
    standin::clearCalls();

    audio.shutdown();
    EXPECT_EQ(standin::countCalls("UnloadMusicStream"), 4);
    EXPECT_EQ(standin::countCalls("UnloadSound"), 2);
    EXPECT_EQ(standin::liveMusicStreams(), 0);
    EXPECT_EQ(standin::liveSounds(), 0);
    ASSERT_FALSE(standin::calls().empty());
    EXPECT_EQ(standin::calls().back().fn, "CloseAudioDevice");
    EXPECT_EQ(audio.currentMusic, nullptr);
    EXPECT_TRUE(audio.musics.empty());
    EXPECT_TRUE(audio.sounds.empty());
}

} // namespace
