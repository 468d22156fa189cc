// The scenes' way to load embedded files: by file name, into the texture store
// and the audio manager, under the same name.
#pragma once

#include <raylib.h>

Texture2D loadEmbeddedTexture(const char* name);
void loadEmbeddedSound(const char* name);

// Loads the music `name` from its intro and loop files (one file for both when
// it has no intro); false when it cannot be loaded.
bool loadEmbeddedMusic(const char* name, const char* introFile, const char* loopFile);

// Loads the music as above and plays it. A scene whose music cannot be loaded
// plays none and says so in the log.
void startSceneMusic(const char* name, const char* introFile, const char* loopFile);
