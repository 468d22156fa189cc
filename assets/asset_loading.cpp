// Loading asset files by name for the scenes, and the scene music that waits
// for its files.
#include "assets/asset_loading.h"

#include "assets/asset_catalogue.h"
#include "assets/audio_manager.h"
#include "assets/texture_store.h"

#include <string>

namespace {

struct SceneMusic {
    std::string name;
    std::string introFile;
    std::string loopFile;
};

// The music a scene asked for before its files arrived; empty name when none.
SceneMusic waitingMusic;

bool musicHere(const SceneMusic& music) {
    return assetFile(music.introFile).bytes != nullptr &&
           assetFile(music.loopFile).bytes != nullptr;
}

void playNow(const SceneMusic& music) {
    if (loadAssetMusic(music.name.c_str(), music.introFile.c_str(), music.loopFile.c_str())) {
        AudioManager::instance().playMusic(music.name);
    } else {
        TraceLog(LOG_WARNING, "Failed to load BGM!");
    }
}

} // namespace

Texture2D loadAssetTexture(const char* name) {
    const AssetFile file = assetFile(name);
    if (file.bytes == nullptr && !TextureStore::instance().holds(name)) {
        return Texture2D{};
    }
    return TextureStore::instance().load(name, file.bytes, file.length);
}

void loadAssetSound(const char* name) {
    const AssetFile file = assetFile(name);
    if (file.bytes != nullptr) {
        AudioManager::instance().loadSound(name, file.bytes, file.length);
    }
}

bool loadAssetMusic(const char* name, const char* introFile, const char* loopFile) {
    const AssetFile intro = assetFile(introFile);
    const AssetFile loop = assetFile(loopFile);
    if (intro.bytes == nullptr || loop.bytes == nullptr) {
        return false;
    }
    return AudioManager::instance().loadMusic(name, intro.bytes, intro.length, loop.bytes,
                                              loop.length);
}

void startSceneMusic(const char* name, const char* introFile, const char* loopFile) {
    const SceneMusic music{name, introFile, loopFile};
    waitingMusic = {};
    if (musicHere(music)) {
        playNow(music);
    } else {
        waitingMusic = music;
    }
}

void startArrivedMusic() {
    if (!waitingMusic.name.empty() && musicHere(waitingMusic)) {
        playNow(waitingMusic);
        waitingMusic = {};
    }
}

void stopSceneMusic() {
    waitingMusic = {};
    AudioManager::instance().stopMusic();
}
