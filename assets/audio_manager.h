// The audio manager: the audio device, every sound effect and every music, all
// addressed by asset name. A music is an intro played once and a loop that
// repeats after it; the hand-over is made by watching the intro's played time.
#pragma once

#include <raylib.h>

#include <string>
#include <unordered_map>

struct MusicEntry {
    Music intro{};
    Music loop{};
    bool inLoop = false;
};

struct AudioManager {
    std::unordered_map<std::string, Sound> sounds;
    // Entries stay where they are when the map grows, so `currentMusic` may
    // point into it; nothing is removed before shutdown.
    std::unordered_map<std::string, MusicEntry> musics;
    MusicEntry* currentMusic = nullptr;
    float soundVolume = 1.0f;
    float lastIntroTime = 0.0f;

    static AudioManager& instance();

    bool init();
    bool loadMusic(const std::string& name, const unsigned char* introBytes, int introLength,
                   const unsigned char* loopBytes, int loopLength);
    bool loadSound(const std::string& name, const unsigned char* bytes, int length);
    bool holdsMusic(const std::string& name) const;
    bool holdsSound(const std::string& name) const;
    void playMusic(const std::string& name);
    void playSound(const std::string& name, float volume);
    void setMusicPitch(float pitch);
    void stopMusic();
    void update(float frameTime);
    void shutdown();
};
