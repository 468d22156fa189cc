// Draws the texture store's current background over the game's whole picture, stretched
// without keeping its aspect ratio.
#include "render/background.h"

#include "app/application.h"
#include "assets/texture_store.h"

void drawBackground(Color tint) {
    const TextureStore& store = TextureStore::instance();
    const auto it = store.textures.find(store.currentBackground);
    if (it == store.textures.end() || it->second.id == 0) {
        return;
    }
    const Texture2D& texture = it->second;
    const Rectangle source{0.0f, 0.0f, static_cast<float>(texture.width),
                           static_cast<float>(texture.height)};
    const Rectangle dest{0.0f, 0.0f, static_cast<float>(kWindowWidth),
                         static_cast<float>(kWindowHeight)};
    DrawTexturePro(texture, source, dest, Vector2{0.0f, 0.0f}, 0.0f, tint);
}
