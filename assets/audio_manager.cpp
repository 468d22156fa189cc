// The audio manager: sounds and musics loaded once per name, the intro handed over
// to its loop when it has played out, and everything released at shutdown.
#include "assets/audio_manager.h"

#include <algorithm>

namespace {

constexpr float kMinPitch = 0.5f;
constexpr float kMaxPitch = 2.0f;
// A non-looping stream that has played out reads 0 again; a fall of more than
// this many seconds between two updates means the intro has ended.
constexpr float kIntroEndedFallBack = 1.0f;

} // namespace

AudioManager& AudioManager::instance() {
    static AudioManager manager;
    return manager;
}

bool AudioManager::init() {
    InitAudioDevice();
    return true;
}

bool AudioManager::loadMusic(const std::string& name, const unsigned char* introBytes,
                             int introLength, const unsigned char* loopBytes, int loopLength) {
    if (introBytes == nullptr || loopBytes == nullptr || introLength <= 0 || loopLength <= 0) {
        return false;
    }
    if (holdsMusic(name)) {
        return true; // the stored one stays: decoding it again would only be thrown away
    }
    MusicEntry entry;
    entry.intro = LoadMusicStreamFromMemory(".ogg", introBytes, introLength);
    entry.loop = LoadMusicStreamFromMemory(".ogg", loopBytes, loopLength);
    entry.intro.looping = false;
    entry.loop.looping = true;

    const bool introValid = IsMusicValid(entry.intro);
    const bool loopValid = IsMusicValid(entry.loop);
    if (introValid && loopValid) {
        musics.emplace(name, entry);
        return true;
    }
    if (introValid) {
        UnloadMusicStream(entry.intro);
    }
    if (loopValid) {
        UnloadMusicStream(entry.loop);
    }
    return false;
}

bool AudioManager::loadSound(const std::string& name, const unsigned char* bytes, int length) {
    if (bytes == nullptr || length <= 0) {
        return false;
    }
    if (holdsSound(name)) {
        return true; // the stored one stays; it may be playing right now
    }
    Wave wave = LoadWaveFromMemory(".ogg", bytes, length);
    if (wave.data == nullptr) {
        return false;
    }
    Sound sound = LoadSoundFromWave(wave);
    UnloadWave(wave);
    if (sound.stream.buffer == nullptr) {
        return false;
    }
    sounds.emplace(name, sound);
    return true;
}

bool AudioManager::holdsMusic(const std::string& name) const {
    return musics.count(name) > 0;
}

bool AudioManager::holdsSound(const std::string& name) const {
    return sounds.count(name) > 0;
}

void AudioManager::playMusic(const std::string& name) {
    auto it = musics.find(name);
    if (it == musics.end()) {
        return;
    }
    if (currentMusic != nullptr) {
        StopMusicStream(currentMusic->intro);
        StopMusicStream(currentMusic->loop);
    }
    currentMusic = &it->second;
    currentMusic->inLoop = false;
    lastIntroTime = 0.0f;
    PlayMusicStream(currentMusic->intro);
}

void AudioManager::playSound(const std::string& name, float volume) {
    auto it = sounds.find(name);
    if (it == sounds.end()) {
        return;
    }
    SetSoundVolume(it->second, volume * soundVolume);
    PlaySound(it->second);
}

void AudioManager::setMusicPitch(float pitch) {
    pitch = std::clamp(pitch, kMinPitch, kMaxPitch);
    if (currentMusic == nullptr) {
        return;
    }
    SetMusicPitch(currentMusic->inLoop ? currentMusic->loop : currentMusic->intro, pitch);
}

void AudioManager::stopMusic() {
    if (currentMusic == nullptr) {
        return;
    }
    StopMusicStream(currentMusic->intro);
    StopMusicStream(currentMusic->loop);
    currentMusic = nullptr;
    lastIntroTime = 0.0f;
}

void AudioManager::update(float) {
    if (currentMusic == nullptr) {
        return;
    }
    if (currentMusic->inLoop) {
        SetMusicVolume(currentMusic->loop, 1.0f);
        UpdateMusicStream(currentMusic->loop);
        return;
    }
    SetMusicVolume(currentMusic->intro, 1.0f);
    UpdateMusicStream(currentMusic->intro);
    const float played = GetMusicTimePlayed(currentMusic->intro);
    if (lastIntroTime > played + kIntroEndedFallBack) {
        StopMusicStream(currentMusic->intro);
        currentMusic->inLoop = true;
        PlayMusicStream(currentMusic->loop);
    }
    lastIntroTime = played;
}

void AudioManager::shutdown() {
    for (const auto& [name, sound] : sounds) {
        UnloadSound(sound);
    }
    sounds.clear();
    for (const auto& [name, entry] : musics) {
        UnloadMusicStream(entry.intro);
        UnloadMusicStream(entry.loop);
    }
    musics.clear();
    currentMusic = nullptr;
    CloseAudioDevice();
}
