// The current background: stretched over the whole window from its full picture,
// or nothing at all when the store has no usable texture under its name.
#include "test_support.h"

#include "assets/embedded_assets.h"
#include "assets/texture_store.h"
#include "render/background.h"

namespace {

using BackgroundTest = KolvexTest;

TEST_F(BackgroundTest, NothingIsDrawnWithoutAUsableCurrentTexture) {
    TextureStore& store = TextureStore::instance();
    drawBackground(WHITE);
    EXPECT_EQ(standin::countCalls("DrawTexturePro"), 0) << "the default name is not loaded";

    Texture2D empty{};
    empty.width = 900;
    empty.height = 755;
    store.textures.emplace("tx_broken", empty);
    store.setBackground("tx_broken");
    ASSERT_EQ(store.currentBackground, "tx_broken");
    drawBackground(WHITE);
    EXPECT_EQ(standin::countCalls("DrawTexturePro"), 0) << "an id 0 texture draws nothing";
}

TEST_F(BackgroundTest, CurrentTextureIsStretchedToThePictureWithTheGivenTint) {
    TextureStore& store = TextureStore::instance();
    const Texture2D texture =
        store.load("tx_titlebg", tx_titlebg_png, static_cast<int>(tx_titlebg_png_len));
    ASSERT_NE(texture.id, 0u);
    store.setBackground("tx_titlebg");

    drawBackground(WHITE);
    standin::setScreenSize(1200, 800);
    drawBackground(Color{10, 20, 30, 40});

    const auto draws = standin::callsNamed("DrawTexturePro");
    ASSERT_EQ(draws.size(), 2u);
    const float w = static_cast<float>(texture.width);
    const float h = static_cast<float>(texture.height);
    EXPECT_EQ(draws[0].num, (std::vector<float>{0, 0, w, h, 0, 0, 900, 700, 0, 0, 0}));
    EXPECT_EQ(draws[0].handle, texture.id);
    EXPECT_EQ(draws[0].color.a, 255);
    EXPECT_EQ(draws[1].num, (std::vector<float>{0, 0, w, h, 0, 0, 900, 700, 0, 0, 0}))
        << "the game's picture, whatever the window's size";
    EXPECT_EQ(
        (std::vector<int>{draws[1].color.r, draws[1].color.g, draws[1].color.b, draws[1].color.a}),
        (std::vector<int>{10, 20, 30, 40}));
}

} // namespace
