// The texture store: each picture decoded and uploaded once per name, the current
// background chosen only among the pictures held, and all of them released at once.
#include "assets/texture_store.h"

namespace {

// Every embedded picture is a PNG; the JPEG branch is kept for names that say so.
const char* fileTypeFor(const std::string& name) {
    if (name.find("jpg") != std::string::npos || name.find("jpeg") != std::string::npos) {
        return ".jpg";
    }
    return ".png";
}

} // namespace

TextureStore& TextureStore::instance() {
    static TextureStore store;
    return store;
}

Texture2D TextureStore::load(const std::string& name, const unsigned char* bytes, int length) {
    if (auto it = textures.find(name); it != textures.end()) {
        return it->second;
    }
    Image image = LoadImageFromMemory(fileTypeFor(name), bytes, length);
    if (image.data == nullptr) {
        TraceLog(LOG_WARNING, "テキスチャーの読み込みに失敗： %s", name.c_str());
        return Texture2D{};
    }
    Texture2D texture = LoadTextureFromImage(image);
    UnloadImage(image);
    SetTextureFilter(texture, TEXTURE_FILTER_BILINEAR);
    textures.emplace(name, texture);
    return texture;
}

bool TextureStore::holds(const std::string& name) const {
    return textures.count(name) > 0;
}

void TextureStore::setBackground(const std::string& name) {
    if (textures.count(name) > 0) {
        currentBackground = name;
    }
}

void TextureStore::unloadAll() {
    for (const auto& [name, texture] : textures) {
        UnloadTexture(texture);
    }
    textures.clear();
}
