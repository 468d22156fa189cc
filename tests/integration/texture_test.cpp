// Every embedded picture decodes, with the real decoder, to the size the game was
// drawn for; the icon to the pixel format the window accepts; the store hands out
// one texture per name.
#include "assets/asset_catalogue.h"
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"
#include "support/embedded_catalogue.h"

#include <gtest/gtest.h>
#include <raylib.h>

namespace {

TEST(EmbeddedPictures, EveryPictureDecodesToItsSize) {
    ASSERT_EQ(embeddedPictures().size(), 41u); // and the icons below: 43
    for (const EmbeddedPicture& p : embeddedPictures()) {
        Image image = LoadImageFromMemory(".png", p.bytes, static_cast<int>(p.length));
        EXPECT_NE(image.data, nullptr) << p.name;
        EXPECT_EQ(image.width, p.width) << p.name;
        EXPECT_EQ(image.height, p.height) << p.name;
        UnloadImage(image);
    }
}

TEST(EmbeddedPictures, IconsDecodeSmallestFirstToEightBitRgba) {
    const auto icons = assetFiles("icon_");
    ASSERT_EQ(icons.size(), 2u);
    const int sides[] = {48, 256};
    for (std::size_t i = 0; i < icons.size(); ++i) {
        Image icon = LoadImageFromMemory(".png", icons[i].bytes, icons[i].length);
        EXPECT_EQ(icon.width, sides[i]);
        EXPECT_EQ(icon.height, sides[i]);
        EXPECT_EQ(icon.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
        UnloadImage(icon);
    }
}

TEST(TextureStoreWithRaylib, LoadsOnceAndReleasesEverything) {
    TextureStore& store = TextureStore::instance();
    const Texture2D first = store.load("bg_city", bg_city_png, static_cast<int>(bg_city_png_len));
    ASSERT_NE(first.id, 0u);
    EXPECT_EQ(first.width, 1280);
    const Texture2D again = store.load("bg_city", nullptr, 0);
    EXPECT_EQ(again.id, first.id);
    store.unloadAll();
    EXPECT_TRUE(store.textures.empty());
}

} // namespace
