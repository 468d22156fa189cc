// The texture store: one decode per name, the warning for bad data, the file type
// passed to the decoder, and the current background across a release.
#include "test_support.h"

#include "assets/embedded_assets.h"
#include "assets/texture_store.h"

namespace {

using TextureStoreTest = KolvexTest;

const unsigned char kNotAPicture[] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};

TEST_F(TextureStoreTest, SecondLoadOfANameReturnsTheStoredTextureWithoutDecoding) {
    TextureStore& store = TextureStore::instance();
    const Texture2D first =
        store.load("tx_block", tx_block_png, static_cast<int>(tx_block_png_len));
    ASSERT_NE(first.id, 0u);
    EXPECT_EQ(first.width, 32);
    EXPECT_EQ(first.height, 32);
    EXPECT_EQ(standin::countCalls("LoadImageFromMemory"), 1);
    EXPECT_EQ(standin::liveImages(), 0) << "the decoded image is released once uploaded";
    const auto filters = standin::callsNamed("SetTextureFilter");
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].num[0], static_cast<float>(TEXTURE_FILTER_BILINEAR));

    // Other bytes, or none at all, do not matter once the name is held.
    const Texture2D again = store.load("tx_block", kNotAPicture, sizeof kNotAPicture);
    const Texture2D none = store.load("tx_block", nullptr, 0);
    EXPECT_EQ(again.id, first.id);
    EXPECT_EQ(none.id, first.id);
    EXPECT_EQ(standin::countCalls("LoadImageFromMemory"), 1);
}

TEST_F(TextureStoreTest, CorruptBytesWarnStoreNothingAndALaterGoodLoadSucceeds) {
    TextureStore& store = TextureStore::instance();
    const Texture2D bad = store.load("bg_city", kNotAPicture, sizeof kNotAPicture);
    EXPECT_EQ(bad.id, 0u);
    EXPECT_EQ(bad.width, 0);
    EXPECT_EQ(bad.height, 0);
    EXPECT_TRUE(store.textures.empty());
    ASSERT_EQ(standin::logLines().size(), 1u);
    EXPECT_EQ(standin::logLines()[0].level, LOG_WARNING);
    EXPECT_EQ(standin::logLines()[0].text, "テキスチャーの読み込みに失敗： bg_city");
    EXPECT_EQ(standin::countCalls("LoadTextureFromImage"), 0);

    const Texture2D good = store.load("bg_city", bg_city_png, static_cast<int>(bg_city_png_len));
    EXPECT_NE(good.id, 0u);
    EXPECT_EQ(store.textures.count("bg_city"), 1u);
}

TEST_F(TextureStoreTest, AFailedUploadIsStoredAndDrawsNothing) {
    standin::failTextureUploads(true);
    const Texture2D t =
        TextureStore::instance().load("tx_block", tx_block_png, static_cast<int>(tx_block_png_len));
    EXPECT_EQ(t.id, 0u);
    EXPECT_EQ(TextureStore::instance().textures.count("tx_block"), 1u);
    EXPECT_TRUE(standin::logLines().empty());
}

TEST_F(TextureStoreTest, NamesContainingJpgOrJpegAnywhereGoToTheJpegDecoder) {
    struct Case {
        const char* name;
        const char* fileType;
    };
    const Case cases[] = {
        {"tx_block", ".png"},   {"photo.jpg", ".jpg"},    {"a_jpeg_b", ".jpg"},
        {"xjpgx", ".jpg"},      {"bg_JPG", ".png"},       {"jpe", ".png"},
        {"vfx_smoke1", ".png"}, {"bg_waterfall", ".png"},
    };
    for (const Case& c : cases) {
        standin::clearCalls();
        TextureStore::instance().load(c.name, tx_block_png, static_cast<int>(tx_block_png_len));
        const auto decodes = standin::callsNamed("LoadImageFromMemory");
        ASSERT_EQ(decodes.size(), 1u) << c.name;
        EXPECT_EQ(decodes[0].text, c.fileType) << c.name;
    }
}

TEST_F(TextureStoreTest, CurrentBackgroundChangesOnlyToStoredNamesAndSurvivesARelease) {
    TextureStore& store = TextureStore::instance();
    EXPECT_EQ(store.currentBackground, "bg_beach");

    store.setBackground("bg_city"); // not loaded yet
    EXPECT_EQ(store.currentBackground, "bg_beach");

    store.load("bg_city", bg_city_png, static_cast<int>(bg_city_png_len));
    store.setBackground("bg_city");
    EXPECT_EQ(store.currentBackground, "bg_city");

    store.unloadAll();
    EXPECT_EQ(standin::countCalls("UnloadTexture"), 1);
    EXPECT_TRUE(store.textures.empty());
    EXPECT_EQ(store.currentBackground, "bg_city");

    // Loading the name again makes it current again without another call.
    store.load("bg_city", bg_city_png, static_cast<int>(bg_city_png_len));
    EXPECT_EQ(store.textures.count(store.currentBackground), 1u);
}

} // namespace
