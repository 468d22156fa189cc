// The texture store: embedded images decoded once per name into textures, the
// name of the current full-window background, and the release of everything at
// once when the game scene is left.
#pragma once

#include "assets/game_backgrounds.h"

#include <raylib.h>

#include <string>
#include <unordered_map>

struct TextureStore {
    std::unordered_map<std::string, Texture2D> textures;
    std::string currentBackground = kGameBackgrounds[0];

    static TextureStore& instance();

    // The stored texture for `name`, decoding `bytes` only when the name is not
    // held yet; an empty texture (id 0) when the bytes do not decode.
    Texture2D load(const std::string& name, const unsigned char* bytes, int length);
    bool holds(const std::string& name) const;
    void setBackground(const std::string& name);
    void unloadAll();
};
