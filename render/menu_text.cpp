// The menu item with its pulse and marker, and the two plain white labels. Text is
// measured without spacing and drawn with it, so a centred text sits a little right
// of its point; every menu in the game is laid out around that.
#include "render/menu_text.h"

#include <cmath>

namespace {

constexpr float kPulseBase = 1.05f;
constexpr float kPulseDepth = 0.03f;
constexpr double kPulseRate = 8.0; // radians per second
constexpr float kUnselectedAlpha = 0.5f;
constexpr float kMeasureSpacing = 0.0f;
constexpr float kTextSpacing = 2.0f;
constexpr float kMarkerSpacing = 4.0f;
constexpr float kMarkerGap = 30.0f;
constexpr const char* kMarker = ">";
constexpr float kLabelSize = 20.0f;
// Around the text, so a fingertip a little off the letters still hits, yet the
// areas of entries one line apart do not overlap.
constexpr float kPointerMargin = 10.0f;

float pulseScale() {
    const float phase = static_cast<float>(kPulseRate * GetTime());
    return kPulseBase + kPulseDepth * std::sin(phase);
}

} // namespace

void drawMenuItem(Font font, const char* text, Vector2 centre, bool selected, float baseSize,
                  Color colour) {
    const float scale = selected ? pulseScale() : 1.0f;
    const Color drawColour = selected ? colour : Fade(colour, kUnselectedAlpha);
    const float size = scale * baseSize;
    const Vector2 m = MeasureTextEx(font, text, size, kMeasureSpacing);
    DrawTextPro(font, text, centre, Vector2{m.x * 0.5f, m.y * 0.5f}, 0.0f, size, kTextSpacing,
                drawColour);
    if (!selected) {
        return;
    }
    const Vector2 markerAt{centre.x - m.x * 0.5f - kMarkerGap, centre.y};
    DrawTextPro(font, kMarker, markerAt, Vector2{0.0f, m.y * 0.5f}, 0.0f, size, kMarkerSpacing,
                drawColour);
}

void drawCenteredLabel(Font font, const char* text, Vector2 centre) {
    const Vector2 m = MeasureTextEx(font, text, kLabelSize, kMeasureSpacing);
    DrawTextPro(font, text, centre, Vector2{m.x * 0.5f, m.y * 0.5f}, 0.0f, kLabelSize, kTextSpacing,
                WHITE);
}

void drawLeftLabel(Font font, const char* text, Vector2 leftMiddle) {
    const Vector2 m = MeasureTextEx(font, text, kLabelSize, kMeasureSpacing);
    DrawTextPro(font, text, leftMiddle, Vector2{0.0f, m.y * 0.5f}, 0.0f, kLabelSize, kTextSpacing,
                WHITE);
}

void addMenuEntry(MenuLayout& menu, const char* text, Vector2 centre) {
    if (menu.count >= MenuLayout::kMaxEntries) {
        return;
    }
    const Font font = GetFontDefault();
    const Vector2 m = MeasureTextEx(font, text, menu.size, kMeasureSpacing);
    const Vector2 drawn = MeasureTextEx(font, text, menu.size, kTextSpacing);
    const int i = menu.count++;
    menu.texts[i] = text;
    menu.centres[i] = centre;
    menu.areas[i] =
        Rectangle{centre.x - m.x * 0.5f - kPointerMargin, centre.y - m.y * 0.5f - kPointerMargin,
                  drawn.x + 2.0f * kPointerMargin, m.y + 2.0f * kPointerMargin};
}

void drawMenu(const MenuLayout& menu, int selected, Color colour) {
    const Font font = GetFontDefault();
    for (int i = 0; i < menu.count; ++i) {
        drawMenuItem(font, menu.texts[i], menu.centres[i], i == selected, menu.size, colour);
    }
}
