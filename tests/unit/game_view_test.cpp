// The game's picture in windows of other sizes and shapes, and the pointer read
// back through the same placement.
#include "test_support.h"

#include "app/game_view.h"

namespace {

TEST(GameViewTest, ThePictureIsAsLargeAsFitsCentredInItsOwnShape) {
    struct Case {
        int width;
        int height;
        Rectangle view;
    };
    const Case cases[] = {
        {900, 700, {0, 0, 900, 700}},       {450, 350, {0, 0, 450, 350}}, // the smallest window
        {1800, 700, {450, 0, 900, 700}},                                  // wide: bars at the sides
        {1000, 2000, {0, 611, 1000, 778}},  // tall: bars above and below, 777.8 rounded
        {1920, 1080, {265, 0, 1389, 1080}}, // a full-HD monitor, 1388.6 rounded
        {3840, 2160, {531, 0, 2777, 2160}}, // 4K
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const Rectangle view = fitGameView(c.width, c.height);
        EXPECT_EQ((std::vector<float>{view.x, view.y, view.width, view.height}),
                  (std::vector<float>{c.view.x, c.view.y, c.view.width, c.view.height}));
        // Never stretched: across and down scale alike, to within the rounding.
        EXPECT_NEAR(view.width / 900.0f, view.height / 700.0f, 1.0f / 700.0f);
    }
}

TEST(GameViewTest, WindowPointsMapBackIntoThePicture) {
    const Rectangle view = fitGameView(1800, 700);
    const Vector2 centre = toGamePoint(view, Vector2{900, 350});
    EXPECT_FLOAT_EQ(centre.x, 450.0f);
    EXPECT_FLOAT_EQ(centre.y, 350.0f);
    const Vector2 corner = toGamePoint(view, Vector2{1350, 700});
    EXPECT_FLOAT_EQ(corner.x, 900.0f);
    EXPECT_FLOAT_EQ(corner.y, 700.0f);
    EXPECT_LT(toGamePoint(view, Vector2{100, 350}).x, 0.0f) << "a bar is outside the picture";

    const Rectangle doubled = fitGameView(1800, 1400);
    const Vector2 entry = toGamePoint(doubled, Vector2{600, 900});
    EXPECT_FLOAT_EQ(entry.x, 300.0f);
    EXPECT_FLOAT_EQ(entry.y, 450.0f);
}

} // namespace
