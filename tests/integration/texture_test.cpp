// Every embedded picture decodes, with the real decoder, to the size the game was
// drawn for; the icon to the pixel format the window accepts; the store hands out
// one texture per name.
#include "assets/embedded_assets.h"
#include "assets/texture_store.h"

#include <gtest/gtest.h>
#include <raylib.h>

#include <string>
#include <vector>

namespace {

struct Picture {
    const char* name;
    const unsigned char* bytes;
    unsigned int length;
    int width;
    int height;
};

#define KOLVEX_PICTURE(n, w, h)                                                                    \
    Picture {                                                                                      \
#n, n##_png, n##_png_len, w, h                                                             \
    }

const std::vector<Picture>& pictures() {
    static const std::vector<Picture> all = {
        KOLVEX_PICTURE(tx_block, 32, 32),         KOLVEX_PICTURE(tx_titlebg, 900, 755),
        KOLVEX_PICTURE(tx_htpbg, 900, 755),       KOLVEX_PICTURE(bg_beach, 1280, 1280),
        KOLVEX_PICTURE(bg_city, 1280, 1280),      KOLVEX_PICTURE(bg_mount, 1280, 1280),
        KOLVEX_PICTURE(bg_road, 1280, 1280),      KOLVEX_PICTURE(bg_sunset, 1280, 1280),
        KOLVEX_PICTURE(bg_waterfall, 1280, 1280), KOLVEX_PICTURE(vfx_sparkle1, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle2, 32, 32),     KOLVEX_PICTURE(vfx_sparkle3, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle4, 32, 32),     KOLVEX_PICTURE(vfx_sparkle5, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle6, 32, 32),     KOLVEX_PICTURE(vfx_sparkle7, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle8, 32, 32),     KOLVEX_PICTURE(vfx_sparkle9, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle10, 32, 32),    KOLVEX_PICTURE(vfx_sparkle11, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle12, 32, 32),    KOLVEX_PICTURE(vfx_sparkle13, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle14, 32, 32),    KOLVEX_PICTURE(vfx_sparkle15, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle16, 32, 32),    KOLVEX_PICTURE(vfx_smoke1, 32, 35),
        KOLVEX_PICTURE(vfx_smoke2, 32, 30),       KOLVEX_PICTURE(vfx_smoke3, 32, 35),
        KOLVEX_PICTURE(vfx_smoke4, 32, 32),       KOLVEX_PICTURE(vfx_smoke5, 32, 36),
        KOLVEX_PICTURE(vfx_smoke6, 32, 31),       KOLVEX_PICTURE(vfx_smoke7, 32, 32),
        KOLVEX_PICTURE(vfx_smoke8, 32, 29),       KOLVEX_PICTURE(vfx_smoke9, 32, 35),
        KOLVEX_PICTURE(vfx_smoke10, 32, 38),      KOLVEX_PICTURE(vfx_smoke11, 32, 29),
        KOLVEX_PICTURE(vfx_smoke12, 32, 35),      KOLVEX_PICTURE(vfx_smoke13, 32, 35),
        KOLVEX_PICTURE(vfx_smoke14, 32, 29),      KOLVEX_PICTURE(vfx_smoke15, 32, 31),
        KOLVEX_PICTURE(vfx_smoke16, 32, 34),
    };
    return all;
}

TEST(EmbeddedPictures, EveryPictureDecodesToItsSize) {
    ASSERT_EQ(pictures().size(), 41u); // and the icon below: 42
    for (const Picture& p : pictures()) {
        Image image = LoadImageFromMemory(".png", p.bytes, static_cast<int>(p.length));
        EXPECT_NE(image.data, nullptr) << p.name;
        EXPECT_EQ(image.width, p.width) << p.name;
        EXPECT_EQ(image.height, p.height) << p.name;
        UnloadImage(image);
    }
}

TEST(EmbeddedPictures, IconDecodesToEightBitRgba) {
    Image icon = LoadImageFromMemory(".png", icon_png, static_cast<int>(icon_png_len));
    EXPECT_EQ(icon.width, 600);
    EXPECT_EQ(icon.height, 600);
    EXPECT_EQ(icon.format, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    UnloadImage(icon);
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
