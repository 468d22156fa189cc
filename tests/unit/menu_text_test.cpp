// The menu item's size, colour and marker, and the two labels' anchoring, as
// recorded by the stand-in.
#include "test_support.h"

#include "render/menu_text.h"

#include <cmath>

namespace {

using MenuTextTest = KolvexTest;

constexpr Vector2 kCentre{330.0f, 370.0f};

int alphaOf(const standin::Call& call) {
    return call.color.a;
}

TEST_F(MenuTextTest, UnselectedItemIsHalfFadedAtItsBaseSizeWithoutMarker) {
    drawMenuItem(GetFontDefault(), "RETRY", kCentre, false, 20.0f, RED);

    const auto measures = standin::callsNamed("MeasureTextEx");
    ASSERT_EQ(measures.size(), 1u);
    EXPECT_EQ(measures[0].num[0], 20.0f);
    EXPECT_EQ(measures[0].num[1], 0.0f) << "measured without spacing";

    const auto texts = standin::callsNamed("DrawTextPro");
    ASSERT_EQ(texts.size(), 1u) << "no marker on an unselected item";
    const Vector2 m = standin::measure("RETRY", 20.0f, 0.0f);
    EXPECT_EQ(texts[0].text, "RETRY");
    EXPECT_EQ(texts[0].num,
              (std::vector<float>{330.0f, 370.0f, m.x * 0.5f, m.y * 0.5f, 0.0f, 20.0f, 2.0f}));
    EXPECT_EQ((std::vector<int>{texts[0].color.r, texts[0].color.g, texts[0].color.b}),
              (std::vector<int>{230, 41, 55}));
    EXPECT_EQ(alphaOf(texts[0]), 127);
}

TEST_F(MenuTextTest, SelectedItemPulsesAndItsMarkerFollowsTheLeftEdge) {
    struct Case {
        double time;
        float expectedScale;
    };
    // At a large clock value the phase is narrowed to a float before the sine;
    // a sine taken in double precision gives a size about 0.008 smaller here.
    const double late = 100000.3;
    const float lateScale = 1.05f + 0.03f * std::sin(static_cast<float>(8.0 * late));
    const Case cases[] = {{0.0, 1.05f}, {0.19634954, 1.08f}, {late, lateScale}};

    std::vector<float> markerXs;
    for (const Case& c : cases) {
        standin::clearCalls();
        standin::setTime(c.time);
        drawMenuItem(GetFontDefault(), "GAME START", kCentre, true, 20.0f, WHITE);

        const auto texts = standin::callsNamed("DrawTextPro");
        ASSERT_EQ(texts.size(), 2u);
        const float size = texts[0].num[5];
        EXPECT_NEAR(size, 20.0f * c.expectedScale, 1e-4f) << "time " << c.time;
        EXPECT_EQ(alphaOf(texts[0]), 255);

        const Vector2 m = standin::measure("GAME START", size, 0.0f);
        EXPECT_FLOAT_EQ(texts[0].num[2], m.x * 0.5f);
        EXPECT_EQ(texts[1].text, ">");
        EXPECT_FLOAT_EQ(texts[1].num[0], kCentre.x - m.x * 0.5f - 30.0f);
        EXPECT_EQ(texts[1].num[1], kCentre.y);
        EXPECT_EQ(texts[1].num[2], 0.0f);
        EXPECT_FLOAT_EQ(texts[1].num[3], m.y * 0.5f);
        EXPECT_EQ(texts[1].num[5], size) << "the marker pulses with the item";
        EXPECT_EQ(texts[1].num[6], 4.0f);
        EXPECT_EQ(alphaOf(texts[1]), 255);
        markerXs.push_back(texts[1].num[0]);
    }
    EXPECT_NE(markerXs[0], markerXs[1]) << "the marker moves with the pulse";
}

TEST_F(MenuTextTest, LabelsAreWhiteSize20CentredOrAnchoredAtTheirLeftEdge) {
    drawCenteredLabel(GetFontDefault(), "SFX:", Vector2{450.0f, 485.0f});
    drawLeftLabel(GetFontDefault(), "CONFIRM: ENTER", Vector2{120.0f, 200.0f});

    for (const auto& measure : standin::callsNamed("MeasureTextEx")) {
        EXPECT_EQ(measure.num[0], 20.0f);
        EXPECT_EQ(measure.num[1], 0.0f);
    }
    const auto texts = standin::callsNamed("DrawTextPro");
    ASSERT_EQ(texts.size(), 2u);
    const Vector2 centred = standin::measure("SFX:", 20.0f, 0.0f);
    EXPECT_EQ(texts[0].num, (std::vector<float>{450.0f, 485.0f, centred.x * 0.5f, centred.y * 0.5f,
                                                0.0f, 20.0f, 2.0f}));
    EXPECT_EQ(texts[1].num, (std::vector<float>{120.0f, 200.0f, 0.0f, 10.0f, 0.0f, 20.0f, 2.0f}));
    for (const auto& text : texts) {
        EXPECT_EQ((std::vector<int>{text.color.r, text.color.g, text.color.b, text.color.a}),
                  (std::vector<int>{255, 255, 255, 255}));
    }
}

} // namespace
