// Every embedded Ogg file loads with the real decoder, as music and as a sound,
// with the length the game was timed for; a real intro hands over to its loop.
#include "assets/audio_manager.h"
#include "support/embedded_catalogue.h"

#include <gtest/gtest.h>
#include <raylib.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

TEST(EmbeddedAudio, EveryFileLoadsAsMusicAndAsSoundWithItsLength) {
    for (const EmbeddedTrack& t : embeddedTracks()) {
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
