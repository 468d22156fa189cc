// Every embedded Ogg file loads with the real decoder, as music and as a sound,
// with the length the game was timed for; a real intro hands over to its loop.
#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"

#include <gtest/gtest.h>
#include <raylib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

struct Track {
    const char* name;
    const unsigned char* bytes;
    unsigned int length;
    unsigned int frames;
};

#define KOLVEX_TRACK(n, frames)                                                                    \
    Track {                                                                                        \
#n, n##_ogg, n##_ogg_len, frames                                                           \
    }

const std::vector<Track>& tracks() {
    static const std::vector<Track> all = {
        KOLVEX_TRACK(bgm_korubekusu_intro, 1737310),
        KOLVEX_TRACK(bgm_korubekusu_loop, 2242854),
        KOLVEX_TRACK(bgm_title_intro, 623323),
        KOLVEX_TRACK(bgm_title_loop, 1205905),
        KOLVEX_TRACK(bgm_gameover, 811423),
        KOLVEX_TRACK(sfx_countdown, 105414),
        KOLVEX_TRACK(sfx_drop, 38000),
        KOLVEX_TRACK(sfx_hold_block, 44928),
        KOLVEX_TRACK(sfx_line_clear, 89547),
        KOLVEX_TRACK(sfx_level_up, 37234),
        KOLVEX_TRACK(sfx_pause, 81627),
        KOLVEX_TRACK(sfx_resume, 81627),
        KOLVEX_TRACK(sfx_select, 81627),
        KOLVEX_TRACK(sfx_confirm, 81627),
        KOLVEX_TRACK(sfx_quit, 81627),
        KOLVEX_TRACK(sfx_gameover, 220360),
    };
    return all;
}

TEST(EmbeddedAudio, EveryFileLoadsAsMusicAndAsSoundWithItsLength) {
    for (const Track& t : tracks()) {
        Music music = LoadMusicStreamFromMemory(".ogg", t.bytes, static_cast<int>(t.length));
        ASSERT_TRUE(IsMusicValid(music)) << t.name;
        EXPECT_EQ(music.frameCount, t.frames) << t.name;
        EXPECT_EQ(music.stream.channels, 2u) << t.name;
        EXPECT_EQ(music.stream.sampleRate, 44100u) << t.name;
        UnloadMusicStream(music);

        Wave wave = LoadWaveFromMemory(".ogg", t.bytes, static_cast<int>(t.length));
        ASSERT_NE(wave.data, nullptr) << t.name;
        EXPECT_EQ(wave.frameCount, t.frames) << t.name;
        EXPECT_EQ(wave.channels, 2u) << t.name;
        EXPECT_EQ(wave.sampleRate, 44100u) << t.name;
        UnloadWave(wave);
    }
}

std::vector<unsigned char> readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(AudioManagerWithRaylib, IntroPlaysOutThenTheLoopTakesOver) {
    const auto intro = readFile(KOLVEX_TEST_DATA_DIR "/handover_intro.ogg");
    const auto loop = readFile(KOLVEX_TEST_DATA_DIR "/handover_loop.ogg");
    ASSERT_FALSE(intro.empty());
    ASSERT_FALSE(loop.empty());

    AudioManager& audio = AudioManager::instance();
    ASSERT_TRUE(audio.loadMusic("handover", intro.data(), static_cast<int>(intro.size()),
                                loop.data(), static_cast<int>(loop.size())));
    audio.playMusic("handover");
    ASSERT_NE(audio.currentMusic, nullptr);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!audio.currentMusic->inLoop && std::chrono::steady_clock::now() < deadline) {
        audio.update(1.0f / 120.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(8));
    }
    ASSERT_TRUE(audio.currentMusic->inLoop) << "the intro never handed over";
    EXPECT_FALSE(IsMusicStreamPlaying(audio.currentMusic->intro));
    EXPECT_TRUE(IsMusicStreamPlaying(audio.currentMusic->loop));

    audio.stopMusic();
    for (auto& [name, entry] : audio.musics) {
        UnloadMusicStream(entry.intro);
        UnloadMusicStream(entry.loop);
    }
    audio.musics.clear();
}

} // namespace
