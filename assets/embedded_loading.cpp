// Loading embedded files by name for the scenes.
#include "assets/embedded_loading.h"

#include "assets/audio_manager.h"
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"

Texture2D loadEmbeddedTexture(const char* name) {
    const EmbeddedFile file = embeddedFile(name);
    return TextureStore::instance().load(name, file.bytes, file.length);
}

void loadEmbeddedSound(const char* name) {
    const EmbeddedFile file = embeddedFile(name);
    AudioManager::instance().loadSound(name, file.bytes, file.length);
}

bool loadEmbeddedMusic(const char* name, const char* introFile, const char* loopFile) {
    const EmbeddedFile intro = embeddedFile(introFile);
    const EmbeddedFile loop = embeddedFile(loopFile);
    return AudioManager::instance().loadMusic(name, intro.bytes, intro.length, loop.bytes,
                                              loop.length);
}

void startSceneMusic(const char* name, const char* introFile, const char* loopFile) {
    if (loadEmbeddedMusic(name, introFile, loopFile)) {
        AudioManager::instance().playMusic(name);
    } else {
        TraceLog(LOG_WARNING, "Failed to load BGM!");
    }
}
