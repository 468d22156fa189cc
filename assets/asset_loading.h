// The scenes' way to load asset files: by file name, into the texture store and
// the audio manager, under the same name. A file that has not arrived yet (on
// the web) is not loaded and nothing is said; the scenes ask again later.
#pragma once

#include <raylib.h>

// The texture, or an empty one (id 0) while its file has not arrived.
Texture2D loadAssetTexture(const char* name);
void loadAssetSound(const char* name);

// Loads the music `name` from its intro and loop files (one file for both when
// it has no intro); false when it cannot be loaded or has not arrived.
bool loadAssetMusic(const char* name, const char* introFile, const char* loopFile);

// Loads the music as above and plays it. Music that has not arrived yet starts
// when it does (startArrivedMusic), unless the scene has ended; music that
// cannot be loaded is not played, and the log says so.
void startSceneMusic(const char* name, const char* introFile, const char* loopFile);
// Once a frame: starts the scene's music if it was waiting and has arrived.
void startArrivedMusic();
// Stops the scene's music, or its wait.
void stopSceneMusic();
